// Bitmap loading.
#include "bitmap_loader.h"

#include "allgemeines.h"
#include "script_error.h"

#include <QByteArray>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane {

namespace {

// No bitmap a script shows is larger: 8192 x 8192 pixels of 32 bits. Larger files are
// refused before they are read, so a wrong file cannot exhaust the memory.
constexpr std::uint64_t kMaxBitmapBytes = 256ull << 20;

ScriptError invalidBitmap() {
    return ScriptError("Bitmap ist ungültig");
}

// The reason the system gives, in the words of the platform the scripts were written for.
std::string reasonFor(int error) {
    switch (error) {
    case ENOENT:
        return "Das System kann die angegebene Datei nicht finden.";
    case ENOTDIR:
        return "Das System kann den angegebenen Pfad nicht finden.";
    case EACCES:
    case EPERM:
    case EISDIR:
        return "Zugriff verweigert.";
    case ENAMETOOLONG:
        return "Der Dateiname oder die Erweiterung ist zu lang.";
    default:
        return "Systemfehler " + std::to_string(error) + ": " + std::strerror(error) + ".";
    }
}

ScriptError cannotOpen(const std::string& path, int error) {
    return ScriptError("Datei " + path + " kann nicht geöffnet werden. " + reasonFor(error));
}

// Closes the descriptor whatever happens while reading.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

std::string readBitmapFile(const std::string& path) {
    Descriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    if (file.fd < 0)
        throw cannotOpen(path, errno);
    struct stat info {};
    if (::fstat(file.fd, &info) != 0)
        throw cannotOpen(path, errno);
    if (S_ISDIR(info.st_mode))
        throw cannotOpen(path, EISDIR);
    if (!S_ISREG(info.st_mode) || static_cast<std::uint64_t>(info.st_size) > kMaxBitmapBytes)
        throw invalidBitmap();
    std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = ::read(file.fd, bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw cannotOpen(path, errno);
        if (got == 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    return bytes;
}

} // namespace

QImage decodeWindowsBitmap(std::string_view bytes) {
    // Every Windows bitmap file starts with its "BM" file header.
    if (bytes.size() < 2 || bytes.substr(0, 2) != "BM")
        throw invalidBitmap();
    const QByteArray data =
        QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QImage image;
    if (!image.loadFromData(data, "BMP") || image.isNull())
        throw invalidBitmap();
    return image;
}

QImage loadWindowsBitmapFile(std::string_view file) {
    const std::string path =
        std::filesystem::absolute(nativePath(file)).lexically_normal().string();
    return decodeWindowsBitmap(readBitmapFile(path));
}

} // namespace orvane
