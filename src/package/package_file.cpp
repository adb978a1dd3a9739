// Reading the package file into a padded buffer and handing its UTF-8 text to the parser.
//
// Memory matters here: packages run to hundreds of megabytes. A regular file is
// mapped, padding behind it, and UTF-8 text (the usual case) is scanned where it
// lies, byte-order mark skipped; the mapping becomes the document's, so loading
// neither copies the file nor asks for fresh memory of its size. Everything else
// (another encoding, a fault to describe, a file that cannot be mapped) goes the
// general way: the bytes are read into a writable buffer with the parser's padding,
// and other encodings are decoded once into a second buffer, the file's bytes
// released before parsing. The text is not split into lines and joined again
// with CR LF: in valid JSON line breaks stand only between tokens (strings hold
// them as escapes), so that would change no value.
#include "package_file.h"

#include "file_handle.h"
#include "json_scanner.h"
#include "text_buffer.h"
#include "text_encoding.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// A file's bytes in a buffer the parser can read ahead in.
struct FileBytes {
    TextBuffer buffer;
    std::size_t length = 0;
    std::string_view view() const { return {buffer.data(), length}; }
};

std::string systemError(int code) {
    char text[256];
    return strerror_r(code, text, sizeof text); // the GNU form returns the text
}

// Makes room for at least `needed` bytes, keeping what has been read.
bool growBuffer(FileBytes& bytes, std::size_t needed) {
    try {
        TextBuffer larger(needed);
        if (bytes.length > 0)
            std::memcpy(larger.data(), bytes.buffer.data(), bytes.length);
        bytes.buffer = std::move(larger);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

// One read into the free end of the buffer: the bytes read, 0 at the end, -1 on error.
ssize_t readMore(int fd, FileBytes& bytes) {
    for (;;) {
        const ssize_t got =
            ::read(fd, bytes.buffer.data() + bytes.length, bytes.buffer.size() - bytes.length);
        if (got >= 0 || errno != EINTR)
            return got;
    }
}

// Reads to the end. The buffer is sized by `sizeHint` plus one byte, so that the
// end is seen without growing; a file that grows while read, or a pipe, still fits.
std::optional<FileBytes> readAll(int fd, std::size_t sizeHint, std::string& error) {
    FileBytes bytes;
    for (;;) {
        if (bytes.length == bytes.buffer.size() &&
            !growBuffer(bytes, std::max(sizeHint + 1, bytes.length * 2))) {
            error = systemError(ENOMEM);
            return std::nullopt;
        }
        const ssize_t got = readMore(fd, bytes);
        if (got < 0) {
            error = systemError(errno);
            return std::nullopt;
        }
        if (got == 0)
            break;
        bytes.length += static_cast<std::size_t>(got);
    }
    // The parser reads the unused end of the buffer as padding.
    std::memset(bytes.buffer.data() + bytes.length, 0, bytes.buffer.size() - bytes.length);
    return bytes;
}

LoadedJson parseText(const std::string& path, TextBuffer buffer, std::size_t begin,
                     std::size_t length) {
    LoadedJson loaded = readJson(std::move(buffer), begin, length);
    if (!loaded.document)
        loaded.error = "Paketdatei " + path + ": " + loaded.error;
    return loaded;
}

// Decodes text that is not valid UTF-8 into a buffer of its own, then parses it.
LoadedJson parseDecoded(const std::string& path, FileBytes bytes, DetectedEncoding detected) {
    const std::string_view text = bytes.view().substr(detected.markLength);
    TextBuffer decoded;
    try {
        decoded = TextBuffer(decodedUtf8Length(text, detected.encoding));
    } catch (const std::bad_alloc&) {
        return {std::nullopt, "Paketdatei " + path + ": " + systemError(ENOMEM)};
    }
    decodeToUtf8(text, detected.encoding, decoded.data());
    bytes = FileBytes(); // the file's bytes are no longer needed
    const std::size_t length = decoded.size();
    return parseText(path, std::move(decoded), 0, length);
}

LoadedJson cannotRead(const std::string& path, const std::string& error) {
    return {std::nullopt, "Paketdatei " + path + " kann nicht gelesen werden: " + error};
}

LoadedJson loadBytes(const std::string& path, FileBytes bytes) {
    const DetectedEncoding detected = detectTextEncoding(bytes.view());
    const std::string_view text = bytes.view().substr(detected.markLength);
    // Without a mark, detection has already found the bytes valid UTF-8.
    if (detected.encoding == TextEncoding::Utf8 && (detected.markLength == 0 || isValidUtf8(text)))
        return parseText(path, std::move(bytes.buffer), detected.markLength, text.size());
    return parseDecoded(path, std::move(bytes), detected);
}

// A text the scanner accepts is well-formed UTF-8, which is what detection would
// have found; anything else goes the general way, from a writable copy.
LoadedJson loadMapped(const std::string& path, TextBuffer mapped) {
    const std::size_t mark = std::string_view(mapped.data(), mapped.size()).starts_with(kUtf8Mark)
                                 ? kUtf8Mark.size()
                                 : 0;
    if (std::optional<JsonDocument> document = scanJson(mapped, mark, mapped.size() - mark))
        return {std::move(document), {}};
    FileBytes bytes;
    if (!growBuffer(bytes, mapped.size()))
        return cannotRead(path, systemError(ENOMEM));
    std::memcpy(bytes.buffer.data(), mapped.data(), mapped.size());
    bytes.length = mapped.size();
    mapped = TextBuffer();
    return loadBytes(path, std::move(bytes));
}

} // namespace

LoadedJson loadPackageFile(const std::string& path) {
    const FileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (file.fd() < 0 || ::fstat(file.fd(), &info) != 0)
        return cannotRead(path, systemError(errno));
    if (S_ISDIR(info.st_mode))
        return cannotRead(path, systemError(EISDIR));
    const auto size = static_cast<std::size_t>(info.st_size);
    if (S_ISREG(info.st_mode)) {
        if (TextBuffer mapped = TextBuffer::mapFile(file.fd(), size); mapped.data())
            return loadMapped(path, std::move(mapped));
    }
    std::string error;
    std::optional<FileBytes> bytes = readAll(file.fd(), size, error);
    if (!bytes)
        return cannotRead(path, error);
    return loadBytes(path, std::move(*bytes));
}

} // namespace orvane
