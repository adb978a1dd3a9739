// Listing the sub-folders of a folder.
#pragma once

#include <string>
#include <vector>

namespace orvane {

// The names of the visible sub-folders of `folder` (links to folders included, names starting
// with "." left out), sorted by their bytes so that the result does not depend on the file
// system's order. Empty when the folder is missing or cannot be read.
std::vector<std::string> visibleSubFolders(const std::string& folder);

} // namespace orvane
