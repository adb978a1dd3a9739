// The shell on a Linux desktop: XDG standard folders, desktop entries, detached processes.
#pragma once

#include "shell.h"

namespace orvane {

// Standard folders come from QStandardPaths (the XDG user folders), shortcuts are desktop entries
// (desktop_entry.h), and programs start detached. Needs Qt Core only: no display, no event loop.
class LinuxShell : public Shell {
  public:
    std::string folderPath(ShellFolder folder) override;
    bool saveLink(const ShellLink& link, std::string& reason) override;
    // An executable file (a path, or a bare name found on PATH) starts with `parameters` split as a
    // shell would split them; any other existing file or folder, and an address such as
    // https://..., goes to the desktop's default handler (xdg-open). A file that does not exist is
    // ignored.
    void open(const std::string& file, const std::string& parameters,
              const std::string& directory) override;
};

} // namespace orvane
