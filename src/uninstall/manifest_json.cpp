// Writing and reading the install manifest's JSON.
#include "manifest_json.h"

#include "atomic_file.h"
#include "json_output.h"
#include "json_reader.h"

#include <charconv>
#include <cstdio>

namespace orvane {

namespace {

// ---------------------------------------------------------------- writing

std::string hiveText(Hive hive) {
    return jsonString(hiveName(hive));
}

std::string octalMode(std::uint32_t mode) {
    char text[16];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
    return text;
}

std::string fileJson(const ManifestFile& file) {
    return "{\"path\": " + jsonString(file.path) + ", \"size\": " + std::to_string(file.size) +
           ", \"sha256\": " + jsonString(file.sha256) +
           ", \"mode\": " + jsonString(octalMode(file.mode)) + "}";
}

std::string shortcutJson(const ManifestShortcut& shortcut) {
    return "{\"path\": " + jsonString(shortcut.path) +
           ", \"target\": " + jsonString(shortcut.target) + "}";
}

std::string valueJson(const ManifestValue& value) {
    return "{\"hive\": " + hiveText(value.hive) + ", \"key\": " + jsonString(value.key) +
           ", \"name\": " + jsonString(value.name) + ", \"data\": " + jsonString(value.data) +
           ", \"previous\": " + (value.previous ? jsonString(*value.previous) : "null") + "}";
}

std::string keyJson(const ManifestKey& key) {
    return "{\"hive\": " + hiveText(key.hive) + ", \"key\": " + jsonString(key.key) + "}";
}

template <typename Item, typename Format>
std::string arrayJson(const char* name, const std::vector<Item>& items, Format format, bool last) {
    std::string text = "  \"" + std::string(name) + "\": [";
    for (std::size_t i = 0; i < items.size(); ++i)
        text += (i == 0 ? "\n    " : ",\n    ") + format(items[i]);
    text += items.empty() ? "]" : "\n  ]";
    return text + (last ? "\n" : ",\n");
}

// ---------------------------------------------------------------- reading

// Reading stops at the first fault; its text names the member.
struct Fault {
    std::string text;
};

JsonValue member(JsonValue object, std::string_view name) {
    const auto found = object.member(name);
    if (!found)
        throw Fault{"\"" + std::string(name) + "\" fehlt"};
    return *found;
}

std::string text(JsonValue object, std::string_view name) {
    const JsonValue value = member(object, name);
    if (value.kind() != JsonKind::String)
        throw Fault{"\"" + std::string(name) + "\" ist kein Text"};
    return std::string(value.text());
}

template <typename Number> Number number(std::string_view digits, std::string_view name, int base) {
    Number result{};
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), result, base);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size())
        throw Fault{"\"" + std::string(name) + "\" ist keine gültige Zahl"};
    return result;
}

std::uint64_t size(JsonValue object) {
    const JsonValue value = member(object, "size");
    if (value.kind() != JsonKind::Number)
        throw Fault{"\"size\" ist keine gültige Zahl"};
    return number<std::uint64_t>(value.text(), "size", 10);
}

std::string digest(JsonValue object) {
    std::string hex = text(object, "sha256");
    const bool valid =
        hex.size() == 64 && hex.find_first_not_of("0123456789abcdef") == std::string::npos;
    if (!valid)
        throw Fault{"\"sha256\" ist keine SHA-256-Prüfsumme"};
    return hex;
}

Hive hive(JsonValue object) {
    const std::string name = text(object, "hive");
    if (name == hiveName(Hive::LocalMachine))
        return Hive::LocalMachine;
    if (name == hiveName(Hive::CurrentUser))
        return Hive::CurrentUser;
    throw Fault{"unbekannter Registry-Zweig \"" + name + "\""};
}

JsonValue array(JsonValue root, std::string_view name) {
    const JsonValue value = member(root, name);
    if (!value.isArray())
        throw Fault{"\"" + std::string(name) + "\" ist keine Liste"};
    return value;
}

JsonValue object(JsonValue list, std::size_t index) {
    const JsonValue value = list.element(index);
    if (!value.isObject())
        throw Fault{"ein Eintrag ist kein Objekt"};
    return value;
}

