// Helpers shared by the built-ins.
#pragma once

#include <string>
#include <string_view>

namespace orvane {

// A script's path for the file system: "\" and "/" both separate folders.
std::string nativePath(std::string_view path);

} // namespace orvane
