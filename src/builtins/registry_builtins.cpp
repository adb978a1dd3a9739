// writeRegistryString: splitting the path, creating and recording keys, writing the value.
#include "registry_builtins.h"

#include "message_dialog.h"
#include "registry_store.h"
#include "uninstall_list.h"

#include <string>
#include <vector>

namespace orvane {

namespace {

constexpr std::string_view kFailureCaption = "Unkritischer Fehler";

std::string failureText() {
    return "Setup konnte keine Daten in die Windows-Registrierdatenbank schreiben.\r"
           "Wahrscheinlich haben Sie nicht die nötigen Rechte.\r"
           "Melden Sie sich als Administrator an, oder fragen Sie Ihren Systemadministrator";
}

// Every "\" splits, so two in a row give an empty part and a final one an empty last part.
std::vector<std::string_view> splitAtBackslashes(std::string_view path) {
    std::vector<std::string_view> parts;
    for (std::size_t cut; (cut = path.find('\\')) != std::string_view::npos;) {
        parts.push_back(path.substr(0, cut));
        path.remove_prefix(cut + 1);
    }
    parts.push_back(path);
    return parts;
}

Hive rootOf(std::string_view firstPart) {
    return firstPart == "HKEY_LOCAL_MACHINE" ? Hive::LocalMachine : Hive::CurrentUser;
}

// Walks the key names p1 .. p(n-2), creating and recording each missing key. Leaves the key path
// in `running`; false on the first store failure.
bool createMissingKeys(RegistryStore& store, UninstallList& list, Hive hive,
                       const std::vector<std::string_view>& parts, std::string& running) {
    for (std::size_t j = 1; j + 1 < parts.size(); ++j) {
        running.append("\\").append(parts[j]);
        const auto exists = store.keyExists(hive, running);
        if (!exists.ok())
            return false;
        if (*exists.value)
            continue;
        // Another process may create the key between the two calls: only the write that
        // really created it records it, and the store decides that inside its transaction.
        const auto created = store.createKey(hive, running);
        if (!created.ok())
            return false;
        if (!*created.value)
            continue;
        list.addUninstallEntry(kRegistrySection, std::string(parts[0]) + "\\" + running);
        list.manifest().recordKey({hive, running});
    }
    return true;
}

// Writes the value and records it in the manifest with the value it replaced, so that an
// uninstall can put that back.
bool writeRecorded(RegistryStore& store, UninstallList& list, Hive hive, const std::string& keyPath,
                   std::string_view name, std::string_view data) {
    auto previous = store.readString(hive, keyPath, name);
    if (!previous.ok() || !store.writeString(hive, keyPath, name, data).ok)
        return false;
    list.manifest().recordValue(
        {hive, keyPath, std::string(name), std::string(data), std::move(*previous.value)});
    return true;
}

} // namespace

bool writeRegistryString(RegistryStore& store, UninstallList& list, MessageDialog& dialog,
                         std::string_view s1, std::string_view s2) {
    const auto parts = splitAtBackslashes(s1);
    const Hive hive = rootOf(parts[0]);
    std::string keyPath;
    bool written = createMissingKeys(store, list, hive, parts, keyPath);
    if (written) {
        if (keyPath.empty())
            keyPath = "\\";
        written = writeRecorded(store, list, hive, keyPath, parts.back(), s2);
    }
    if (!written)
        dialog.show(failureText(), std::string(kFailureCaption), mbIconError);
    return written;
}

} // namespace orvane
