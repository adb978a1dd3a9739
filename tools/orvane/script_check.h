// The checks a script must pass before it is packed or a package is accepted.
#pragma once

#include <string>
#include <string_view>

namespace orvane {

// Scans and parses `text` (the script read from `file`) and checks that every function it calls is
// declared or built in. Returns the first problem as "FILE:LINE:COLUMN: MESSAGE" ("FILE: MESSAGE"
// for problems without a place), or "" when there is none.
std::string firstScriptProblem(const std::string& file, std::string_view text);

} // namespace orvane
