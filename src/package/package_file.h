// Loading the install package file: read, decode by byte-order mark, parse.
#pragma once

#include "json_reader.h"

#include <string>

namespace orvane {

// The package at `path` as a document, or none and the reason: the system's
// error text when the file cannot be read, the parser's when it is no JSON.
LoadedJson loadPackageFile(const std::string& path);

} // namespace orvane
