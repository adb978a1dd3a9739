// Base64 -> zstd -> SHA-256, one piece at a time.
#include "packed_file.h"

#include "base64_decoder.h"
#include "json_text.h"
#include "script_error.h"
#include "sha256.h"

#include <zstd.h>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <utility>

namespace orvane {

namespace {

// Decodes a Base64 text where it lies in the document, as much at a time as the reader's buffer
// takes. Text with JSON escapes still in it is unescaped a piece at a time on the way.
class Base64Pieces {
  public:
    Base64Pieces(std::string_view text, bool escaped) : m_rest(text), m_escaped(escaped) {}

    std::size_t read(char* out, std::size_t capacity) {
        // Whole groups of four characters whose bytes fit with those finish() may add.
        const std::size_t chars = (capacity - Base64Decoder::kMaxFinishBytes) / 3 * 4;
        // A piece of nothing but line breaks decodes to no bytes; that is not the end yet.
        while (!m_rest.empty()) {
            const std::string_view piece = nextPiece(chars);
            std::size_t size = m_decoder.decode(piece, out);
            if (m_rest.empty())
                size += m_decoder.finish(out + size);
            if (size > 0)
                return size;
        }
        return 0;
    }

  private:
    // At most `chars` characters of text; `chars` leaves room for the longest escape.
    std::string_view nextPiece(std::size_t chars) {
        if (!m_escaped) {
            const std::string_view piece = m_rest.substr(0, chars);
            m_rest.remove_prefix(piece.size());
            return piece;
        }
        m_unescaped.resize(chars);
        const UnescapedPiece piece = unescapeJsonPiece(m_rest.data(), m_rest.data() + m_rest.size(),
                                                       m_unescaped.data(), chars);
        m_rest.remove_prefix(static_cast<std::size_t>(piece.next - m_rest.data()));
        return {m_unescaped.data(), static_cast<std::size_t>(piece.end - m_unescaped.data())};
    }

    std::string_view m_rest;
    bool m_escaped;
    std::string m_unescaped; // the last piece of escaped text
    Base64Decoder m_decoder;
};

struct DecompressorDeleter {
    void operator()(ZSTD_DCtx* context) const { ZSTD_freeDCtx(context); }
};

// Decompresses the zstd frames that the Base64 text holds.
class ZstdPieces {
  public:
    ZstdPieces(std::string_view text, bool escaped, std::string path)
        : m_base64(text, escaped), m_path(std::move(path)), m_context(ZSTD_createDCtx()),
          m_buffer(std::make_unique<char[]>(kInputBytes)) {
        if (!m_context)
            throw std::bad_alloc();
    }

    std::size_t read(char* out, std::size_t capacity) {
        ZSTD_outBuffer output{out, capacity, 0};
        for (;;) {
            refill();
            if (m_atFrameStart && m_input.pos < m_input.size)
                startFrame();
            const std::size_t outputBefore = output.pos;
            const std::size_t inputBefore = m_input.pos;
            const std::size_t hint = ZSTD_decompressStream(m_context.get(), &output, &m_input);
            if (ZSTD_isError(hint))
                failCorrupted(m_path);
            m_frameProduced += output.pos - outputBefore;
            const bool progress = output.pos > outputBefore || m_input.pos > inputBefore;
            if (progress) // 0 once a frame is complete and flushed
                m_frameComplete = hint == 0;
            if (progress && m_frameComplete)
                endFrame();
            if (output.pos == output.size)
                return output.pos;
            if (!progress && m_inputEnded && m_input.pos == m_input.size) {
                if (!m_frameComplete) // the frame stops before its end, or there is none
                    failCorrupted(m_path);
                return output.pos;
            }
        }
    }

  private:
    static constexpr std::size_t kInputBytes = 256 * 1024;
    // The longest frame header: magic number, descriptor, window, dictionary id, content size.
    static constexpr std::size_t kFrameHeaderMax = 18;

    // Reads more when the buffer is used up, or when a frame starts in its last bytes: the frame's
    // header must lie whole in the buffer to be read.
    void refill() {
        const std::size_t left = m_input.size - m_input.pos;
        const std::size_t wanted = m_atFrameStart ? kFrameHeaderMax : 1;
        if (left >= wanted || m_inputEnded)
            return;
        if (left > 0)
            std::memmove(m_buffer.get(), static_cast<const char*>(m_input.src) + m_input.pos, left);
        const std::size_t read = m_base64.read(m_buffer.get() + left, kInputBytes - left);
        m_input = {m_buffer.get(), left + read, 0};
        m_inputEnded = read == 0;
    }

