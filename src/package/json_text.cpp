// Unescaping JSON strings and checking the number grammar.
#include "json_text.h"

#include "text_encoding.h"
#include "utf8.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orvane {

namespace {

constexpr const char* kUnterminated = "Zeichenkette nicht abgeschlossen";
constexpr const char* kControlCharacter = "Steuerzeichen in einer Zeichenkette";
constexpr const char* kBadEscape = "ungültige Escape-Sequenz";

bool isSpecial(char c) {
    return c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20;
}

// Copies the plain run at `in` (up to a quote, backslash, control character or
// `limit`) to `out`, sixteen bytes at a time: Base64 payloads are long plain runs.
// In place, `out` trails `in`, so a write never reaches bytes not yet read, and
// nothing needs copying until the first escape.
void copyPlainRun(const char*& in, const char* limit, char*& out) {
#if defined(__SSE2__)
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i backslash = _mm_set1_epi8('\\');
    const __m128i lastControl = _mm_set1_epi8(0x1F);
    while (limit - in >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
        const __m128i control = _mm_cmpeq_epi8(_mm_min_epu8(bytes, lastControl), bytes);
        const __m128i special = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(bytes, quote), _mm_cmpeq_epi8(bytes, backslash)), control);
        const auto hits = static_cast<unsigned>(_mm_movemask_epi8(special));
        if (hits == 0) {
            if (out != in)
                _mm_storeu_si128(reinterpret_cast<__m128i*>(out), bytes);
            in += 16;
            out += 16;
            continue;
        }
        const auto plain = static_cast<std::size_t>(std::countr_zero(hits));
        if (out != in)
            std::memmove(out, in, plain);
        in += plain;
        out += plain;
        return;
    }
#endif
    while (in < limit && !isSpecial(*in))
        *out++ = *in++;
}

// The four hex digits of a \u escape starting at `escape` (the backslash), or -1.
long readUnicodeEscape(const char* escape, const char* limit) {
    if (limit - escape < 6 || escape[0] != '\\' || escape[1] != 'u')
        return -1;
    long value = 0;
    for (int i = 2; i < 6; ++i) {
        const int digit = hexDigitValue(escape[i]);
        if (digit < 0)
            return -1;
        value = value * 16 + digit;
    }
    return value;
}

// A \u escape at `in`, with its low surrogate when it starts a pair.
bool unescapeUnicode(const char*& in, const char* limit, char*& out) {
    const long unit = readUnicodeEscape(in, limit);
    if (unit < 0)
        return false;
    in += 6;
    if (unit >= 0xD800 && unit <= 0xDBFF) {
        const long low = readUnicodeEscape(in, limit);
        if (low >= 0xDC00 && low <= 0xDFFF) {
            in += 6;
            out = putUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
            return true;
        }
        out = putUtf8(out, 0xFFFD);
        return true;
    }
    out = putUtf8(out, unit >= 0xDC00 && unit <= 0xDFFF ? 0xFFFD : static_cast<char32_t>(unit));
    return true;
}

// One escape sequence at `in` (the backslash).
bool unescapeOne(const char*& in, const char* limit, char*& out) {
    if (limit - in < 2)
        return false;
    char plain = 0;
    switch (in[1]) {
    case '"':
    case '\\':
    case '/':
        plain = in[1];
        break;
    case 'b':
        plain = '\b';
        break;
    case 'f':
        plain = '\f';
        break;
    case 'n':
        plain = '\n';
        break;
    case 'r':
        plain = '\r';
        break;
    case 't':
        plain = '\t';
        break;
    case 'u':
        return unescapeUnicode(in, limit, out);
    default:
        return false;
    }
    *out++ = plain;
    in += 2;
    return true;
}

// The length of the well-formed escape at `in` (a backslash), or 0. It accepts
// what unescapeOne accepts.
std::size_t escapeLength(const char* in, const char* limit) {
    if (limit - in < 2)
        return 0;
    switch (in[1]) {
    case '"':
    case '\\':
    case '/':
    case 'b':
    case 'f':
    case 'n':
    case 'r':
    case 't':
        return 2;
    case 'u':
        return readUnicodeEscape(in, limit) >= 0 ? 6 : 0;
    default:
        return 0;
    }
}

bool needsCloserLook(char c) {
    return isSpecial(c) || static_cast<unsigned char>(c) >= 0x80;
}

