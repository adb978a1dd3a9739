// Reading whole files for the tool's verbs.
#pragma once

#include <optional>
#include <string>

namespace orvane {

// The file's bytes, or nullopt with `error` set to the system's reason.
std::optional<std::string> readWholeFile(const std::string& path, std::string& error);

} // namespace orvane
