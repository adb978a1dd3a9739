// Recording into the install manifest.
#include "install_manifest.h"

#include <algorithm>
#include <ctime>

namespace orvane {

namespace {

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool sameRegistryName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

void InstallManifest::recordFile(ManifestFile file) {
    const auto same = [&](const ManifestFile& old) { return old.path == file.path; };
    const auto found = std::find_if(files.begin(), files.end(), same);
    if (found != files.end())
        *found = std::move(file);
    else
        files.push_back(std::move(file));
}

void InstallManifest::recordFolder(std::string path) {
    folders.push_back(std::move(path));
}

void InstallManifest::recordShortcut(ManifestShortcut shortcut) {
    const auto same = [&](const ManifestShortcut& old) { return old.path == shortcut.path; };
    const auto found = std::find_if(shortcuts.begin(), shortcuts.end(), same);
    if (found != shortcuts.end())
        *found = std::move(shortcut);
    else
        shortcuts.push_back(std::move(shortcut));
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
