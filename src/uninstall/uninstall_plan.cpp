// Planning an uninstall: the steps in their order, each judged against the disk and registry.
#include "uninstall_plan.h"

#include "install_record.h"
#include "installed_file.h"
#include "path_safety.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <set>
#include <sys/stat.h>

namespace orvane {

namespace {

constexpr const char* kChanged = "seit der Installation geändert";

std::string slashes(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

std::size_t depth(std::string_view text, char separator) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), separator));
}

UninstallStep pathStep(StepKind kind, std::string path) {
    UninstallStep step;
    step.kind = kind;
    step.subject = std::move(path);
    return step;
}

// Shortcuts and files: the manifest's with their digests, newest first, then those only the
// uninstall data lists (written by the script itself, or all of them when there is no manifest).
void addFileSteps(UninstallPlan& plan, const InstallManifest& manifest, const UninstallData& data) {
    std::set<std::string> known;
    for (auto link = manifest.shortcuts.rbegin(); link != manifest.shortcuts.rend(); ++link) {
        plan.steps.push_back(pathStep(StepKind::Shortcut, link->path));
        known.insert(link->path);
    }
    for (auto file = manifest.files.rbegin(); file != manifest.files.rend(); ++file) {
        plan.steps.push_back(pathStep(StepKind::File, file->path));
        plan.steps.back().recorded = *file;
        known.insert(file->path);
    }
    for (const std::string& listed : data.files) {
        if (known.insert(slashes(listed)).second)
            plan.steps.push_back(pathStep(StepKind::File, slashes(listed)));
    }
}

void addRegistrySteps(UninstallPlan& plan, const InstallManifest& manifest,
                      const UninstallData& data) {
    for (auto value = manifest.values.rbegin(); value != manifest.values.rend(); ++value) {
        UninstallStep step = pathStep(StepKind::RegistryValue, registryValueText(*value));
        step.value = *value;
        plan.steps.push_back(std::move(step));
    }
    // Only keys this installation created; without a manifest the uninstall data's list is all
    // there is. Either way a key goes only when empty, deepest first.
    std::vector<ManifestKey> keys = manifest.keysCreated;
    if (!plan.hasManifest) {
        for (const ListedKey& listed : data.keys)
            keys.push_back({listed.hive, listed.key});
    }
    std::stable_sort(keys.begin(), keys.end(), [](const ManifestKey& a, const ManifestKey& b) {
        return depth(a.key, '\\') > depth(b.key, '\\');
    });
    for (const ManifestKey& key : keys) {
        UninstallStep step = pathStep(StepKind::RegistryKey, registryKeyText(key.hive, key.key));
        step.key = key;
        plan.steps.push_back(std::move(step));
    }
}

bool holds(std::string_view folder, std::string_view path) {
    return path.size() > folder.size() && path.starts_with(folder);
}

// Folders innermost first; those holding the uninstall data come after it.
void addFolderAndDataSteps(UninstallPlan& plan) {
    std::vector<std::string> folders = plan.installedFolders;
    std::stable_sort(folders.begin(), folders.end(),
                     [](const auto& a, const auto& b) { return depth(a, '/') > depth(b, '/'); });
    for (const std::string& folder : folders) {
        if (!holds(folder, plan.uninstallData))
            plan.steps.push_back(pathStep(StepKind::Folder, folder));
    }
    plan.steps.push_back(pathStep(StepKind::UninstallData, plan.uninstallData));
    plan.steps.push_back(pathStep(StepKind::UninstallData, plan.manifestPath));
    for (const std::string& folder : folders) {
        if (holds(folder, plan.uninstallData))
            plan.steps.push_back(pathStep(StepKind::Folder, folder));
    }
}

std::vector<std::string> installedFolders(const InstallManifest& manifest,
                                          const UninstallData& data) {
    std::vector<std::string> folders = manifest.folders;
    for (const std::string& listed : data.folders) {
        if (std::find(folders.begin(), folders.end(), slashes(listed)) == folders.end())
            folders.push_back(slashes(listed));
    }
    return folders;
}

// ---------------------------------------------------------------- judging

void judge(UninstallStep& step, Verdict verdict, std::string reason = {}) {
    step.verdict = verdict;
    step.reason = std::move(reason);
}

