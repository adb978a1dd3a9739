// Byte-order-mark detection and decoding of UTF-8, UTF-16 and Windows-1252 to UTF-8.
#include "text_encoding.h"

#include "utf8.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace orvane {

namespace {

using Byte = unsigned char;

constexpr char32_t kReplacement = 0xFFFD;

// Code points of the bytes 80 to 9F; every other byte is its own code point.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

const Byte* bytesOf(std::string_view text) {
    return reinterpret_cast<const Byte*>(text.data());
}

std::size_t utf8Width(char32_t cp) {
    if (cp < 0x80)
        return 1;
    if (cp < 0x800)
        return 2;
    return cp < 0x10000 ? 3 : 4;
}

// True when the 16 bytes at `p` are all ASCII; package files are nearly all ASCII,
// so this decides the speed of validation.
bool sixteenAscii(const Byte* p) {
    std::uint64_t first = 0;
    std::uint64_t second = 0;
    std::memcpy(&first, p, 8);
    std::memcpy(&second, p + 8, 8);
    return ((first | second) & 0x8080808080808080ULL) == 0;
}

// One UTF-8 sequence starting at a non-ASCII byte: its length when valid, else
// the length of its longest valid beginning (at least 1), which is replaced by
// one U+FFFD. The ranges are those of the Unicode table of well-formed sequences.
struct Sequence {
    std::size_t length;
    bool valid;
};

Sequence scanUtf8Sequence(const Byte* p, const Byte* end) {
    const Byte lead = *p;
    std::size_t trailing = 0;
    Byte low = 0x80;
    Byte high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        trailing = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        trailing = 2;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        trailing = 3;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return {1, false};
    }
    for (std::size_t i = 1; i <= trailing; ++i) {
        if (p + i >= end || p[i] < low || p[i] > high)
            return {i, false};
        low = 0x80;
        high = 0xBF;
    }
    return {trailing + 1, true};
}

char32_t sequenceCodePoint(const Byte* p, std::size_t length) {
    static constexpr Byte kLeadMask[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    char32_t cp = p[0] & kLeadMask[length];
    for (std::size_t i = 1; i < length; ++i)
        cp = (cp << 6) | (p[i] & 0x3F);
    return cp;
}

// Calls `emit` with each code point of UTF-8 text, U+FFFD for each ill-formed part.
template <typename Emit> void walkUtf8(std::string_view text, Emit&& emit) {
    const Byte* p = bytesOf(text);
    const Byte* end = p + text.size();
    while (p < end) {
        if (*p < 0x80) {
            emit(static_cast<char32_t>(*p++));
            continue;
        }
        const Sequence seq = scanUtf8Sequence(p, end);
        emit(seq.valid ? sequenceCodePoint(p, seq.length) : kReplacement);
        p += seq.length;
    }
}

template <bool LittleEndian> char16_t readUnit(const Byte* p) {
    if constexpr (LittleEndian)
        return static_cast<char16_t>(p[0] | (p[1] << 8));
    else
        return static_cast<char16_t>((p[0] << 8) | p[1]);
}

bool isHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool isLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Calls `emit` with each code point of UTF-16 text: pairs joined, lone surrogates
// and an odd last byte as U+FFFD.
template <bool LittleEndian, typename Emit> void walkUtf16(std::string_view text, Emit&& emit) {
    const Byte* p = bytesOf(text);
    const Byte* end = p + (text.size() & ~std::size_t{1});
    while (p < end) {
        const char16_t unit = readUnit<LittleEndian>(p);
        p += 2;
        if (isHighSurrogate(unit) && p < end && isLowSurrogate(readUnit<LittleEndian>(p))) {
            const char16_t low = readUnit<LittleEndian>(p);
            p += 2;
            emit(0x10000 + ((char32_t(unit) - 0xD800) << 10) + (char32_t(low) - 0xDC00));
        } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
            emit(kReplacement);
        } else {
            emit(static_cast<char32_t>(unit));
        }
    }
    if (text.size() % 2 != 0)
        emit(kReplacement);
}

template <typename Emit> void walkWindows1252(std::string_view text, Emit&& emit) {
    for (const Byte byte : std::basic_string_view<Byte>(bytesOf(text), text.size())) {
        if (byte >= 0x80 && byte <= 0x9F)
            emit(static_cast<char32_t>(kWindows1252High[byte - 0x80]));
        else
            emit(static_cast<char32_t>(byte));
    }
}

template <typename Emit> void walkText(std::string_view text, TextEncoding encoding, Emit&& emit) {
    switch (encoding) {
    case TextEncoding::Utf8:
        walkUtf8(text, emit);
        break;
    case TextEncoding::Utf16Le:
        walkUtf16<true>(text, emit);
        break;
    case TextEncoding::Utf16Be:
        walkUtf16<false>(text, emit);
        break;
    case TextEncoding::Windows1252:
        walkWindows1252(text, emit);
        break;
    }
}

} // namespace

std::size_t wellFormedUtf8Length(const char* p, const char* end) {
    const Sequence seq =
        scanUtf8Sequence(reinterpret_cast<const Byte*>(p), reinterpret_cast<const Byte*>(end));
    return seq.valid ? seq.length : 0;
}

bool isValidUtf8(std::string_view bytes) {
    const Byte* p = bytesOf(bytes);
    const Byte* end = p + bytes.size();
    while (p < end) {
        if (end - p >= 16 && sixteenAscii(p)) {
            p += 16;
        } else if (*p < 0x80) {
            ++p;
        } else {
            const Sequence seq = scanUtf8Sequence(p, end);
            if (!seq.valid)
                return false;
            p += seq.length;
        }
    }
    return true;
}

DetectedEncoding detectTextEncoding(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF"))
        return {TextEncoding::Utf8, 3};
    if (bytes.starts_with("\xFF\xFE"))
        return {TextEncoding::Utf16Le, 2};
    if (bytes.starts_with("\xFE\xFF"))
        return {TextEncoding::Utf16Be, 2};
    return {isValidUtf8(bytes) ? TextEncoding::Utf8 : TextEncoding::Windows1252, 0};
}

std::size_t decodedUtf8Length(std::string_view text, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf8 && isValidUtf8(text))
        return text.size();
    std::size_t length = 0;
    walkText(text, encoding, [&length](char32_t cp) { length += utf8Width(cp); });
    return length;
}

char* decodeToUtf8(std::string_view text, TextEncoding encoding, char* out) {
    if (encoding == TextEncoding::Utf8 && isValidUtf8(text)) {
        if (!text.empty())
            std::memcpy(out, text.data(), text.size());
        return out + text.size();
    }
    walkText(text, encoding, [&out](char32_t cp) { out = putUtf8(out, cp); });
    return out;
}

std::string decodeTextFile(std::string_view bytes) {
    const DetectedEncoding detected = detectTextEncoding(bytes);
    const std::string_view text = bytes.substr(detected.markLength);
    std::string result(decodedUtf8Length(text, detected.encoding), '\0');
    decodeToUtf8(text, detected.encoding, result.data());
    return result;
}

} // namespace orvane
