// `orvane check`: syntax check of a script file, with token and tree dumps.
#pragma once

#include <string>
#include <vector>

namespace orvane {

int runCheckCommand(const std::vector<std::string>& args);

} // namespace orvane
