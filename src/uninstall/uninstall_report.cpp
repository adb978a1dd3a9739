// Texts and JSON of uninstall plans and results.
#include "uninstall_report.h"

#include "json_output.h"

#include <array>

namespace orvane {

namespace {

struct KindNames {
    StepKind kind;
    const char* label; // in the lines
    const char* json;
};

constexpr std::array<KindNames, 6> kKinds = {{
    {StepKind::Shortcut, "Verknüpfung", "shortcut"},
    {StepKind::File, "Datei", "file"},
    {StepKind::RegistryValue, "Registry-Wert", "registryValue"},
    {StepKind::RegistryKey, "Registry-Schlüssel", "registryKey"},
    {StepKind::Folder, "Ordner", "folder"},
    {StepKind::UninstallData, "Deinstallationsdaten", "uninstallData"},
}};

struct VerdictNames {
    Verdict verdict;
    const char* planned;
    const char* done;
    const char* json;
};

constexpr std::array<VerdictNames, 8> kVerdicts = {{
    {Verdict::Remove, "wird entfernt", "entfernt", "removed"},
    {Verdict::RemoveLink, "symbolische Verknüpfung wird entfernt (Ziel bleibt)",
     "symbolische Verknüpfung entfernt (Ziel unberührt)", "linkRemoved"},
    {Verdict::RemoveIfEmpty, "wird entfernt, wenn leer", "wird entfernt, wenn leer",
     "removedIfEmpty"},
    {Verdict::Restore, "erhält den vorherigen Wert zurück", "vorheriger Wert wiederhergestellt",
     "restored"},
    {Verdict::Keep, "wird behalten", "behalten", "kept"},
    {Verdict::Missing, "fehlt bereits", "fehlt bereits", "missing"},
    {Verdict::Refuse, "verweigert", "verweigert", "refused"},
    {Verdict::Fail, "Fehler", "Fehler", "failed"},
}};

const KindNames& namesOf(StepKind kind) {
    for (const auto& names : kKinds) {
        if (names.kind == kind)
            return names;
    }
    return kKinds[1];
}

const VerdictNames& namesOf(Verdict verdict) {
    for (const auto& names : kVerdicts) {
        if (names.verdict == verdict)
            return names;
    }
    return kVerdicts.back();
}

bool needsAttention(Verdict verdict) {
    return verdict == Verdict::Keep || verdict == Verdict::Refuse || verdict == Verdict::Fail;
}

std::string summary(const UninstallPlan& plan) {
    int kept = 0, failed = 0, done = 0;
    for (const UninstallStep& step : plan.steps) {
        failed += step.verdict == Verdict::Fail;
        kept += step.verdict == Verdict::Keep || step.verdict == Verdict::Refuse;
        done += !needsAttention(step.verdict);
    }
    return "Ergebnis: " + std::to_string(done) + " erledigt, " + std::to_string(kept) +
           " behalten, " + std::to_string(failed) + " Fehler.\n";
}

} // namespace

std::string stepLine(const UninstallStep& step, bool done) {
    const VerdictNames& verdict = namesOf(step.verdict);
    std::string line = std::string(namesOf(step.kind).label) + " " + step.subject + ": " +
                       (done ? verdict.done : verdict.planned);
    if (!step.reason.empty())
        line += " (" + step.reason + ")";
    return line;
}

std::string uninstallText(const UninstallPlan& plan, bool done) {
    std::string text = done ? "Deinstallation nach " + plan.uninstallData + ":\n"
                            : "Plan der Deinstallation nach " + plan.uninstallData +
                                  " (Probelauf, nichts wird geändert):\n";
    if (!plan.hasManifest)
        text += std::string(kNoDigestsNote) + "\n";
    for (const UninstallStep& step : plan.steps)
        text += "  " + stepLine(step, done) + "\n";
    return done ? text + summary(plan) : text;
}

std::string keptText(const UninstallPlan& plan) {
    std::string text;
    for (const UninstallStep& step : plan.steps) {
        if (needsAttention(step.verdict))
            text += stepLine(step, true) + "\n";
    }
    return text;
}

std::string uninstallJson(const UninstallPlan& plan, bool dryRun, int exitCode) {
    std::string json = "{\"uninstallData\":" + jsonString(plan.uninstallData) +
                       ",\"manifest\":" + (plan.hasManifest ? "true" : "false") +
                       ",\"dryRun\":" + (dryRun ? "true" : "false") + ",\"steps\":[";
    for (std::size_t i = 0; i < plan.steps.size(); ++i) {
        const UninstallStep& step = plan.steps[i];
        json += std::string(i == 0 ? "" : ",") + "{\"kind\":\"" + namesOf(step.kind).json +
                "\",\"path\":" + jsonString(step.subject) + ",\"verdict\":\"" +
                namesOf(step.verdict).json + "\",\"reason\":" + jsonString(step.reason) + "}";
    }
    return json + "],\"exitCode\":" + std::to_string(exitCode) + "}\n";
}

} // namespace orvane
