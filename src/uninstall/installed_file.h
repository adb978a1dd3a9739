// How an installed file stands now compared with what the manifest recorded.
#pragma once

#include "install_manifest.h"

#include <string>

namespace orvane {

enum class FileState {
    Intact,     // a regular file of the recorded size and digest (or any regular file, unrecorded)
    Missing,    // nothing at the path
    Link,       // a symbolic link stands at the path
    NotRegular, // a folder, device, pipe or socket
    Changed,    // a regular file whose size or digest differs
    Unreadable, // it could not be examined; `reason` says why
};

// How a state reads in texts ("fehlt", "seit der Installation geändert", ...) and in JSON
// ("missing", "changed", ...).
const char* fileStateText(FileState state);
const char* fileStateJson(FileState state);

// Never follows a symbolic link at the path itself. Without `recorded` only the kind is checked.
FileState installedFileState(const std::string& path, const ManifestFile* recorded,
                             std::string& reason);

} // namespace orvane
