// Comparing every recorded file with the disk.
#include "verify.h"

#include <algorithm>

namespace orvane {

namespace {

std::size_t recordedCount(const InstallRecord& record) {
    return record.manifest ? record.manifest->files.size() : record.listed.files.size();
}

} // namespace

std::vector<FileFinding> verifyInstallation(const InstallRecord& record) {
    std::vector<FileFinding> findings;
    const auto check = [&](std::string path, const ManifestFile* recorded) {
        std::replace(path.begin(), path.end(), '\\', '/');
        FileFinding finding{path, FileState::Intact, {}, recorded};
        finding.state = installedFileState(path, recorded, finding.reason);
        if (finding.state != FileState::Intact)
            findings.push_back(std::move(finding));
    };
    if (record.manifest) {
        for (const ManifestFile& file : record.manifest->files)
            check(file.path, &file);
    } else {
        for (const std::string& path : record.listed.files)
            check(path, nullptr);
    }
    return findings;
}

std::string verificationText(const InstallRecord& record,
                             const std::vector<FileFinding>& findings) {
    std::string text;
    if (!record.manifest)
        text +=
            "Kein Manifest vorhanden: ohne Prüfsummen wird nur geprüft, ob die Dateien da sind.\n";
    for (const FileFinding& finding : findings) {
        text += "Datei " + finding.path + ": " + fileStateText(finding.state);
        text += finding.reason.empty() || finding.state != FileState::Unreadable
                    ? "\n"
                    : " (" + finding.reason + ")\n";
    }
    if (findings.empty())
        text += "Alle " + std::to_string(recordedCount(record)) + " Dateien sind unverändert.\n";
    return text;
}

} // namespace orvane
