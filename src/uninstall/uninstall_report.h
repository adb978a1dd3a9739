// The plan and the result of an uninstall as text (German, one line per step) and as JSON.
#pragma once

#include "uninstall_plan.h"

#include <string>

namespace orvane {

// The note a plan without manifest carries: nothing can be compared with what was installed.
inline constexpr const char* kNoDigestsNote =
    "Kein Manifest vorhanden: keine Prüfsummen, die aufgeführten Dateien und Ordner werden ohne "
    "Vergleich entfernt.";

// One step as a line, e.g. "Datei /opt/app/a.txt: behalten (seit der Installation geändert)";
// `done` chooses the past ("entfernt") over the plan ("wird entfernt").
std::string stepLine(const UninstallStep& step, bool done);

// The whole plan or result: a heading, the no-manifest note where it applies, a line per step
// (indented by two spaces) and, when `done`, a summary line.
std::string uninstallText(const UninstallPlan& plan, bool done);

// The steps that were kept, refused or failed, each with its reason: what a user must look at.
std::string keptText(const UninstallPlan& plan);

// {"uninstallData", "manifest", "dryRun", "steps": [{"kind", "path", "verdict", "reason"}],
//  "exitCode"} on one line.
std::string uninstallJson(const UninstallPlan& plan, bool dryRun, int exitCode);

} // namespace orvane
