// Table-driven Base64 decoding, four characters per step where the text allows.
#include "base64_decoder.h"

#include "base64_blocks_avx2.h"

#include <array>

namespace orvane {

namespace {

// Marks a character outside the alphabet in the tables below.
constexpr std::uint8_t kSkip = 0xFF;
constexpr std::uint32_t kBadGroup = 1u << 24;

constexpr std::uint8_t sextetOf(unsigned char c) {
    if (c >= 'A' && c <= 'Z')
        return static_cast<std::uint8_t>(c - 'A');
    if (c >= 'a' && c <= 'z')
        return static_cast<std::uint8_t>(c - 'a' + 26);
    if (c >= '0' && c <= '9')
        return static_cast<std::uint8_t>(c - '0' + 52);
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return kSkip;
}

constexpr std::array<std::uint8_t, 256> kSextets = [] {
    std::array<std::uint8_t, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[c] = sextetOf(static_cast<unsigned char>(c));
    return table;
}();

// The value of a character at position `slot` of a group, already shifted into
// place, so a group is the OR of four lookups; kBadGroup marks a skipped character.
constexpr std::array<std::uint32_t, 256> shiftedTable(int slot) {
    std::array<std::uint32_t, 256> table{};
    for (int c = 0; c < 256; ++c) {
        const std::uint8_t sextet = kSextets[c];
        table[c] = sextet == kSkip ? kBadGroup : std::uint32_t{sextet} << (6 * (3 - slot));
    }
    return table;
}

constexpr std::array<std::uint32_t, 256> kSlot0 = shiftedTable(0);
constexpr std::array<std::uint32_t, 256> kSlot1 = shiftedTable(1);
constexpr std::array<std::uint32_t, 256> kSlot2 = shiftedTable(2);
constexpr std::array<std::uint32_t, 256> kSlot3 = shiftedTable(3);

char* putGroup(char* out, std::uint32_t group) {
    out[0] = static_cast<char>(group >> 16);
    out[1] = static_cast<char>(group >> 8);
    out[2] = static_cast<char>(group);
    return out + 3;
}

} // namespace

std::size_t Base64Decoder::decode(std::string_view chunk, char* out) {
    const auto* p = reinterpret_cast<const unsigned char*>(chunk.data());
    const auto* end = p + chunk.size();
    char* o = out;
    for (;;) {
        // Whole groups while nothing is carried and the next four characters are
        // all in the alphabet: the common case inside a line.
        if (m_count == 0) {
            if (haveAvx2())
                decodeBlocksAvx2(p, end, o);
            while (end - p >= 4) {
                const std::uint32_t group =
                    kSlot0[p[0]] | kSlot1[p[1]] | kSlot2[p[2]] | kSlot3[p[3]];
                if (group & kBadGroup)
                    break;
                o = putGroup(o, group);
                p += 4;
            }
        }
        if (p == end)
            break;
        // One character at a time around skipped characters and chunk ends.
        const std::uint8_t sextet = kSextets[*p++];
        if (sextet == kSkip)
            continue;
        m_bits = (m_bits << 6) | sextet;
        if (++m_count == 4) {
            o = putGroup(o, m_bits);
            m_bits = 0;
            m_count = 0;
        }
    }
    return static_cast<std::size_t>(o - out);
}

std::size_t Base64Decoder::finish(char* out) {
    std::size_t written = 0;
    if (m_count == 2) {
        out[0] = static_cast<char>(m_bits >> 4);
        written = 1;
    } else if (m_count == 3) {
        out[0] = static_cast<char>(m_bits >> 10);
        out[1] = static_cast<char>(m_bits >> 2);
        written = 2;
    }
    m_bits = 0;
    m_count = 0;
    return written;
}

std::string decodeBase64(std::string_view text) {
    std::string bytes(Base64Decoder::maxDecodedSize(text.size()) + Base64Decoder::kMaxFinishBytes,
                      '\0');
    Base64Decoder decoder;
    std::size_t length = decoder.decode(text, bytes.data());
    length += decoder.finish(bytes.data() + length);
    bytes.resize(length);
    return bytes;
}

std::size_t decodedBase64Size(std::string_view text) {
    std::size_t sextets = 0;
    for (const char c : text)
        sextets += kSextets[static_cast<unsigned char>(c)] != kSkip;
    const std::size_t rest = sextets % 4;
    return sextets / 4 * 3 + (rest == 3 ? 2 : rest == 2 ? 1 : 0);
}

} // namespace orvane
