// installFile and createLink with the folders they create on the way.
#include "file_install.h"

#include "allgemeines.h"
#include "atomic_file.h"
#include "background_writer.h"
#include "script_error.h"
#include "uninstall_list.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane {

namespace {

// Permissions of a new installed file and folder, whatever the umask: what is installed, for
// example by root into /opt, must be usable by every user. A package carries no permissions, so
// files that start like programs get execute permissions as well (0755): an installed program that
// cannot be started would be useless.
constexpr mode_t kFileMode = 0644;
constexpr mode_t kFolderMode = 0755;

// Decoded bytes per write: large enough that the system calls cost nothing, small enough that the
// writer's few buffers stay in the cache while the next piece is decoded.
constexpr std::size_t kPieceBytes = 1024 * 1024;

[[noreturn]] void failToCreate(const std::string& path, const std::string& reason) {
    throw ScriptError("Datei " + path + " kann nicht erstellt werden. " + reason);
}

// Refuses a path whose line break would split the uninstall data's line that records it, before
// anything is created.
void refuseLineBreaks(const std::string& path) {
    if (holdsLineBreak(path))
        failToCreate(path, std::string(kNotARegularFile));
}

bool isFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The permission bits the file ended up with.
std::uint32_t modeOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// An ELF executable or a script with an interpreter line.
bool looksLikeProgram(std::string_view start) {
    return start.starts_with("\x7f"
                             "ELF") ||
           start.starts_with("#!");
}

// Writes the source's bytes into the file through a writer thread, calling `betweenPieces` after
// each piece, and counts them in `installed`; the digest is the one the source computed while it
// delivered them. Returns whether the file starts like a program.
bool writePieces(ByteSource& source, ReplacementFile& file, const PaintBetweenChunks& betweenPieces,
                 InstalledFile& installed) {
    bool program = false;
    BackgroundWriter writer(file, kPieceBytes);
    for (;;) {
        const std::span<char> buffer = writer.buffer();
        const std::size_t size = source.read(buffer.data(), buffer.size());
        if (size == 0)
            break;
        program = program || (installed.bytes == 0 && looksLikeProgram({buffer.data(), size}));
        if (!writer.submit(size))
            break;
        installed.bytes += size;
        if (betweenPieces)
            betweenPieces();
    }
    std::string reason;
    if (!writer.finish(reason))
        failToCreate(installed.path, reason);
    installed.sha256 = source.sha256();
    return program;
}

// mkdir(2) with exactly kFolderMode. The mode is set through a descriptor opened without following
// a link, so a link swapped in meanwhile never has its target's mode changed. 0 or the errno.
int makeFolder(const std::string& path) {
    if (::mkdir(path.c_str(), kFolderMode) != 0)
        return errno;
    // A trailing "/" would make the open follow a link after all.
    const std::string folder = path.substr(0, path.find_last_not_of('/') + 1);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0) {
        ::fchmod(fd, kFolderMode); // we made it, so we may; a failure leaves the umask's mode
        ::close(fd);
    }
    return 0;
}

} // namespace

std::string folderPart(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

bool createFolderPath(std::string_view path, UninstallList& list, std::string& reason) {
    for (std::size_t slash = path.find('/'); slash != std::string_view::npos;
         slash = path.find('/', slash + 1)) {
        const std::string prefix(path.substr(0, slash + 1));
        if (isFolder(prefix))
            continue;
        if (const int error = makeFolder(prefix); error != 0) {
            if (error == EEXIST && isFolder(prefix))
                continue; // made by someone else meanwhile: not ours to record
            // Something other than a folder stands in the way.
            reason = std::strerror(error == EEXIST ? ENOTDIR : error);
            return false;
        }
        list.addUninstallEntry(kFolderSection, prefix);
        list.manifest().recordFolder(prefix);
    }
    return true;
}

InstalledFile installFile(const PackageAccess& package, UninstallList& list, std::string_view s1,
                          std::string_view s2, const PaintBetweenChunks& betweenPieces) {
    const std::unique_ptr<ByteSource> source = package.bytes(s1);
    InstalledFile installed{nativePath(s2), 0, {}};
    refuseLineBreaks(installed.path);
    std::string reason;
    if (!createFolderPath(folderPart(installed.path), list, reason))
        failToCreate(installed.path, reason);
    ReplacementFile file;
    if (!file.open(installed.path, kFileMode, reason))
        failToCreate(installed.path, reason);
    if (writePieces(*source, file, betweenPieces, installed))
        file.setExecutable();
    installed.sha256 = source->sha256();
    // Installed files are not forced to the disk one by one: that would cost more than the whole
    // decoding, and an installation cut off by a crash is run again anyway. The rename still
    // keeps programs that run meanwhile from ever seeing a half-written file.
    if (!file.commit(false, reason))
        failToCreate(installed.path, reason);
    list.addUninstallEntry(kFileSection, installed.path);
    list.manifest().recordFile(
        {installed.path, installed.bytes, installed.sha256, modeOf(installed.path)});
    return installed;
}

ShellLink createLink(Shell& shell, UninstallList& list, std::string_view s1, std::string_view s2) {
    ShellLink link;
    link.file = nativePath(s1);
    link.target = nativePath(s2);
    link.description = kLinkDescription;
    link.workingFolder = folderPart(link.target);
    refuseLineBreaks(link.file);
    std::string reason;
    if (!createFolderPath(folderPart(link.file), list, reason) || !shell.saveLink(link, reason))
        failToCreate(link.file, reason);
    list.addUninstallEntry(kFileSection, link.file);
    list.manifest().recordShortcut({link.file, link.target});
    return link;
}

} // namespace orvane
