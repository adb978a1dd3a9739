// Shortcuts as freedesktop desktop entries.
#pragma once

#include "shell.h"

#include <string>

namespace orvane {

// The text of the desktop entry for `link`: Type=Application, Name = the shortcut file's name
// without its extension, Exec = the quoted target followed by the arguments, Path = the working
// folder, Comment = the description. Values are escaped so that no text can add lines or keys.
std::string desktopEntryText(const ShellLink& link);

// Writes desktopEntryText(link) to exactly `link.file` with mode 0755, replacing any file there in
// one step. False with the system's reason when it cannot be written.
bool writeDesktopEntry(const ShellLink& link, std::string& reason);

} // namespace orvane
