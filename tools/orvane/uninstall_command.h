// `orvane uninstall` and `orvane repair`: removing, verifying and repairing an installation.
#pragma once

#include <string>
#include <vector>

namespace orvane {

// `orvane uninstall P [--dry-run] [--yes] [--json] [--verify]`.
int runUninstallCommand(const std::vector<std::string>& args);

// `orvane repair P PACKAGE.ovsp`.
int runRepairCommand(const std::vector<std::string>& args);

} // namespace orvane