    // The content size a frame's header states, when it states one. Reading in small pieces, the
    // decompressor does not compare it with what the frame yields, so that is checked here.
    void startFrame() {
        m_frameStated = ZSTD_getFrameContentSize(
            static_cast<const char*>(m_input.src) + m_input.pos, m_input.size - m_input.pos);
        m_frameProduced = 0;
        m_atFrameStart = false;
    }

    void endFrame() {
        const bool stated =
            m_frameStated != ZSTD_CONTENTSIZE_UNKNOWN && m_frameStated != ZSTD_CONTENTSIZE_ERROR;
        if (stated && m_frameProduced != m_frameStated)
            failCorrupted(m_path);
        m_atFrameStart = true;
    }

    Base64Pieces m_base64;
    std::string m_path;
    std::unique_ptr<ZSTD_DCtx, DecompressorDeleter> m_context;
    std::unique_ptr<char[]> m_buffer;
    ZSTD_inBuffer m_input{nullptr, 0, 0};
    bool m_inputEnded = false;
    bool m_frameComplete = false;
    bool m_atFrameStart = true;
    unsigned long long m_frameStated = ZSTD_CONTENTSIZE_UNKNOWN;
    unsigned long long m_frameProduced = 0;
};

// Counts and hashes what the stages deliver and checks it against the stored facts.
class CheckedSource : public ByteSource {
  public:
    explicit CheckedSource(const PackedFile& file)
        : m_file(file), m_raw(file.base64, file.base64Escaped) {
        if (file.zstd)
            m_zstd.emplace(file.base64, file.base64Escaped, m_file.path);
    }

    std::size_t read(char* out, std::size_t capacity) override {
        if (m_done)
            return 0;
        const std::size_t size = m_zstd ? m_zstd->read(out, capacity) : m_raw.read(out, capacity);
        m_count += size;
        if (m_file.size && m_count > *m_file.size)
            failCorrupted(m_file.path);
        m_hash.update(out, size);
        if (size == 0)
            finish();
        return size;
    }

    std::string sha256() const override { return m_digest; }

  private:
    void finish() {
        m_done = true;
        m_digest = m_hash.finishHex();
        if ((m_file.size && m_count != *m_file.size) ||
            (m_file.sha256 && m_digest != *m_file.sha256))
            failCorrupted(m_file.path);
    }

    PackedFile m_file;
    Base64Pieces m_raw; // read directly when the file is stored uncompressed
    std::optional<ZstdPieces> m_zstd;
    Sha256 m_hash;
    std::uint64_t m_count = 0;
    std::string m_digest;
    bool m_done = false;
};

bool isLowerHex(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

std::optional<std::uint64_t> parseSize(std::string_view text) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace

void failCorrupted(std::string_view path) {
    throw ScriptError("Paketinhalt beschädigt: " + std::string(path) + " (Prüfsumme stimmt nicht)");
}

PackedFile describePackedFile(std::string path, std::string_view base64,
                              const std::optional<JsonValue>& owner) {
    PackedFile file{std::move(path), base64, std::nullopt, std::nullopt, false, false};
    if (!owner)
        return file;
    if (const auto size = owner->member("size")) {
        file.size = size->kind() == JsonKind::Number ? parseSize(size->text()) : std::nullopt;
        if (!file.size)
            failCorrupted(file.path);
    }
    if (const auto sha256 = owner->member("sha256")) {
        const std::string_view digest = sha256->text();
        if (sha256->kind() != JsonKind::String || digest.size() != 64 || !isLowerHex(digest))
            failCorrupted(file.path);
        file.sha256 = std::string(digest);
    }
    if (const auto compression = owner->member("compression")) {
        if (compression->kind() != JsonKind::String || compression->text() != "zstd")
            failCorrupted(file.path);
        file.zstd = true;
    }
    return file;
}

std::unique_ptr<ByteSource> openPackedFile(const PackedFile& file) {
    return std::make_unique<CheckedSource>(file);
}

std::string readPackedFile(const PackedFile& file) {
    CheckedSource source(file);
    std::string bytes;
    if (file.size)
        bytes.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(*file.size, 1 << 26)));
    std::string piece(64 * 1024, '\0');
    while (const std::size_t size = source.read(piece.data(), piece.size()))
        bytes.append(piece.data(), size);
    return bytes;
}

} // namespace orvane
