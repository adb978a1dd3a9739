// Comparing an installed file with its manifest entry.
#include "installed_file.h"

#include "sha256.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace orvane {

namespace {

struct FileStateNames {
    FileState state;
    const char* text;
    const char* json;
};

constexpr FileStateNames kStateNames[] = {
    {FileState::Intact, "unverändert", "intact"},
    {FileState::Missing, "fehlt", "missing"},
    {FileState::Link, "durch eine symbolische Verknüpfung ersetzt", "link"},
    {FileState::NotRegular, "keine reguläre Datei", "notRegular"},
    {FileState::Changed, "seit der Installation geändert", "changed"},
    {FileState::Unreadable, "nicht lesbar", "unreadable"},
};

const FileStateNames& namesOf(FileState state) {
    for (const auto& names : kStateNames) {
        if (names.state == state)
            return names;
    }
    return kStateNames[0];
}

} // namespace

const char* fileStateText(FileState state) {
    return namesOf(state).text;
}
const char* fileStateJson(FileState state) {
    return namesOf(state).json;
}

FileState installedFileState(const std::string& path, const ManifestFile* recorded,
                             std::string& reason) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        reason = std::strerror(errno);
        return errno == ENOENT ? FileState::Missing : FileState::Unreadable;
    }
    if (S_ISLNK(info.st_mode))
        return FileState::Link;
    if (!S_ISREG(info.st_mode))
        return FileState::NotRegular;
    if (recorded == nullptr)
        return FileState::Intact;
    // A size that differs settles it without reading the file.
    if (static_cast<std::uint64_t>(info.st_size) != recorded->size)
        return FileState::Changed;
    const auto digest = fileSha256(path, reason);
    if (!digest)
        return FileState::Unreadable;
    return *digest == recorded->sha256 ? FileState::Intact : FileState::Changed;
}

} // namespace orvane
