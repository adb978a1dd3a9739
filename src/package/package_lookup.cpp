// Embedded files decoded piece by piece from the package document.
#include "package_lookup.h"

#include "base64_decoder.h"

namespace orvane {

namespace {

// Decodes a Base64 text where it lies in the document, as much at a time as the reader's buffer
// takes.
class Base64Source : public ByteSource {
  public:
    explicit Base64Source(std::string_view text) : m_rest(text) {}

    std::size_t read(char* out, std::size_t capacity) override {
        // Whole groups of four characters whose bytes fit with those finish() may add.
        const std::size_t chars = (capacity - Base64Decoder::kMaxFinishBytes) / 3 * 4;
        // A piece of nothing but line breaks decodes to no bytes; that is not the end yet.
        while (!m_rest.empty()) {
            const std::string_view piece = m_rest.substr(0, chars);
            m_rest.remove_prefix(piece.size());
            std::size_t size = m_decoder.decode(piece, out);
            if (m_rest.empty())
                size += m_decoder.finish(out + size);
            if (size > 0)
                return size;
        }
        return 0;
    }

  private:
    std::string_view m_rest;
    Base64Decoder m_decoder;
};

} // namespace

std::unique_ptr<ByteSource> PackageLookup::bytes(std::string_view path) const {
    return std::make_unique<Base64Source>(m_document.packageString(path));
}

std::uint64_t PackageLookup::byteCount(std::string_view path) const {
    return decodedBase64Size(m_document.packageString(path));
}

} // namespace orvane
