// Removing files, links, folders, registry values and keys as the judged steps say.
#include "uninstall_run.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace orvane {

namespace {

void fail(UninstallStep& step, std::string reason) {
    step.verdict = Verdict::Fail;
    step.reason = std::move(reason);
}

void unlinkPath(UninstallStep& step, std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    if (::unlink(path.c_str()) == 0)
        return;
    if (errno == ENOENT)
        step.verdict = Verdict::Missing;
    else
        fail(step, std::strerror(errno));
}

void removeFolder(UninstallStep& step) {
    if (::rmdir(step.subject.c_str()) == 0) {
        step.verdict = Verdict::Remove;
    } else if (errno == ENOTEMPTY || errno == EEXIST) {
        step.verdict = Verdict::Keep;
        step.reason = "nicht leer";
    } else if (errno == ENOENT) {
        step.verdict = Verdict::Missing;
    } else {
        fail(step, std::strerror(errno));
    }
}

// The value goes back to what the installation replaced, or away when it was new; a value
// changed since (even in the moment between judging and now) is kept.
void undoValue(UninstallStep& step, UninstallContext& context) {
    const ManifestValue& value = step.value;
    const auto found = context.registry.replaceStringIf(value.hive, value.key, value.name,
                                                        value.data, value.previous);
    if (!found.ok())
        return fail(step, found.error);
    if (!*found.value) {
        step.verdict = Verdict::Missing;
    } else if (**found.value != value.data) {
        step.verdict = Verdict::Keep;
        step.reason = "seit der Installation geändert";
    }
}

void removeKey(UninstallStep& step, UninstallContext& context) {
    const auto removed = context.registry.deleteKeyIfEmpty(step.key.hive, step.key.key);
    if (!removed.ok())
        return fail(step, removed.error);
    step.verdict = *removed.value ? Verdict::Remove : Verdict::Keep;
    step.reason = *removed.value ? "" : "nicht leer";
}

void carryOut(UninstallStep& step, UninstallContext& context) {
    switch (step.verdict) {
    case Verdict::Remove:
    case Verdict::RemoveLink:
        if (step.kind == StepKind::RegistryValue)
            return undoValue(step, context);
        return unlinkPath(step, step.subject);
    case Verdict::Restore:
        return undoValue(step, context);
    case Verdict::RemoveIfEmpty:
        if (step.kind == StepKind::RegistryKey)
            return removeKey(step, context);
        return removeFolder(step);
    case Verdict::Keep:
    case Verdict::Missing:
    case Verdict::Refuse:
    case Verdict::Fail:
        return;
    }
}

} // namespace

bool anyFailed(const UninstallPlan& plan) {
    return std::any_of(plan.steps.begin(), plan.steps.end(),
                       [](const UninstallStep& step) { return step.verdict == Verdict::Fail; });
}

int carryOutUninstall(UninstallPlan& plan, UninstallContext& context,
                      const UninstallProgress& progress) {
    bool failed = false;
    for (std::size_t i = 0; i < plan.steps.size(); ++i) {
        UninstallStep& step = plan.steps[i];
        if (step.kind == StepKind::UninstallData && failed) {
            step.verdict = Verdict::Keep;
            step.reason = "für einen neuen Versuch";
        } else {
            judgeStep(step, plan, context);
            carryOut(step, context);
        }
        failed = failed || step.verdict == Verdict::Fail;
        if (progress)
            progress(i + 1, plan.steps.size(), step);
    }
    return failed ? 1 : 0;
}

} // namespace orvane
