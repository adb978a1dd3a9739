// Loading what an installation recorded: the uninstall data and, beside it, its manifest.
#pragma once

#include "install_manifest.h"
#include "uninstall_data.h"

#include <optional>
#include <string>

namespace orvane {

struct InstallRecord {
    std::string uninstallData; // absolute, with "/"
    std::string manifestPath;
    std::optional<InstallManifest> manifest; // none for older installs and hand-made lists
    UninstallData listed;                    // empty when only the manifest is left
};

// The record for the uninstall data at `path`; nullopt with `error` (German) when neither file
// exists, one cannot be read, or the manifest is damaged.
std::optional<InstallRecord> loadInstallRecord(const std::string& path, std::string& error);

} // namespace orvane