#if defined(__SSE2__)
// The bytes of the 64 at `at` that need a closer look, one bit each.
std::uint64_t closerLookMask(const char* at) {
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i backslash = _mm_set1_epi8('\\');
    const __m128i space = _mm_set1_epi8(0x20);
    std::uint64_t mask = 0;
    for (int i = 0; i < 4; ++i) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 16 * i));
        // Compared as signed, bytes from 0x80 on are negative: one comparison finds
        // both control characters and non-ASCII bytes.
        const __m128i hits = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(bytes, quote), _mm_cmpeq_epi8(bytes, backslash)),
            _mm_cmplt_epi8(bytes, space));
        mask |= std::uint64_t{static_cast<unsigned>(_mm_movemask_epi8(hits))} << (16 * i);
    }
    return mask;
}
#endif

// The length of the escape or UTF-8 sequence at `at`, a byte other than a quote
// that needs a closer look; 0 when it is malformed or a control character.
std::size_t closerLookLength(const char* at, const char* limit, bool& hasEscapes) {
    if (*at == '\\') {
        hasEscapes = true;
        return escapeLength(at, limit);
    }
    return static_cast<unsigned char>(*at) >= 0x80 ? wellFormedUtf8Length(at, limit) : 0;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Skips one or more digits; false when there is none.
bool skipDigits(std::string_view text, std::size_t& pos) {
    const std::size_t start = pos;
    while (pos < text.size() && isDigit(text[pos]))
        ++pos;
    return pos > start;
}

} // namespace

UnescapedString unescapeJsonString(const char* in, const char* limit, char* out) {
    for (;;) {
        copyPlainRun(in, limit, out);
        if (in == limit)
            return {in, out, kUnterminated};
        if (*in == '"')
            return {in + 1, out, nullptr};
        if (*in != '\\')
            return {in, out, kControlCharacter};
        if (!unescapeOne(in, limit, out))
            return {in, out, kBadEscape};
    }
}

// Strings in packages are mostly long runs of Base64 with an escaped line break
// every few dozen bytes: blocks of 64 bytes are checked at once, and each byte
// their mask flags is looked at in turn, without searching the block again.
ScannedString scanJsonString(const char* in, const char* limit) {
    bool hasEscapes = false;
    const char* next = in; // every byte before it has been checked
#if defined(__SSE2__)
    for (const char* block = in; limit - block >= 64; block = next) {
        for (std::uint64_t hits = closerLookMask(block); hits != 0; hits &= hits - 1) {
            const char* at = block + std::countr_zero(hits);
            if (at < next) // part of an escape or sequence already checked
                continue;
            if (*at == '"')
                return {at, hasEscapes};
            const std::size_t length = closerLookLength(at, limit, hasEscapes);
            if (length == 0)
                return {nullptr, hasEscapes};
            next = at + length;
        }
        next = std::max(next, block + 64);
    }
#endif
    for (const char* at = next;;) {
        while (at < limit && !needsCloserLook(*at))
            ++at;
        if (at == limit)
            return {nullptr, hasEscapes};
        if (*at == '"')
            return {at, hasEscapes};
        const std::size_t length = closerLookLength(at, limit, hasEscapes);
        if (length == 0)
            return {nullptr, hasEscapes};
        at += length;
    }
}

UnescapedPiece unescapeJsonPiece(const char* in, const char* limit, char* out, std::size_t room) {
    char* const outEnd = out + room;
    while (in < limit) {
        const std::size_t space = static_cast<std::size_t>(outEnd - out);
        copyPlainRun(in, in + std::min(space, static_cast<std::size_t>(limit - in)), out);
        // Escapes are all that stop a plain run inside accepted content.
        if (in == limit || outEnd - out < 4 || !unescapeOne(in, limit, out))
            break;
    }
    return {in, out};
}

bool isJsonNumber(std::string_view text) {
    std::size_t pos = 0;
    if (pos < text.size() && text[pos] == '-')
        ++pos;
    if (pos < text.size() && text[pos] == '0')
        ++pos;
    else if (!skipDigits(text, pos))
        return false;
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        if (!skipDigits(text, pos))
            return false;
    }
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        ++pos;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
            ++pos;
        if (!skipDigits(text, pos))
            return false;
    }
    return pos == text.size();
}

} // namespace orvane
