// The `orvane` command line: its commands, help, version and usage errors.
#pragma once

#include <string>
#include <vector>

namespace orvane {

// Runs `orvane` with `args` (the words after the program name) and returns the exit status:
// the chosen command's, 0 for help and version, 2 for a usage error (reported on stderr).
int runOrvane(const std::vector<std::string>& args);

} // namespace orvane
