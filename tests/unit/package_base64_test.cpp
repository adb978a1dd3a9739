// The streaming Base64 decoder: skipped characters, group ends, chunk boundaries.
#include "base64_decoder.h"
#include "package_test_support.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace orvane::test {
namespace {

// A plain reference encoder with "=" fill, wrapping lines after `lineLength` characters.
std::string encode(std::string_view bytes, std::size_t lineLength = 0) {
    static const char* alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        std::uint32_t group = 0;
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        for (std::size_t k = 0; k < 3; ++k)
            group = (group << 8) | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0);
        for (std::size_t k = 0; k < 4; ++k)
            out += k <= n ? alphabet[(group >> (18 - 6 * k)) & 0x3F] : '=';
    }
    if (lineLength == 0)
        return out;
    std::string wrapped;
    for (std::size_t i = 0; i < out.size(); i += lineLength)
        wrapped += out.substr(i, lineLength) + "\r\n";
    return wrapped;
}

std::string randomBytes(std::size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(count, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(random() & 0xFF);
    return bytes;
}

// Decodes `text` in chunks cut at `cuts`, each into a buffer of exactly the
// documented size, so that a write past it is caught by the sanitizer build.
std::string decodeInChunks(std::string_view text, const std::vector<std::size_t>& cuts) {
    Base64Decoder decoder;
    std::string bytes;
    std::size_t start = 0;
    auto decodePart = [&](std::size_t end) {
        const std::string_view chunk = text.substr(start, end - start);
        std::vector<char> out(Base64Decoder::maxDecodedSize(chunk.size()));
        bytes.append(out.data(), decoder.decode(chunk, out.data()));
        start = end;
    };
    for (const std::size_t cut : cuts)
        decodePart(cut);
    decodePart(text.size());
    std::vector<char> tail(Base64Decoder::kMaxFinishBytes);
    bytes.append(tail.data(), decoder.finish(tail.data()));
    return bytes;
}

struct DecodeCase {
    std::string text;
    std::string bytes;
};
void PrintTo(const DecodeCase& c, std::ostream* os) {
    *os << printable(c.text.substr(0, 40)) << (c.text.size() > 40 ? "..." : "");
}

class Base64Decoding : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(Base64Decoding, GivesTheBytesWholeAndSplitAtEveryOffset) {
    const DecodeCase& c = GetParam();
    EXPECT_EQ(decodeBase64(c.text), c.bytes);
    EXPECT_EQ(decodedBase64Size(c.text), c.bytes.size());
    for (std::size_t cut = 0; cut <= c.text.size(); ++cut)
        EXPECT_EQ(decodeInChunks(c.text, {cut}), c.bytes) << "cut at " << cut;
    std::vector<std::size_t> everyChar;
    for (std::size_t cut = 1; cut < c.text.size(); ++cut)
        everyChar.push_back(cut);
    EXPECT_EQ(decodeInChunks(c.text, everyChar), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Base64Decoding,
    ::testing::Values(DecodeCase{"", ""}, DecodeCase{"QQ==", "A"}, DecodeCase{"QUI=", "AB"},
                      DecodeCase{"QUJD", "ABC"}, DecodeCase{"QQ", "A"}, DecodeCase{"Q", ""},
                      DecodeCase{"QUJDREVG", "ABCDEF"}, DecodeCase{"QUJD\nREVG\r\n", "ABCDEF"},
                      DecodeCase{"Q\r\nU J\tD", "ABC"}, DecodeCase{"@@QU!!JD##", "ABC"},
                      DecodeCase{"=Q=U=J=D=", "ABC"}, DecodeCase{"====", ""},
                      // "=" is skipped like anything else, so padded groups run together.
                      DecodeCase{"QQ==QQ==", "\x41\x04\x10"}, DecodeCase{"\xC3\xA4QUJD\xFF", "ABC"},
                      DecodeCase{"+/+/", "\xFB\xFF\xBF"},
                      DecodeCase{"AAAA////", std::string("\0\0\0\xFF\xFF\xFF", 6)},
                      DecodeCase{encode(randomBytes(300, 7), 76), randomBytes(300, 7)},
                      DecodeCase{encode(randomBytes(301, 8), 5), randomBytes(301, 8)}));

TEST(Base64Decoding, EveryByteValueSurvivesWrappingAndJunk) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte)
        all += static_cast<char>(byte);
    const std::string bytes = all + randomBytes(100000, 1);
    EXPECT_EQ(decodeBase64(encode(bytes)), bytes);
    EXPECT_EQ(decodeBase64(encode(bytes, 76)), bytes);
    std::string junky = encode(bytes, 64);
    for (std::size_t i = 0; i < junky.size(); i += 7)
        junky.insert(i, 1, "!= -\x80"[i % 5]);
    EXPECT_EQ(decodeBase64(junky), bytes);
    EXPECT_EQ(decodeInChunks(encode(bytes, 76), {1, 2, 77, 4096, 4097, 65536}), bytes);
}

// Decoding by the definition: keep the alphabet characters, then each four give three bytes.
std::string referenceDecode(std::string_view text) {
    static const std::string alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::vector<std::uint32_t> sextets;
    for (const char c : text) {
        const std::size_t value = alphabet.find(c);
        if (value != std::string::npos)
            sextets.push_back(static_cast<std::uint32_t>(value));
    }
    std::string bytes;
    std::size_t k = 0;
    for (; k + 4 <= sextets.size(); k += 4) {
        const std::uint32_t group =
            sextets[k] << 18 | sextets[k + 1] << 12 | sextets[k + 2] << 6 | sextets[k + 3];
        bytes += {static_cast<char>(group >> 16), static_cast<char>(group >> 8),
                  static_cast<char>(group)};
    }
    const std::size_t rest = sextets.size() - k;
    if (rest >= 2)
        bytes += static_cast<char>(sextets[k] << 2 | sextets[k + 1] >> 4);
    if (rest == 3)
        bytes += static_cast<char>((sextets[k + 1] & 15) << 4 | sextets[k + 2] >> 2);
    return bytes;
}

// Long runs of text are decoded a block of 32 characters at a time where the processor allows:
// every byte value, at every place of a block, must be taken or skipped as one at a time would.
TEST(Base64Decoding, EveryCharacterAtEveryPlaceOfABlock) {
    const std::string text = encode(randomBytes(96, 3));
    for (int c = 0; c < 256; ++c) {
        for (std::size_t place = 0; place < 32; ++place) {
            std::string changed = text;
            changed[32 + place] = static_cast<char>(c);
            ASSERT_EQ(decodeBase64(changed), referenceDecode(changed))
                << "character " << c << " at " << place;
        }
    }
}

} // namespace
} // namespace orvane::test
