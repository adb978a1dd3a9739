// Whole-file replacement: an unnamed temporary file linked in with linkat(2), or a named one, and
// rename(2), which swaps the target in one step.
#include "atomic_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace orvane {

namespace {

// Tries before giving up on finding an unused temporary name; names are unique per process and
// call, so a collision needs a leftover from an earlier process with the same id.
constexpr int kTemporaryNameAttempts = 100;

// examineTarget()'s answer for something that is not a regular file; errno values are positive.
constexpr int kNotRegular = -1;

// The temporary file is private until commit() gives it its final mode.
constexpr mode_t kTemporaryMode = 0600;

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// linkat(2) gives an unnamed file a name through its entry in /proc; without /proc mounted only
// named temporary files can be used.
std::string procPathOf(int fd) {
    return "/proc/self/fd/" + std::to_string(fd);
}

bool unnamedFilesUsable() {
    return ::access("/proc/self/fd", X_OK) == 0;
}

int openUnnamed(const std::string& folder) {
    return ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, kTemporaryMode);
}

// The errors with which a file system or kernel says it has no unnamed files.
bool lacksUnnamedFiles(int error) {
    return error == EOPNOTSUPP || error == EISDIR;
}

bool writeAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return false;
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// A replaced file keeps its owner when we may set it; an ordinary user cannot, and the file then
// belongs to whoever replaced it.
void copyOwner(int fd, const struct stat& existing) {
    if ((existing.st_uid != ::geteuid() || existing.st_gid != ::getegid()) &&
        ::fchown(fd, existing.st_uid, existing.st_gid) != 0) {
    }
}

// Makes the rename itself durable; a failure here leaves a correct file, so it is not reported.
void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Gives the unnamed file `fd` a fresh temporary name in `folder` and renames it over `target`.
int linkUnderTemporaryNameAndRename(int fd, const std::string& folder, const std::string& target) {
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        const std::string name = temporaryNameIn(folder);
        RemovalOnSignal removal;
        removal.arm(name);
        if (::linkat(AT_FDCWD, procPathOf(fd).c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) !=
            0) {
            if (errno == EEXIST)
                continue;
            return errno;
        }
        if (::rename(name.c_str(), target.c_str()) != 0) {
            const int error = errno;
            ::unlink(name.c_str());
            return error;
        }
        return 0;
    }
    return EEXIST;
}

} // namespace

bool holdsLineBreak(std::string_view path) {
    return path.find_first_of("\r\n") != std::string_view::npos;
}

ReplacementFile::~ReplacementFile() {
    discard();
}

void ReplacementFile::discard() {
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_temporary.empty())
        ::unlink(m_temporary.c_str());
    m_removal.release();
    m_fd = -1;
    m_temporary.clear();
}

bool ReplacementFile::fail(int error, std::string& reason) {
    discard();
    reason = std::strerror(error);
    return false;
}

// What stands at the target, without following a symbolic link there: nothing, a regular file we
// may write (replaced keeping its mode), or a link (replaced itself). 0, or the reason to refuse:
// an errno value or kNotRegular.
int ReplacementFile::examineTarget(const std::string& path) {
    struct stat info {};
    m_replaced.reset();
    m_occupied = ::lstat(path.c_str(), &info) == 0;
    if (!m_occupied)
        return errno == ENOENT ? 0 : errno; // a missing folder shows when the file is created
    if (S_ISDIR(info.st_mode))
        return EISDIR;
    if (S_ISLNK(info.st_mode))
        return 0;
    if (!S_ISREG(info.st_mode))
        return kNotRegular;
    m_replaced = info;
    // Truncating a file we may not write would be refused; replacing it is refused as well.
    return ::access(path.c_str(), W_OK) == 0 ? 0 : errno;
}

int ReplacementFile::createTemporary(const std::string& folder) {
    if (m_kind == TemporaryKind::Unnamed && unnamedFilesUsable()) {
        m_fd = openUnnamed(folder);
        if (m_fd >= 0 || !lacksUnnamedFiles(errno))
            return m_fd >= 0 ? 0 : errno;
    }
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        m_temporary = temporaryNameIn(folder);
        m_removal.arm(m_temporary);
        m_fd = ::open(m_temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kTemporaryMode);
        if (m_fd >= 0)
            return 0;
        const int error = errno;
        m_temporary.clear();
        m_removal.release();
        if (error != EEXIST)
            return error;
    }
    return EEXIST;
}

bool ReplacementFile::open(const std::string& path, mode_t mode, std::string& reason) {
    discard();
    if (holdsLineBreak(path)) {
        reason = kNotARegularFile;
        return false;
    }
    m_target = path;
    m_newMode = mode;
    int error = examineTarget(path);
    if (error == 0)
        error = createTemporary(folderOf(path));
    if (error == kNotRegular) {
        reason = kNotARegularFile;
        return false;
    }
    return error == 0 || fail(error, reason);
}

bool ReplacementFile::write(std::string_view bytes, std::string& reason) {
    if (m_fd < 0)
        return fail(EBADF, reason);
    return writeAll(m_fd, bytes) || fail(errno, reason);
}

// Flushes the temporary file and gives it its owner and mode; 0 or the errno of a failed flush.
int ReplacementFile::settle(bool syncToDisk) {
    if (syncToDisk && ::fsync(m_fd) != 0)
        return errno;
    mode_t mode = m_newMode;
    if (m_exactMode) {
        mode = *m_exactMode;
    } else if (m_replaced) {
        copyOwner(m_fd, *m_replaced); // before the mode: a change of owner clears set-id bits
        mode = m_replaced->st_mode & 07777;
    }
    if (m_executable)
        mode |= (mode & 0444) >> 2;
    ::fchmod(m_fd, mode);
    return 0;
}

// Puts the settled temporary file in the target's place; 0 or the errno of the failure.
int ReplacementFile::linkIn() {
    if (!m_temporary.empty())
        return ::rename(m_temporary.c_str(), m_target.c_str()) == 0 ? 0 : errno;
    // Where nothing stands, the unnamed file takes the target's name directly; otherwise (or when
    // something appeared meanwhile) it is named beside the target and renamed over it.
    if (!m_occupied && ::linkat(AT_FDCWD, procPathOf(m_fd).c_str(), AT_FDCWD, m_target.c_str(),
                                AT_SYMLINK_FOLLOW) == 0)
        return 0;
    if (!m_occupied && errno != EEXIST)
        return errno;
    return linkUnderTemporaryNameAndRename(m_fd, folderOf(m_target), m_target);
}

bool ReplacementFile::commit(bool syncToDisk, std::string& reason) {
    if (m_fd < 0)
        return fail(EBADF, reason);
    int error = settle(syncToDisk);
    if (error == 0 && !m_temporary.empty() && ::close(std::exchange(m_fd, -1)) != 0)
        error = errno;
    if (error == 0)
        error = linkIn();
    if (error != 0)
        return fail(error, reason);
    m_temporary.clear();
    discard();
    if (syncToDisk)
        syncFolder(folderOf(m_target));
    return true;
}

bool replaceFileContent(const std::string& path, std::string_view content, std::string& reason) {
    ReplacementFile file;
    return file.open(path, 0644, reason) && file.write(content, reason) &&
           file.commit(true, reason);
}

} // namespace orvane
