// The install manifest: everything one installation made, in the order it was made, with what the
// uninstaller needs to tell the installation's own work from the user's later changes.
//
// Design. The installation built-ins record into one InstallManifest while the script runs (it
// lives beside the uninstall list); saveUninstallData writes it as JSON next to the uninstall
// data. A file carries its size, SHA-256 and mode, so that a file the user changed since can be
// kept; a registry value carries the data written and the value it replaced (or none), so that
// uninstalling restores what was there before; only keys this installation created are listed.
#pragma once

#include "registry_store.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

struct ManifestFile {
    std::string path;
    std::uint64_t size = 0;
    std::string sha256; // 64 lower-case hex digits
    std::uint32_t mode = 0;
};

struct ManifestShortcut {
    std::string path;
    std::string target;
};

struct ManifestValue {
    Hive hive = Hive::CurrentUser;
    std::string key;                     // from the hive's root, starting with "\"
    std::string name;                    // empty for the key's default value
    std::string data;                    // what the installation wrote
    std::optional<std::string> previous; // what it replaced; nullopt when the value was new
};

struct ManifestKey {
    Hive hive = Hive::CurrentUser;
    std::string key;
};

struct InstallManifest {
    // The version of the manifest's JSON form; readers refuse newer ones.
    static constexpr int kFormatVersion = 1;

    std::string created;  // UTC, as 2026-12-09T21:59:34Z
    std::string repaired; // when `orvane repair` last wrote files again; empty if never
    std::vector<ManifestFile> files;
    std::vector<std::string> folders; // outermost first, each ending with "/"
    std::vector<ManifestShortcut> shortcuts;
    std::vector<ManifestValue> values;
    std::vector<ManifestKey> keysCreated; // parents before children

    // A file written again replaces its entry: the manifest describes what is on disk now.
    void recordFile(ManifestFile file);
    void recordFolder(std::string path);
    void recordShortcut(ManifestShortcut shortcut);
    // A value written again keeps the value it first replaced, which is what was there before.
    void recordValue(ManifestValue value);
    void recordKey(ManifestKey key);

    bool empty() const;
};

// Registry names compare without regard to ASCII case, as the store compares them.
bool sameRegistryName(std::string_view a, std::string_view b);

// The current time as the manifest writes it.
std::string manifestTimestamp();

} // namespace orvane
