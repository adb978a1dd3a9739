// First pass: read, hash and compress into an unnamed scratch file. Second pass: Base64 of the
// scratch file or of the original, whichever is stored.
#include "packed_file_writer.h"

#include "base64_writer.h"
#include "file_handle.h"
#include "json_output.h"
#include "sha256.h"

#include <zstd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace orvane {

namespace {

constexpr std::size_t kPieceBytes = 1 << 20;

bool systemError(const std::string& path, std::string& error) {
    error = path + ": " + std::strerror(errno);
    return false;
}

// Reads up to `size` bytes, retrying after interruptions; -1 on errors.
ssize_t readSome(int fd, char* data, std::size_t size) {
    for (;;) {
        const ssize_t got = ::read(fd, data, size);
        if (got >= 0 || errno != EINTR)
            return got;
    }
}

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t put = ::write(fd, data, size);
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0)
            return false;
        data += put;
        size -= static_cast<std::size_t>(put);
    }
    return true;
}

// A file in `folder` that has no name: it disappears with its descriptor, whatever happens.
int openScratchFile(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL))
        return fd;
    std::string name = folder + "/.orvane-pack-XXXXXX";
    const int named = ::mkstemp(name.data());
    if (named >= 0)
        ::unlink(name.c_str());
    return named;
}

// Encodes `expected` bytes of `fd` from its start; false when it holds another count now.
bool encodeFile(int fd, std::uint64_t expected, char* buffer, Base64Writer& encoder) {
    if (::lseek(fd, 0, SEEK_SET) != 0)
        return false;
    std::uint64_t total = 0;
    ssize_t got = 0;
    while ((got = readSome(fd, buffer, kPieceBytes)) > 0) {
        encoder.write(std::string_view(buffer, static_cast<std::size_t>(got)));
        total += static_cast<std::uint64_t>(got);
    }
    if (got < 0)
        return false;
    if (total != expected) {
        errno = EAGAIN; // the file changed between the two passes
        return false;
    }
    return true;
}

} // namespace

struct PackedFileWriter::Scan {
    std::uint64_t size = 0;
    std::uint64_t compressedSize = 0;
    std::string sha256;
};

PackedFileWriter::PackedFileWriter(CompressionSettings settings, std::string scratchFolder)
    : m_settings(settings), m_scratchFolder(std::move(scratchFolder)),
      m_input(std::make_unique<char[]>(kPieceBytes)),
      m_output(std::make_unique<char[]>(ZSTD_CStreamOutSize())) {
    if (!m_settings.compress)
        return;
    m_context = ZSTD_createCCtx();
    if (m_context == nullptr)
        throw std::bad_alloc();
    ZSTD_CCtx_setParameter(m_context, ZSTD_c_compressionLevel, m_settings.level);
    // Always at least one worker: the frames of the multithreaded compressor do not depend on the
    // number of workers, so packages come out the same on every machine. A library built without
    // threads refuses, and then compresses on this thread.
    const int workers = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    ZSTD_CCtx_setParameter(m_context, ZSTD_c_nbWorkers, workers);
}

PackedFileWriter::~PackedFileWriter() {
    ZSTD_freeCCtx(m_context);
}

bool PackedFileWriter::compressPiece(const char* data, std::size_t size, bool last, int scratch,
                                     Scan& result, std::string& error) {
    ZSTD_inBuffer input{data, size, 0};
    const std::size_t outputSize = ZSTD_CStreamOutSize();
    for (;;) {
        ZSTD_outBuffer output{m_output.get(), outputSize, 0};
        const std::size_t left =
            ZSTD_compressStream2(m_context, &output, &input, last ? ZSTD_e_end : ZSTD_e_continue);
        if (ZSTD_isError(left)) {
            error = std::string("zstd: ") + ZSTD_getErrorName(left);
            return false;
        }
        if (!writeAll(scratch, m_output.get(), output.pos))
            return systemError(m_scratchFolder, error);
        result.compressedSize += output.pos;
        const bool drained = last ? left == 0 : input.pos == input.size;
        if (drained)
            return true;
    }
}

bool PackedFileWriter::scan(int input, int scratch, Scan& result, std::string& error) {
    if (m_context != nullptr) {
        ZSTD_CCtx_reset(m_context, ZSTD_reset_session_only);
        struct stat info {};
        if (::fstat(input, &info) == 0)
            ZSTD_CCtx_setPledgedSrcSize(m_context, static_cast<unsigned long long>(info.st_size));
    }
    Sha256 hash;
    ssize_t got = 0;
    while ((got = readSome(input, m_input.get(), kPieceBytes)) > 0) {
        const auto size = static_cast<std::size_t>(got);
        hash.update(m_input.get(), size);
        result.size += size;
        if (m_context != nullptr &&
            !compressPiece(m_input.get(), size, false, scratch, result, error))
            return false;
    }
    if (got < 0)
        return false;
    result.sha256 = hash.finishHex();
    return m_context == nullptr || compressPiece(nullptr, 0, true, scratch, result, error);
}

bool PackedFileWriter::write(std::ostream& out, const std::string& id, const std::string& path,
                             std::string& error) {
    const FileHandle input(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (input.fd() < 0 || ::fstat(input.fd(), &info) != 0)
        return systemError(path, error);
    if (!S_ISREG(info.st_mode)) {
        errno = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        return systemError(path, error);
    }
    const FileHandle scratch(m_context != nullptr ? openScratchFile(m_scratchFolder) : -1);
    if (m_context != nullptr && scratch.fd() < 0)
        return systemError(m_scratchFolder, error);
    Scan result;
    if (!scan(input.fd(), scratch.fd(), result, error))
        return error.empty() ? systemError(path, error) : false;
    const bool compressed =
        m_context != nullptr && result.size > 0 &&
        result.compressedSize * 100 <= result.size * (100 - kMinimumSavingPercent);
    out << "{\"id\":" << jsonString(id) << ",\"size\":" << result.size << ",\"sha256\":\""
        << result.sha256 << '"' << (compressed ? ",\"compression\":\"zstd\"" : "") << ",\"bin\":\"";
    Base64Writer encoder(out);
    const bool encoded =
        compressed ? encodeFile(scratch.fd(), result.compressedSize, m_input.get(), encoder)
                   : encodeFile(input.fd(), result.size, m_input.get(), encoder);
    if (!encoded)
        return systemError(compressed ? m_scratchFolder : path, error);
    encoder.finish();
    out << "\"}";
    return true;
}

} // namespace orvane
