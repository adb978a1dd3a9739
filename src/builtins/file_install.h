// Writing the package's embedded files and shortcuts to disk, with every folder, file and shortcut
// recorded in the uninstall list at the moment it is created.
//
// Paths arrive as scripts write them ("\" and "/" both separate folders) and are used and recorded
// with "/" only. Folders are created 0755 and files 0644 (0755 for programs) whatever the umask;
// a replaced file keeps its mode. A symbolic link at the target is replaced, not written through;
// a target that is neither a regular file nor a link, and a path holding a line break, are refused
// with the reason "Keine reguläre Datei". Failures raise ScriptError with the file error "Datei P
// kann nicht erstellt werden. REASON", P the path with "/" and REASON the system's text. Nothing
// created before a failure is removed: folders made on the way stay, and stay recorded.
#pragma once

#include "builtin_services.h"
#include "shell.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace orvane {

class UninstallList;

// The uninstall-list sections of created folders and of written files and shortcuts.
inline constexpr std::string_view kFolderSection = "ordner";
inline constexpr std::string_view kFileSection = "dateien";

// The description every shortcut carries.
inline constexpr std::string_view kLinkDescription = "Verknüpfung";

// The folder part of `path` (which uses "/"): everything up to and including its last "/", or ""
// when it has none.
std::string folderPart(std::string_view path);

// Creates every missing folder along `path` (which uses "/"): for each "/" in it, the prefix up to
// and including that "/". The part after the last "/" is never created. Each folder created is
// recorded under "ordner" as that prefix, outermost first, so the list shows the innermost on top,
// and in the manifest in the order made.
// Returns false with the system's reason at the first folder that cannot be created.
bool createFolderPath(std::string_view path, UninstallList& list, std::string& reason);

// A file that installFile wrote: its path with "/", its size and the SHA-256 of its bytes.
struct InstalledFile {
    std::string path;
    std::uint64_t bytes = 0;
    std::string sha256;
};

// installFile(s1, s2): decodes the Base64 text at package path `s1` piece by piece into a temporary
// file beside `s2`, then renames it over `s2`. A lookup error raises before anything is created.
// The folders along `s2` are created first. A file that starts like a program (an ELF header or
// "#!") is made executable. `betweenPieces`, when set, is called after each piece. Records `s2`
// under "dateien" once it is complete, and in the manifest with its size, digest and mode. When the
// package's checks fail while the bytes stream in, the error raises, the temporary file is removed
// and `s2` stays as it was.
InstalledFile installFile(const PackageAccess& package, UninstallList& list, std::string_view s1,
                          std::string_view s2, const PaintBetweenChunks& betweenPieces);

// createLink(s1, s2): creates the folders along `s1`, writes the shortcut `s1` to the target `s2`
// (no arguments, the description "Verknüpfung", the target's folder as working folder) and records
// `s1` under "dateien" and as a shortcut in the manifest. Returns the shortcut as written.
ShellLink createLink(Shell& shell, UninstallList& list, std::string_view s1, std::string_view s2);

} // namespace orvane
