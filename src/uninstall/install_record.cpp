// Reading the uninstall data and its manifest.
#include "install_record.h"

#include "manifest_json.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace orvane {

namespace {

// The file's whole text; nullopt when it does not exist, and with `error` set when it exists but
// cannot be read.
std::optional<std::string> readText(const std::string& path, std::string& error) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 && errno == ENOENT)
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    if (in)
        text << in.rdbuf();
    if (!in || S_ISDIR(info.st_mode))
        error = "Datei " + path + " kann nicht gelesen werden: " +
                std::strerror(S_ISDIR(info.st_mode) ? EISDIR : errno);
    return text.str();
}

} // namespace

std::optional<InstallRecord> loadInstallRecord(const std::string& path, std::string& error) {
    InstallRecord record;
    std::string native = path;
    std::replace(native.begin(), native.end(), '\\', '/');
    record.uninstallData = std::filesystem::absolute(native).lexically_normal();
    record.manifestPath = manifestPathFor(record.uninstallData);
    const auto dataText = readText(record.uninstallData, error);
    const auto manifestText = readText(record.manifestPath, error);
    if (!error.empty())
        return std::nullopt;
    if (!dataText && !manifestText) {
        error = "Deinstallationsdaten " + record.uninstallData + " nicht gefunden";
        return std::nullopt;
    }
    if (manifestText) {
        record.manifest = manifestFromJson(*manifestText, error);
        if (!record.manifest) {
            error = "Manifest " + record.manifestPath + " ist beschädigt: " + error;
            return std::nullopt;
        }
    }
    record.listed = parseUninstallData(dataText.value_or(""));
    return record;
}

} // namespace orvane
