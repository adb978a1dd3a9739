// Where the engine finds its install package: named after its own executable.
#pragma once

#include <string>

namespace orvane {

// The package path for the executable at `executablePath`: its folder, its file name
// up to and including the first ".", then "ovsp" (setup.exe and setup.beta.exe both
// give setup.ovsp). A name without a dot, the usual form on Linux, is taken whole with
// a "." added (setup gives setup.ovsp).
std::string packagePathForExecutable(const std::string& executablePath);

} // namespace orvane
