// The engine's --uninstall: with a window on a desktop, headless on a terminal without one.
#pragma once

#include <string>

namespace orvane {

// Uninstalls what the uninstall data at `uninstallData` records. Without a display (neither
// DISPLAY nor WAYLAND_DISPLAY set) it runs headless and prints the result on stdout, asking on
// the terminal unless `yes`; otherwise it shows the confirmation (skipped with `yes`), progress
// and result pages. Returns the exit status (see runTerminalUninstall).
int runEngineUninstall(int argc, char** argv, const std::string& uninstallData, bool yes);

} // namespace orvane
