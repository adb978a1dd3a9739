// Repairing an installation: missing or changed files written again from the install package.
#pragma once

#include "install_record.h"

#include <string>
#include <vector>

namespace orvane {

class PackageAccess;

// Each file that verifyInstallation reports is written again from the package element whose
// SHA-256 equals the manifest's ("sha256" when the element has it, else its decoded bytes), with
// the recorded mode; the new content is checked against the digest before it replaces anything.
// Files behind a symbolic link in an installed folder, or at a protected path, are left alone.
// The manifest is written again with the time of the repair. Appends a line per file to `report`
// and returns 0 when every file could be repaired, 1 otherwise.
int repairInstallation(InstallRecord& record, const PackageAccess& package,
                       const std::vector<std::string>& protectedFolders, std::string& report);

} // namespace orvane
