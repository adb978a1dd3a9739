// Reading whole files for the tool's verbs.
#pragma once

#include <optional>
#include <string>

namespace orvane {

// The file's bytes, or nullopt with `error` set to the system's reason.
std::optional<std::string> readWholeFile(const std::string& path, std::string& error);

// A script file's text as UTF-8, without its byte-order mark, decoded as the engine decodes a
// package: by the mark (UTF-8, UTF-16 LE or BE), else as UTF-8 when valid, else as Windows-1252.
// nullopt with `error` set to the system's reason when it cannot be read.
std::optional<std::string> readScriptFile(const std::string& path, std::string& error);

} // namespace orvane
