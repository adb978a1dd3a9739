// The uninstall list: the record of every folder, file and registry key an installation created.
//
// The list is plain text lines. A line "[name]" heads a section and every other line below it is
// one of that section's entries, newest first. The engine owns one list for the whole run; the
// installation and registry built-ins add to it as they create things, and the script saves it.
// Beside the lines it keeps the install manifest, the same record with digests and previous
// registry values, which is saved with it.
#pragma once

#include "install_manifest.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// The three lines a new list starts with; they belong to no section.
inline constexpr std::array<std::string_view, 3> kUninstallHeaderLines = {
    "// Informationen zur Deinstallation", "// Automatisch erzeugt von Orvane-Setup 3.7", ""};

class UninstallList {
  public:
    // A list holding the three header lines.
    UninstallList();

    // Inserts `entry` directly below the first line that equals "[" + section + "]" (compared
    // exactly, entries included), or appends that header and the entry when no line does.
    void addUninstallEntry(std::string_view section, std::string_view entry);

    const std::vector<std::string>& lines() const { return m_lines; }

    InstallManifest& manifest() { return m_manifest; }
    const InstallManifest& manifest() const { return m_manifest; }

    // The saved form: every line followed by CR LF, UTF-8 without byte-order mark.
    std::string fileText() const;

  private:
    std::vector<std::string> m_lines;
    InstallManifest m_manifest;
};

// The built-in addToUninstallData(s1, s2): adds the entry `s2` to the section `s1`.
void addToUninstallData(UninstallList& list, std::string_view s1, std::string_view s2);

// The built-in saveUninstallData(s1): writes the list to the file `s1` ("\" and "/" both separate
// folders). The file is written beside the target under a temporary name and then renamed over
// it, so a crash leaves either the old file or the whole new one. The manifest follows the same
// way as `s1` + ".manifest", stamped with the time of saving. Throws ScriptError naming the path
// and the system's reason when a file cannot be written; the list is never changed.
void saveUninstallData(const UninstallList& list, std::string_view s1);

} // namespace orvane
