// Extraction of the payload: one zstd stream cut into the index's files.
#include "extraction.h"

#include "launcher_error.h"

#include <zstd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace orvane::bundle {

namespace {

namespace fs = std::filesystem;

[[noreturn]] void cannotExtract(const std::string& path, int error) {
    throw launcherError("Kann nicht entpacken", path, std::strerror(error));
}

// The payload's bytes in order, decompressed on demand.
class PayloadStream {
  public:
    explicit PayloadStream(const BundleFile& bundle)
        : m_bundle(bundle),
          m_context(ZSTD_createDStream(), ZSTD_freeDStream), m_input{bundle.payload().data(),
                                                                     bundle.payload().size(), 0} {
        if (!m_context)
            throw LauncherError("Kein Speicher zum Entpacken");
    }

    // Up to `capacity` next bytes into `out`; 0 only at the end of the payload.
    std::size_t read(char* out, std::size_t capacity) {
        ZSTD_outBuffer output{out, capacity, 0};
        while (output.pos == 0 && !atEnd()) {
            const std::size_t result = ZSTD_decompressStream(m_context.get(), &output, &m_input);
            if (ZSTD_isError(result))
                m_bundle.damaged("Inhalt unlesbar");
            m_frameOpen = result != 0;
            if (output.pos == 0 && m_input.pos == m_input.size && m_frameOpen)
                m_bundle.damaged("Inhalt unvollständig");
        }
        return output.pos;
    }

    bool atEnd() const { return m_input.pos == m_input.size && !m_frameOpen; }

  private:
    const BundleFile& m_bundle;
    std::unique_ptr<ZSTD_DStream, std::size_t (*)(ZSTD_DStream*)> m_context;
    ZSTD_inBuffer m_input;
    bool m_frameOpen = false;
};

void writeAll(int fd, const char* data, std::size_t size, const std::string& path) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            cannotExtract(path, errno);
        data += written;
        size -= static_cast<std::size_t>(written);
    }
}

void extractFile(PayloadStream& stream, const IndexEntry& entry, const std::string& root,
                 std::vector<char>& buffer) {
    const fs::path path = fs::path(root) / entry.path;
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    const mode_t mode = entry.executable ? 0755 : 0644;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0)
        cannotExtract(path, errno);
    ::fchmod(fd, mode); // whatever the umask
    for (std::uint64_t left = entry.size; left > 0;) {
        const std::size_t n =
            stream.read(buffer.data(), std::min<std::uint64_t>(left, buffer.size()));
        if (n == 0) {
            ::close(fd);
            throw launcherError("Installationsdatei beschädigt", path, "Inhalt unvollständig");
        }
        writeAll(fd, buffer.data(), n, path);
        left -= n;
    }
    if (::close(fd) != 0)
        cannotExtract(path, errno);
}

void extractInto(const std::string& root, const BundleFile& bundle) {
    if (::mkdir(root.c_str(), 0755) != 0)
        cannotExtract(root, errno);
    PayloadStream stream(bundle);
    std::vector<char> buffer(1 << 20);
    for (const IndexEntry& entry : bundle.index().files)
        extractFile(stream, entry, root, buffer);
    char extra = 0;
    if (stream.read(&extra, 1) != 0)
        bundle.damaged("Inhalt länger als angegeben");
}

// Holds an exclusive flock on a lock file while it lives.
class FolderLock {
  public:
    explicit FolderLock(const std::string& path)
        : m_fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
        if (m_fd < 0)
            cannotExtract(path, errno);
        while (::flock(m_fd, LOCK_EX) != 0)
            if (errno != EINTR)
                cannotExtract(path, errno);
    }
    ~FolderLock() { ::close(m_fd); }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

  private:
    int m_fd;
};

void removeTree(const std::string& path) {
    std::error_code error;
    fs::remove_all(path, error);
    if (error)
        cannotExtract(path, error.value());
}

} // namespace

std::string bundleCacheFolder() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache != nullptr && cache[0] == '/')
        return std::string(cache) + "/orvane/bundles";
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') {
        const passwd* user = ::getpwuid(::getuid());
        home = user != nullptr ? user->pw_dir : nullptr;
    }
    if (home == nullptr || home[0] != '/')
        throw LauncherError(
            "Kein Ordner zum Entpacken: weder XDG_CACHE_HOME noch HOME ist gesetzt");
    return std::string(home) + "/.cache/orvane/bundles";
}

bool treeMatches(const std::string& folder, const Index& index) {
    for (const IndexEntry& entry : index.files) {
        struct stat info {};
        const std::string path = folder + "/" + entry.path;
        if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
            static_cast<std::uint64_t>(info.st_size) != entry.size ||
            ((info.st_mode & S_IXUSR) != 0) != entry.executable)
            return false;
    }
    return true;
}

std::string extractedFolder(const BundleFile& bundle) {
    const std::string cache = bundleCacheFolder();
    const std::string folder = cache + "/" + toHex(bundle.trailer().sha256).substr(0, 16);
    if (treeMatches(folder, bundle.index()))
        return folder;
    std::error_code error;
    fs::create_directories(cache, error);
    if (error)
        cannotExtract(cache, error.value());
    const FolderLock lock(folder + ".lock");
    if (treeMatches(folder, bundle.index()))
        return folder; // another start extracted it while we waited
    const std::string part = folder + ".part";
    removeTree(part); // left by a start that was killed
    try {
        extractInto(part, bundle);
    } catch (const LauncherError&) {
        fs::remove_all(part, error);
        throw;
    }
    // A tree that no longer matches (changed or partly deleted) is replaced as a whole.
    const std::string stale = folder + ".stale";
    removeTree(stale);
    if (::rename(folder.c_str(), stale.c_str()) != 0 && errno != ENOENT)
        cannotExtract(folder, errno);
    if (::rename(part.c_str(), folder.c_str()) != 0)
        cannotExtract(folder, errno);
    removeTree(stale);
    return folder;
}

} // namespace orvane::bundle
