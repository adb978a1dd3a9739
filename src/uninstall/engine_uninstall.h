// The engine's --uninstall: with a window on a desktop, headless on a terminal without one.
#pragma once

#include <optional>
#include <string>

namespace orvane {

struct UninstallRequest {
    std::string uninstallData;
    bool yes = false;
};

// "--uninstall P" with an optional "--yes" anywhere on the command line; nullopt without
// --uninstall (then the engine runs its package as usual).
std::optional<UninstallRequest> uninstallRequest(int argc, const char* const* argv);

// Uninstalls what the uninstall data at `uninstallData` records. Without a display (neither
// DISPLAY nor WAYLAND_DISPLAY set) it runs headless and prints the result on stdout, asking on
// the terminal unless `yes`; otherwise it shows the confirmation (skipped with `yes`), progress
// and result pages. Returns the exit status (see runTerminalUninstall).
int runEngineUninstall(int argc, char** argv, const std::string& uninstallData, bool yes);

} // namespace orvane
