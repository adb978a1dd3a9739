// Reading the uninstall data a script saved: its folder, file and registry sections.
#pragma once

#include "registry_store.h"

#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// A registry key as the uninstall data lists it: the root as the script wrote it, then the key.
struct ListedKey {
    Hive hive = Hive::CurrentUser;
    std::string key; // from the root, starting with "\"
};

struct UninstallData {
    std::vector<std::string> folders; // "ordner", as listed (newest first)
    std::vector<std::string> files;   // "dateien": files and shortcuts
    std::vector<ListedKey> keys;      // "registry"
};

// The sections of the saved text `text` (CR LF or LF lines); other sections are ignored.
UninstallData parseUninstallData(std::string_view text);

} // namespace orvane
