// Verifying an installation: which installed files are missing or changed since.
#pragma once

#include "install_record.h"
#include "installed_file.h"

#include <string>
#include <vector>

namespace orvane {

struct FileFinding {
    std::string path;
    FileState state = FileState::Missing;
    std::string reason;                     // the system's, for Unreadable
    const ManifestFile* recorded = nullptr; // the manifest's entry, when there is one
};

// Every recorded file that is not intact. With a manifest each file's size and digest are compared;
// without one only that a regular file is there.
std::vector<FileFinding> verifyInstallation(const InstallRecord& record);

// "Datei P: fehlt" / "...: seit der Installation geändert" and so on, one line per finding;
// "Alle N Dateien sind unverändert." when there is none.
std::string verificationText(const InstallRecord& record, const std::vector<FileFinding>& findings);

} // namespace orvane
