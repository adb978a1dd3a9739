// The one error type of the launcher: its text is shown on stderr and the launcher ends with 1.
#pragma once

#include <stdexcept>
#include <string>

namespace orvane::bundle {

class LauncherError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// "TEXT: PATH (REASON)"; the launcher's messages all name the file or folder they concern.
inline LauncherError launcherError(const std::string& text, const std::string& path,
                                   const std::string& reason) {
    return LauncherError(text + ": " + path + " (" + reason + ")");
}

} // namespace orvane::bundle
