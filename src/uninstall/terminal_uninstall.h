// An uninstall, verify or dry run for a terminal or a script: what `orvane uninstall` does and
// what the engine does with --uninstall when there is no display.
#pragma once

#include "uninstall_plan.h"

#include <iosfwd>
#include <string>

namespace orvane {

// Exit status of an uninstall that the user declined at the confirmation.
inline constexpr int kUninstallCancelled = 4;

struct UninstallOptions {
    std::string uninstallData;
    bool dryRun = false; // print the plan, change nothing
    bool yes = false;    // no confirmation
    bool json = false;   // one JSON object on stdout instead of the text
    bool verify = false; // list the files missing or changed since installation
};

// Runs what `options` ask for. Without `yes` (and unless it is a dry run or a verify) the plan is
// shown and "j" or "ja" read from `in` confirms; anything else cancels. Returns 0 when everything
// recorded is gone or kept for a stated reason (verify: every file intact), 1 on an error (verify:
// a file missing or changed), kUninstallCancelled when declined.
int runTerminalUninstall(const UninstallOptions& options, UninstallContext& context,
                         std::istream& in, std::ostream& out, std::ostream& err);

} // namespace orvane