void judgeFile(UninstallStep& step, const UninstallPlan& plan, UninstallContext& context) {
    if (std::string refusal = refusalReason(step.subject, context.protectedFolders);
        !refusal.empty())
        return judge(step, Verdict::Refuse, refusal);
    if (passesThroughInstalledLink(step.subject, plan.installedFolders))
        return judge(step, Verdict::Keep, "liegt hinter einer symbolischen Verknüpfung");
    std::string reason;
    switch (installedFileState(step.subject, step.recorded ? &*step.recorded : nullptr, reason)) {
    case FileState::Intact:
        return judge(step, Verdict::Remove);
    case FileState::Missing:
        return judge(step, Verdict::Missing);
    case FileState::Link:
        return judge(step, Verdict::RemoveLink);
    case FileState::NotRegular:
        return judge(step, Verdict::Keep, "keine reguläre Datei");
    case FileState::Changed:
        return judge(step, Verdict::Keep, kChanged);
    case FileState::Unreadable:
        return judge(step, Verdict::Fail, reason);
    }
}

void judgeFolder(UninstallStep& step, const UninstallPlan& plan, UninstallContext& context) {
    if (std::string refusal = refusalReason(step.subject, context.protectedFolders);
        !refusal.empty())
        return judge(step, Verdict::Refuse, refusal);
    std::string bare = step.subject;
    while (bare.size() > 1 && bare.back() == '/')
        bare.pop_back();
    if (passesThroughInstalledLink(bare, plan.installedFolders))
        return judge(step, Verdict::Keep, "liegt hinter einer symbolischen Verknüpfung");
    struct stat info {};
    if (::lstat(bare.c_str(), &info) != 0)
        return errno == ENOENT ? judge(step, Verdict::Missing)
                               : judge(step, Verdict::Fail, std::strerror(errno));
    if (S_ISLNK(info.st_mode))
        return judge(step, Verdict::RemoveLink);
    if (!S_ISDIR(info.st_mode))
        return judge(step, Verdict::Keep, "kein Ordner");
    judge(step, Verdict::RemoveIfEmpty);
}

void judgeValue(UninstallStep& step, UninstallContext& context) {
    const ManifestValue& value = step.value;
    const auto current = context.registry.readString(value.hive, value.key, value.name);
    if (!current.ok())
        return judge(step, Verdict::Fail, current.error);
    if (!*current.value)
        return judge(step, Verdict::Missing);
    if (**current.value != value.data)
        return judge(step, Verdict::Keep, kChanged);
    judge(step, value.previous ? Verdict::Restore : Verdict::Remove);
}

void judgeKey(UninstallStep& step, UninstallContext& context) {
    const auto exists = context.registry.keyExists(step.key.hive, step.key.key);
    if (!exists.ok())
        return judge(step, Verdict::Fail, exists.error);
    judge(step, *exists.value ? Verdict::RemoveIfEmpty : Verdict::Missing);
}

void judgeData(UninstallStep& step) {
    struct stat info {};
    judge(step, ::lstat(step.subject.c_str(), &info) == 0 ? Verdict::Remove : Verdict::Missing);
}

} // namespace

std::string registryKeyText(Hive hive, std::string_view key) {
    std::string text(hiveName(hive));
    if (!key.empty() && key != "\\")
        text.append(key.starts_with('\\') ? "" : "\\").append(key);
    return text;
}

std::string registryValueText(const ManifestValue& value) {
    return registryKeyText(value.hive, value.key) + "\\" +
           (value.name.empty() ? std::string("(Standard)") : value.name);
}

void judgeStep(UninstallStep& step, const UninstallPlan& plan, UninstallContext& context) {
    switch (step.kind) {
    case StepKind::Shortcut:
    case StepKind::File:
        return judgeFile(step, plan, context);
    case StepKind::Folder:
        return judgeFolder(step, plan, context);
    case StepKind::RegistryValue:
        return judgeValue(step, context);
    case StepKind::RegistryKey:
        return judgeKey(step, context);
    case StepKind::UninstallData:
        return judgeData(step);
    }
}

std::optional<UninstallPlan> planUninstall(const std::string& uninstallData,
                                           UninstallContext& context, std::string& error) {
    const auto record = loadInstallRecord(uninstallData, error);
    if (!record)
        return std::nullopt;
    UninstallPlan plan;
    plan.uninstallData = record->uninstallData;
    plan.manifestPath = record->manifestPath;
    plan.hasManifest = record->manifest.has_value();
    const InstallManifest manifest = record->manifest.value_or(InstallManifest{});
    plan.installedFolders = installedFolders(manifest, record->listed);
    addFileSteps(plan, manifest, record->listed);
    addRegistrySteps(plan, manifest, record->listed);
    addFolderAndDataSteps(plan);
    for (UninstallStep& step : plan.steps)
        judgeStep(step, plan, context);
    return plan;
}

} // namespace orvane
