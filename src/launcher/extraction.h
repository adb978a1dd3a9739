// Extracting a bundle's payload into the user's cache, once, and checking it on later starts.
#pragma once

#include "bundle_file.h"

#include <string>

namespace orvane::bundle {

// $XDG_CACHE_HOME/orvane/bundles (when absolute), else ~/.cache/orvane/bundles.
std::string bundleCacheFolder();

// Whether `folder` holds every file of `index` with its size and executable bit.
bool treeMatches(const std::string& folder, const Index& index);

// The folder the bundle's files are extracted to, CACHE/<first 16 hex digits of the payload hash>,
// after extracting them when they are not there or do not match the index. Extraction goes into
// CACHE/<hex>.part under an exclusive lock on CACHE/<hex>.lock and is renamed when complete, so
// concurrent starts wait for one another and a killed start leaves no half tree behind.
std::string extractedFolder(const BundleFile& bundle);

} // namespace orvane::bundle
