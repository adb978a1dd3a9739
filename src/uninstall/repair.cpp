// Writing missing and changed files again from the package.
#include "repair.h"

#include "atomic_file.h"
#include "builtin_services.h"
#include "manifest_json.h"
#include "path_safety.h"
#include "sha256.h"
#include "verify.h"

#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane {

namespace {

// Pieces of this size keep the file out of memory; the digest runs alongside.
constexpr std::size_t kPieceBytes = 1024 * 1024;

std::string element(std::size_t index, const char* member) {
    return "binfiles[" + std::to_string(index) + "]." + member;
}

// The package elements by the digest of their decoded bytes. Elements that state no "sha256"
// are decoded and hashed, but only when a wanted digest is not found among those that do.
class PackageIndex {
  public:
    explicit PackageIndex(const PackageAccess& package) : m_package(package) {
        m_count = static_cast<std::size_t>(package.arrayLength("binfiles"));
        for (std::size_t i = 0; i < m_count; ++i) {
            try {
                m_byDigest.emplace(package.text(element(i, "sha256")), i);
            } catch (const ScriptError&) {
                m_unstated.push_back(i);
            }
        }
    }

    std::optional<std::size_t> find(const std::string& digest) {
        if (const auto found = m_byDigest.find(digest); found != m_byDigest.end())
            return found->second;
        hashUnstated();
        if (const auto found = m_byDigest.find(digest); found != m_byDigest.end())
            return found->second;
        return std::nullopt;
    }

  private:
    void hashUnstated() {
        for (const std::size_t i : m_unstated) {
            Sha256 digest;
            const auto source = m_package.bytes(element(i, "bin"));
            std::string buffer(kPieceBytes, '\0');
            for (std::size_t n; (n = source->read(buffer.data(), buffer.size())) > 0;)
                digest.update({buffer.data(), n});
            m_byDigest.emplace(digest.finishHex(), i);
        }
        m_unstated.clear();
    }

    const PackageAccess& m_package;
    std::size_t m_count = 0;
    std::map<std::string, std::size_t> m_byDigest;
    std::vector<std::size_t> m_unstated;
};

void createFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        if (::mkdir(path.substr(0, slash).c_str(), 0755) == 0)
            ::chmod(path.substr(0, slash).c_str(), 0755); // whatever the umask
    }
}

// Writes the element's bytes to the file; "" when done, else why not.
std::string rewrite(const ManifestFile& file, const PackageAccess& package, std::size_t index) {
    createFolders(file.path);
    struct stat info {};
    if (::lstat(file.path.c_str(), &info) == 0 && S_ISLNK(info.st_mode))
        ::unlink(file.path.c_str()); // replaced as a link, never written through
    ReplacementFile out;
    std::string reason;
    if (!out.open(file.path, 0644, reason))
        return reason;
    out.setExactMode(file.mode);
    Sha256 digest;
    const auto source = package.bytes(element(index, "bin"));
    std::string buffer(kPieceBytes, '\0');
    for (std::size_t n; (n = source->read(buffer.data(), buffer.size())) > 0;) {
        digest.update({buffer.data(), n});
        if (!out.write({buffer.data(), n}, reason))
            return reason;
    }
    if (digest.finishHex() != file.sha256)
        return "Paketinhalt stimmt nicht mit der Prüfsumme überein";
    return out.commit(true, reason) ? "" : reason;
}

std::string repairOne(const FileFinding& finding, const InstallRecord& record, PackageIndex& index,
                      const PackageAccess& package,
                      const std::vector<std::string>& protectedFolders) {
    if (std::string refusal = refusalReason(finding.path, protectedFolders); !refusal.empty())
        return refusal;
    if (passesThroughInstalledLink(finding.path, record.manifest->folders))
        return "liegt hinter einer symbolischen Verknüpfung";
    if (finding.state == FileState::NotRegular)
        return "keine reguläre Datei";
    const auto found = index.find(finding.recorded->sha256);
    if (!found)
        return "nicht im Paket";
    return rewrite(*finding.recorded, package, *found);
}

} // namespace

int repairInstallation(InstallRecord& record, const PackageAccess& package,
                       const std::vector<std::string>& protectedFolders, std::string& report) {
    if (!record.manifest) {
        report += "Kein Manifest vorhanden: ohne Prüfsummen ist keine Reparatur möglich.\n";
        return 1;
    }
    const std::vector<FileFinding> findings = verifyInstallation(record);
    if (findings.empty()) {
        report += "Nichts zu reparieren: alle Dateien sind unverändert.\n";
        return 0;
    }
    int status = 0;
    try {
        PackageIndex index(package);
        for (const FileFinding& finding : findings) {
            const std::string failure =
                repairOne(finding, record, index, package, protectedFolders);
            report += "Datei " + finding.path + ": " +
                      (failure.empty() ? "repariert" : "nicht repariert (" + failure + ")") + "\n";
            status = failure.empty() ? status : 1;
        }
    } catch (const ScriptError& error) {
        report += std::string("Paket nicht lesbar: ") + error.what() + "\n";
        return 1;
    }
    record.manifest->repaired = manifestTimestamp();
    std::string reason;
    if (!writeManifestFile(record.manifestPath, *record.manifest, reason)) {
        report +=
            "Manifest " + record.manifestPath + " kann nicht geschrieben werden: " + reason + "\n";
        return 1;
    }
    return status;
}

} // namespace orvane