void readFiles(JsonValue root, InstallManifest& manifest) {
    const JsonValue list = array(root, "files");
    for (std::size_t i = 0; i < list.size(); ++i) {
        const JsonValue entry = object(list, i);
        manifest.files.push_back({text(entry, "path"), size(entry), digest(entry),
                                  number<std::uint32_t>(text(entry, "mode"), "mode", 8)});
    }
}

void readFolders(JsonValue root, InstallManifest& manifest) {
    const JsonValue list = array(root, "folders");
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list.element(i).kind() != JsonKind::String)
            throw Fault{"\"folders\" enthält etwas anderes als Text"};
        manifest.folders.emplace_back(list.element(i).text());
    }
}

void readShortcuts(JsonValue root, InstallManifest& manifest) {
    const JsonValue list = array(root, "shortcuts");
    for (std::size_t i = 0; i < list.size(); ++i) {
        const JsonValue entry = object(list, i);
        manifest.shortcuts.push_back({text(entry, "path"), text(entry, "target")});
    }
}

std::optional<std::string> previous(JsonValue entry) {
    const JsonValue value = member(entry, "previous");
    if (value.kind() == JsonKind::Null)
        return std::nullopt;
    return text(entry, "previous");
}

void readRegistry(JsonValue root, InstallManifest& manifest) {
    const JsonValue values = array(root, "registryValues");
    for (std::size_t i = 0; i < values.size(); ++i) {
        const JsonValue entry = object(values, i);
        manifest.values.push_back({hive(entry), text(entry, "key"), text(entry, "name"),
                                   text(entry, "data"), previous(entry)});
    }
    const JsonValue keys = array(root, "registryKeysCreated");
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const JsonValue entry = object(keys, i);
        manifest.keysCreated.push_back({hive(entry), text(entry, "key")});
    }
}

InstallManifest readManifest(JsonValue root) {
    if (!root.isObject())
        throw Fault{"kein JSON-Objekt"};
    const JsonValue format = member(root, "format");
    if (format.kind() != JsonKind::Number ||
        number<int>(format.text(), "format", 10) > InstallManifest::kFormatVersion)
        throw Fault{"unbekannte Formatversion " + std::string(format.text())};
    InstallManifest manifest;
    manifest.created = text(root, "created");
    if (root.member("repaired"))
        manifest.repaired = text(root, "repaired");
    readFiles(root, manifest);
    readFolders(root, manifest);
    readShortcuts(root, manifest);
    readRegistry(root, manifest);
    return manifest;
}

} // namespace

std::string manifestToJson(const InstallManifest& manifest) {
    std::string json = "{\n  \"format\": " + std::to_string(InstallManifest::kFormatVersion) +
                       ",\n  \"created\": " + jsonString(manifest.created) + ",\n";
    if (!manifest.repaired.empty())
        json += "  \"repaired\": " + jsonString(manifest.repaired) + ",\n";
    json += arrayJson("files", manifest.files, fileJson, false);
    json += arrayJson("folders", manifest.folders, jsonString, false);
    json += arrayJson("shortcuts", manifest.shortcuts, shortcutJson, false);
    json += arrayJson("registryValues", manifest.values, valueJson, false);
    json += arrayJson("registryKeysCreated", manifest.keysCreated, keyJson, true);
    return json + "}\n";
}

std::optional<InstallManifest> manifestFromJson(std::string_view text, std::string& error) {
    LoadedJson loaded = readJson(text);
    if (!loaded.document) {
        error = "kein gültiges JSON: " + loaded.error;
        return std::nullopt;
    }
    try {
        return readManifest(loaded.document->root());
    } catch (const Fault& fault) {
        error = fault.text;
        return std::nullopt;
    }
}

std::string manifestPathFor(std::string_view uninstallData) {
    return std::string(uninstallData) + ".manifest";
}

bool writeManifestFile(const std::string& path, const InstallManifest& manifest,
                       std::string& reason) {
    return replaceFileContent(path, manifestToJson(manifest), reason);
}

} // namespace orvane
