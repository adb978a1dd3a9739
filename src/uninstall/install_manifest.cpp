// Recording into the install manifest.
#include "install_manifest.h"

#include <algorithm>
#include <ctime>

namespace orvane {

namespace {

// Replaces the entry `same` finds, or appends `item` when there is none.
template <typename Item, typename Same>
void replaceOrAppend(std::vector<Item>& items, Item item, Same same) {
    const auto found = std::find_if(items.begin(), items.end(), same);
    if (found != items.end())
        *found = std::move(item);
    else
        items.push_back(std::move(item));
}

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool sameRegistryName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

void InstallManifest::recordFile(ManifestFile file) {
    const std::string path = file.path;
    replaceOrAppend(files, std::move(file),
                    [&](const ManifestFile& old) { return old.path == path; });
}

void InstallManifest::recordFolder(std::string path) {
    folders.push_back(std::move(path));
}

void InstallManifest::recordShortcut(ManifestShortcut shortcut) {
    const std::string path = shortcut.path;
    replaceOrAppend(shortcuts, std::move(shortcut),
                    [&](const ManifestShortcut& old) { return old.path == path; });
}

void InstallManifest::recordValue(ManifestValue value) {
    const auto same = [&](const ManifestValue& old) {
        return old.hive == value.hive && sameRegistryName(old.key, value.key) &&
               sameRegistryName(old.name, value.name);
    };
    const auto found = std::find_if(values.begin(), values.end(), same);
    if (found != values.end())
        found->data = std::move(value.data);
    else
        values.push_back(std::move(value));
}

void InstallManifest::recordKey(ManifestKey key) {
    keysCreated.push_back(std::move(key));
}

bool InstallManifest::empty() const {
    return files.empty() && folders.empty() && shortcuts.empty() && values.empty() &&
           keysCreated.empty();
}

std::string manifestTimestamp() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    ::gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

} // namespace orvane
