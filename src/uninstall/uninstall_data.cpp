// The uninstall data's sections, read back line by line.
#include "uninstall_data.h"

namespace orvane {

namespace {

// "HKEY_LOCAL_MACHINE\\Software\Foo": the root chosen as writeRegistryString chose it, the rest
// (from the second "\") is the key.
ListedKey listedKey(std::string_view entry) {
    const std::size_t cut = entry.find('\\');
    const std::string_view root = entry.substr(0, cut);
    const std::string key(cut == std::string_view::npos ? "" : entry.substr(cut + 1));
    return {root == "HKEY_LOCAL_MACHINE" ? Hive::LocalMachine : Hive::CurrentUser, key};
}

} // namespace

UninstallData parseUninstallData(std::string_view text) {
    UninstallData data;
    std::string_view section;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
            continue;
        }
        if (line.empty())
            continue;
        if (section == "ordner")
            data.folders.emplace_back(line);
        else if (section == "dateien")
            data.files.emplace_back(line);
        else if (section == "registry")
            data.keys.push_back(listedKey(line));
    }
    return data;
}

} // namespace orvane
