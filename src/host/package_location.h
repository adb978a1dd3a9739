// Where the engine finds its install package: named after its own executable.
#pragma once

#include <string>
#include <string_view>

namespace orvane {

// The package path for the executable at `executablePath`: its folder, its file name
// up to and including the first ".", then "ovsp" (setup.exe and setup.beta.exe both
// give setup.ovsp). A name without a dot, the usual form on Linux, is taken whole with
// a "." added (setup gives setup.ovsp).
std::string packagePathForExecutable(const std::string& executablePath);

// True when a regular file stands at `path` (links followed). Any error examining it (a
// loop of links, a folder the user may not enter, a name too long) counts as no file.
bool packageFileExists(const std::string& path) noexcept;

// `path` made absolute against the current folder, or unchanged when that is unknown.
std::string absolutePath(const std::string& path);

// The path the executable was started as, which names its package. An `argv0` holding a
// "/" is that path (a renamed copy or a link), made absolute. A bare name is looked up
// in the folders of `searchPath` (the PATH variable, an empty entry meaning the current
// folder) as the shell found it: the first executable regular file of that name, if it
// is the file `self` names. Otherwise the file `self` names: with "/proc/self/exe", the
// file the kernel ran.
std::string startedExecutablePath(std::string_view argv0, std::string_view searchPath,
                                  const std::string& self);

} // namespace orvane
