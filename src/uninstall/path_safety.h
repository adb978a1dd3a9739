// What an uninstall may never touch: the file-system root, home folders, the desktop's standard
// folders and the system's own folders; and paths that would lead out of an installed folder.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvane {

class Shell;

// Folders that are refused when an uninstall lists them (without a trailing "/"): "/", the
// system's top-level folders, every user's home folder, and the shell's standard folders (desktop,
// documents, start menu) with the user's data and configuration folders.
std::vector<std::string> protectedFolders(Shell& shell);

// Why `path` may not be touched, or "" when it may: it is not absolute, holds a "." or ".."
// component, or names one of `protectedFolders`.
std::string refusalReason(std::string_view path, const std::vector<std::string>& protectedFolders);

// Whether reaching `path` would pass through a symbolic link that stands inside, or in place of,
// one of `installedFolders` (each ending with "/"): such a link was not there when the files were
// installed, and following it could lead anywhere.
bool passesThroughInstalledLink(std::string_view path,
                                const std::vector<std::string>& installedFolders);

} // namespace orvane
