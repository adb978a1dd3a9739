// The uninstall list's sections, its saved text and the two built-ins that reach it.
#include "uninstall_list.h"

#include "atomic_file.h"
#include "manifest_json.h"
#include "script_error.h"

#include <algorithm>

namespace orvane {

UninstallList::UninstallList()
    : m_lines(kUninstallHeaderLines.begin(), kUninstallHeaderLines.end()) {}

// A linear search is enough: even an installation of thousands of files keeps this far below
// the time spent writing those files.
void UninstallList::addUninstallEntry(std::string_view section, std::string_view entry) {
    std::string header = "[";
    header.append(section).append("]");
    const auto found = std::find(m_lines.begin(), m_lines.end(), header);
    if (found != m_lines.end()) {
        m_lines.insert(found + 1, std::string(entry));
        return;
    }
    m_lines.push_back(std::move(header));
    m_lines.emplace_back(entry);
}

std::string UninstallList::fileText() const {
    std::string text;
    for (const auto& line : m_lines)
        text.append(line).append("\r\n");
    return text;
}

void addToUninstallData(UninstallList& list, std::string_view s1, std::string_view s2) {
    list.addUninstallEntry(s1, s2);
}

void saveUninstallData(const UninstallList& list, std::string_view s1) {
    std::string path(s1);
    std::replace(path.begin(), path.end(), '\\', '/');
    std::string reason;
    if (!replaceFileContent(path, list.fileText(), reason))
        throw ScriptError("Datei " + path + " kann nicht erstellt werden. " + reason);
    InstallManifest manifest = list.manifest();
    manifest.created = manifestTimestamp();
    const std::string manifestPath = manifestPathFor(path);
    if (!writeManifestFile(manifestPath, manifest, reason))
        throw ScriptError("Datei " + manifestPath + " kann nicht erstellt werden. " + reason);
}

} // namespace orvane
