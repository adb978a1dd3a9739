// `orvane uninstall` and `orvane repair`: removing, verifying and repairing an installation.
#pragma once

namespace CLI {
class App;
}

namespace orvane {

// Adds `uninstall P [--dry-run] [--yes] [--json] [--verify]`; when chosen it runs on this user's
// registry store and desktop and leaves its exit status in `status`.
void addUninstallCommand(CLI::App& orvane, int& status);

// Adds `repair P PACKAGE.ovsp`.
void addRepairCommand(CLI::App& orvane, int& status);

} // namespace orvane
