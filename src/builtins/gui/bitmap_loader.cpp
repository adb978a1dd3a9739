// Bitmap loading.
#include "bitmap_loader.h"

#include "allgemeines.h"
#include "script_error.h"

#include <QByteArray>

#include <cerrno>
#include <cstdlib>
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
    // Without O_NONBLOCK, opening a named pipe would wait for a writer forever.
    Descriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
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

std::uint32_t littleEndian(std::string_view bytes, std::size_t at, std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t k = width; k-- > 0;)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + k]);
    return value;
}

// Whether the bytes hold every pixel row their headers announce. The image reader would
// fill the missing rows of a cut-off file with black; such a file is broken.
bool holdsAllPixels(std::string_view bytes) {
    constexpr std::size_t kFileHeader = 14;
    if (bytes.size() < kFileHeader + 12)
        return false;
    const std::uint64_t pixelsAt = littleEndian(bytes, 10, 4);
    const std::uint32_t infoSize = littleEndian(bytes, kFileHeader, 4);
    std::int64_t width = 0, height = 0;
    std::uint32_t bitsPerPixel = 0, compression = 0;
    if (infoSize == 12) { // the old OS/2 header with 16-bit sizes
        width = littleEndian(bytes, 18, 2);
        height = littleEndian(bytes, 20, 2);
        bitsPerPixel = littleEndian(bytes, 24, 2);
    } else if (infoSize >= 40 && bytes.size() >= kFileHeader + 40) {
        width = static_cast<std::int32_t>(littleEndian(bytes, 18, 4));
        height = static_cast<std::int32_t>(littleEndian(bytes, 22, 4));
        bitsPerPixel = littleEndian(bytes, 28, 2);
        compression = littleEndian(bytes, 30, 4);
    } else {
        return false;
    }
    constexpr std::uint32_t kRgb = 0, kBitFields = 3;
    if (compression != kRgb && compression != kBitFields)
        return true; // run-length coded rows have no fixed size; the reader checks them
    const std::uint64_t rowBytes =
        (static_cast<std::uint64_t>(std::abs(width)) * bitsPerPixel + 31) / 32 * 4;
    return pixelsAt + rowBytes * static_cast<std::uint64_t>(std::abs(height)) <= bytes.size();
}

} // namespace

QImage decodeWindowsBitmap(std::string_view bytes) {
    // Every Windows bitmap file starts with its "BM" file header.
    if (bytes.size() < 2 || bytes.substr(0, 2) != "BM" || !holdsAllPixels(bytes))
        throw invalidBitmap();
    const QByteArray data =
        QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QImage image;
    if (!image.loadFromData(data, "BMP") || image.isNull())
        throw invalidBitmap();
    return image;
}

QImage loadWindowsBitmapFile(std::string_view file) {
    // A relative path stays as it is when the current folder is gone; opening it then fails.
    const std::filesystem::path given = nativePath(file);
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(given, error);
    const std::string path = (error ? given : absolute.lexically_normal()).string();
    return decodeWindowsBitmap(readBitmapFile(path));
}

} // namespace orvane
