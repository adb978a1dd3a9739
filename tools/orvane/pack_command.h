// `orvane pack`: builds an install package from a script and the files it installs.
#pragma once

#include <string>
#include <vector>

namespace orvane {

int runPackCommand(const std::vector<std::string>& args);

} // namespace orvane
