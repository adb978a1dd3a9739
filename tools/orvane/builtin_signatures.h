// The signature lines of docs/builtins.md, generated from the built-in catalogue.
#pragma once

#include <string>
#include <vector>

namespace orvane {

// One "### `TYPE name(TYPE param, ...)`" heading per built-in in catalogue order, then one
// "| `name` | VALUE |" row per predefined constant.
std::vector<std::string> builtinReferenceLines();

} // namespace orvane
