// Embedded files decoded piece by piece from the package document.
#include "package_lookup.h"

#include "base64_decoder.h"

namespace orvane {

namespace {

// Base64 characters decoded per piece: large enough that the per-piece work (a write, a repaint)
// costs nothing, small enough that the decoded piece is still in the cache when it is written.
constexpr std::size_t kPieceChars = 256 * 1024;

class Base64Source : public ByteSource {
  public:
    explicit Base64Source(std::string_view text)
        : m_rest(text), m_buffer(std::make_unique_for_overwrite<char[]>(kBufferBytes)) {}

    std::string_view next() override {
        // A piece of nothing but line breaks decodes to no bytes; that is not the end yet.
        while (!m_rest.empty()) {
            const std::string_view piece = m_rest.substr(0, kPieceChars);
            m_rest.remove_prefix(piece.size());
            std::size_t size = m_decoder.decode(piece, m_buffer.get());
            if (m_rest.empty())
                size += m_decoder.finish(m_buffer.get() + size);
            if (size > 0)
                return {m_buffer.get(), size};
        }
        return {};
    }

  private:
    static constexpr std::size_t kBufferBytes =
        Base64Decoder::maxDecodedSize(kPieceChars) + Base64Decoder::kMaxFinishBytes;

    std::string_view m_rest;
    Base64Decoder m_decoder;
    std::unique_ptr<char[]> m_buffer;
};

} // namespace

std::unique_ptr<ByteSource> PackageLookup::bytes(std::string_view path) const {
    return std::make_unique<Base64Source>(m_document.packageString(path));
}

std::uint64_t PackageLookup::byteCount(std::string_view path) const {
    return decodedBase64Size(m_document.packageString(path));
}

} // namespace orvane
