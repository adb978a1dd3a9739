// Streaming Base64 decoding: the standard alphabet, every other character skipped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orvane {

// Decodes Base64 text (A-Z, a-z, 0-9, "+", "/") handed over in chunks of any
// size, so that an embedded file can be written out without holding it whole.
// Every character outside the alphabet is skipped: line breaks, blanks, the "="
// fill. Each four alphabet characters give three bytes; characters of a group
// that a chunk leaves incomplete wait for the next chunk. At the end, two left
// over characters give one byte, three give two, one gives nothing.
class Base64Decoder {
  public:
    // The most bytes decode() writes for a chunk of `chars` characters.
    static constexpr std::size_t maxDecodedSize(std::size_t chars) { return (chars + 3) / 4 * 3; }
    // The most bytes finish() writes.
    static constexpr std::size_t kMaxFinishBytes = 2;

    // Decodes `chunk` to `out`; returns the number of bytes written.
    std::size_t decode(std::string_view chunk, char* out);

    // Writes the bytes of the incomplete last group and starts afresh.
    std::size_t finish(char* out);

  private:
    std::uint32_t m_bits = 0; // the six-bit values of the incomplete group
    int m_count = 0;          // how many there are (0 to 3)
};

// The bytes of a whole Base64 text.
std::string decodeBase64(std::string_view text);

// The number of bytes decodeBase64(text) gives, without decoding.
std::size_t decodedBase64Size(std::string_view text);

} // namespace orvane
