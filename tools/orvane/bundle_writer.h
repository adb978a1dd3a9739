// Writing a bundle file: the launcher, the compressed files, their index and the trailer.
#pragma once

#include "bundle_contents.h"
#include "bundle_layout.h"

#include <string>
#include <vector>

namespace orvane {

// Writes the bundle of `items` to `output` (through `output`.part, renamed when complete, mode
// 0755). `index` gives version, engine and package; its files are filled in from `items`. `level`
// is the zstd compression level. Throws std::runtime_error.
void writeBundle(const std::string& output, const std::string& launcher,
                 const std::vector<BundleItem>& items, bundle::Index index, int level);

} // namespace orvane
