// The shell on a Linux desktop: XDG standard folders, desktop entries, detached processes.
#pragma once

#include "shell.h"

namespace orvane {

// What LinuxShell::open() does with a file.
enum class OpenAction {
    startProgram,    // an executable file, or a bare name found on PATH
    openWithDefault, // any other existing file or folder, or an address such as https://...
    ignore,          // nothing by that name exists
};
OpenAction openActionFor(const std::string& file);

// `file` as open() uses it: a relative path or bare name that exists in `directory` is taken from
// there; anything else stays as it is (a bare name is then looked up on PATH, a relative path in
// the current folder).
std::string fileInFolder(const std::string& file, const std::string& directory);

// Standard folders come from QStandardPaths (the XDG user folders), shortcuts are desktop entries
// (desktop_entry.h), and programs start detached. Needs Qt Core only: no display, no event loop.
class LinuxShell : public Shell {
  public:
    std::string folderPath(ShellFolder folder) override;
    bool saveLink(const ShellLink& link, std::string& reason) override;
    // As openActionFor(fileInFolder(file, directory)) says: a program starts with `parameters`
    // split as a shell would split them; anything else goes to the desktop's default handler
    // (xdg-open) without the parameters.
    void open(const std::string& file, const std::string& parameters,
              const std::string& directory) override;
};

} // namespace orvane
