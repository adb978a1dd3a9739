// Replacing a file's whole content so that a crash never leaves it half written.
#pragma once

#include <string>
#include <string_view>

namespace orvane {

// Writes `content` to a new file in the target's folder, flushes it to disk and renames it over
// `path`. An existing target keeps its permissions (and its owner where the process may set it);
// a symbolic link at `path` has the file it points to replaced. Returns false with `reason` set to
// the system's error text when the file cannot be created or written; the target is then untouched.
bool replaceFileContent(const std::string& path, std::string_view content, std::string& reason);

} // namespace orvane
