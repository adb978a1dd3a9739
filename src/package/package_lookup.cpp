// Embedded files decoded piece by piece from the package document, checked on the way.
#include "package_lookup.h"

#include "base64_decoder.h"

namespace orvane {

namespace {

constexpr std::size_t kCountingPieceBytes = 256 * 1024;

} // namespace

std::unique_ptr<ByteSource> PackageLookup::bytes(std::string_view path) const {
    return openPackedFile(m_document.packedFile(path));
}

std::uint64_t PackageLookup::byteCount(std::string_view path) const {
    const PackedFile file = m_document.packedFile(path);
    if (file.size)
        return *file.size;
    if (!file.zstd && !file.sha256 && !file.base64Escaped)
        return decodedBase64Size(file.base64);
    // The count of a compressed file is known only once it is decompressed; a file with a digest
    // is checked before its count is believed; escaped text is counted as it is unescaped.
    const std::unique_ptr<ByteSource> source = openPackedFile(file);
    std::string piece(kCountingPieceBytes, '\0');
    std::uint64_t count = 0;
    while (const std::size_t size = source->read(piece.data(), piece.size()))
        count += size;
    return count;
}

} // namespace orvane
