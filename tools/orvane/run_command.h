// `orvane run`: runs an install package (or a bare script) headless and prints a transcript.
#pragma once

#include <string>
#include <vector>

namespace orvane {

int runRunCommand(const std::vector<std::string>& args);

} // namespace orvane
