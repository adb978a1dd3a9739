// Whole-file replacement through a temporary file and rename(2), which swaps the target in one
// step.
#include "atomic_file.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane {

namespace {

// Tries before giving up on finding an unused temporary name; names are unique per process and
// call, so a collision needs a leftover from an earlier process with the same id.
constexpr int kTemporaryNameAttempts = 100;

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a write to `path` lands in: the file a symbolic link points to, else `path` itself.
std::string resolvedTarget(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    char* real = ::realpath(path.c_str(), nullptr);
    if (real == nullptr)
        return path; // a dangling link is replaced by the new file
    std::string target(real);
    std::free(real);
    return target;
}

// What truncating an existing target would refuse: a folder, or a file we may not write.
int checkExistingTarget(const std::string& path, struct stat& info, bool& exists) {
    exists = ::stat(path.c_str(), &info) == 0;
    if (!exists)
        return 0; // creating the temporary file reports a missing or unusable folder
    if (S_ISDIR(info.st_mode))
        return EISDIR;
    return ::access(path.c_str(), W_OK) == 0 ? 0 : errno;
}

int createTemporary(const std::string& folder, mode_t mode, std::string& temporary) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        temporary = folder + "/.orvane-" + std::to_string(::getpid()) + '-' +
                    std::to_string(counter++) + ".tmp";
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
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

// A replaced file keeps its owner (when we may set it) and its permissions.
void copyOwnerAndMode(int fd, const struct stat& existing) {
    if ((existing.st_uid != ::geteuid() || existing.st_gid != ::getegid()) &&
        ::fchown(fd, existing.st_uid, existing.st_gid) != 0) {
        // Not permitted for an ordinary user: the file then belongs to whoever replaced it.
    }
    ::fchmod(fd, existing.st_mode & 07777);
}

// Adds an execute permission to each read permission.
void addExecuteBits(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) == 0)
        ::fchmod(fd, (info.st_mode & 07777) | ((info.st_mode & 0444) >> 2));
}

// Makes the rename itself durable; a failure here leaves a correct file, so it is not reported.
void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

ReplacementFile::~ReplacementFile() {
    discard();
}

void ReplacementFile::discard() {
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_temporary.empty())
        ::unlink(m_temporary.c_str());
    m_fd = -1;
    m_temporary.clear();
}

bool ReplacementFile::fail(int error, std::string& reason) {
    discard();
    reason = std::strerror(error);
    return false;
}

bool ReplacementFile::open(const std::string& path, mode_t mode, std::string& reason) {
    discard();
    m_target = resolvedTarget(path);
    if (const int error = checkExistingTarget(m_target, m_existing, m_targetExists); error != 0)
        return fail(error, reason);
    m_fd = createTemporary(folderOf(m_target), mode, m_temporary);
    if (m_fd < 0) {
        m_temporary.clear();
        return fail(errno, reason);
    }
    return true;
}

bool ReplacementFile::write(std::string_view bytes, std::string& reason) {
    if (m_fd < 0)
        return fail(EBADF, reason);
    return writeAll(m_fd, bytes) || fail(errno, reason);
}

// Flushes, sets owner and mode, and closes the temporary file; 0 or the errno of the first failure.
int ReplacementFile::finishTemporary(bool syncToDisk) {
    int error = 0;
    if (syncToDisk && ::fsync(m_fd) != 0)
        error = errno;
    else if (m_exactMode)
        ::fchmod(m_fd, *m_exactMode);
    else if (m_targetExists)
        copyOwnerAndMode(m_fd, m_existing);
    if (error == 0 && m_executable)
        addExecuteBits(m_fd);
    if (::close(m_fd) != 0 && error == 0)
        error = errno;
    m_fd = -1;
    return error;
}

bool ReplacementFile::commit(bool syncToDisk, std::string& reason) {
    if (m_fd < 0)
        return fail(EBADF, reason);
    int error = finishTemporary(syncToDisk);
    if (error == 0 && ::rename(m_temporary.c_str(), m_target.c_str()) != 0)
        error = errno;
    if (error != 0)
        return fail(error, reason);
    m_temporary.clear();
    if (syncToDisk)
        syncFolder(folderOf(m_target));
    return true;
}

bool replaceFileContent(const std::string& path, std::string_view content, std::string& reason) {
    ReplacementFile file;
    return file.open(path, 0666, reason) && file.write(content, reason) &&
           file.commit(true, reason);
}

} // namespace orvane
