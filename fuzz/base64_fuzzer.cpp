// Base64: decoding in two pieces, split at every position, gives the one-shot result, and the
// announced size is the real one. Buffers are exactly as large as promised, so a write past the
// promise or a read past a piece is a sanitizer report.
#include "base64_decoder.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

namespace {

using orvane::Base64Decoder;

constexpr std::size_t kLongestSplitText = 4096;

// Decodes one piece from a heap copy of exactly its size and appends what came out.
void decodePiece(Base64Decoder& decoder, std::string_view piece, std::string& out) {
    const auto input = std::make_unique<char[]>(piece.size() + 1);
    piece.copy(input.get(), piece.size());
    const std::size_t room = Base64Decoder::maxDecodedSize(piece.size());
    const auto output = std::make_unique<char[]>(room + 1);
    const std::size_t written = decoder.decode({input.get(), piece.size()}, output.get());
    if (written > room)
        std::abort();
    out.append(output.get(), written);
}

std::string decodeSplit(std::string_view text, std::size_t at) {
    Base64Decoder decoder;
    std::string out;
    decodePiece(decoder, text.substr(0, at), out);
    decodePiece(decoder, text.substr(at), out);
    char tail[Base64Decoder::kMaxFinishBytes];
    out.append(tail, decoder.finish(tail));
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string whole = orvane::decodeBase64(text);
    if (orvane::decodedBase64Size(text) != whole.size())
        std::abort();
    // Every split costs a whole decode; beyond this the checks grow too slow to find much.
    if (text.size() > kLongestSplitText)
        return 0;
    for (std::size_t at = 0; at <= text.size(); ++at)
        if (decodeSplit(text, at) != whole)
            std::abort();
    return 0;
}
