// Decoding a text file's bytes to UTF-8, chosen by its byte-order mark.
//
// Package files come from many editors: UTF-8 with or without a mark, UTF-16 in
// either byte order, and the Windows code page of older tools. The engine works
// in UTF-8 only, so every file text passes through here once. The functions work
// in two passes (length, then decode) so that callers can put the text into a
// buffer of their own, such as a parser's padded input, without a second copy.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orvane {

enum class TextEncoding {
    Utf8,
    Utf16Le,
    Utf16Be,
    // Windows-1252. The five bytes the code page leaves undefined (81, 8D, 8F, 90,
    // 9D) become the C1 control characters of the same number, as Windows' own
    // conversion does, so no byte is lost.
    Windows1252,
};

struct DetectedEncoding {
    TextEncoding encoding;
    std::size_t markLength; // bytes of the byte-order mark: 0, 2 or 3
};

// EF BB BF is UTF-8, FF FE UTF-16 little-endian, FE FF UTF-16 big-endian. Without
// a mark the bytes are UTF-8 when they are valid UTF-8, else Windows-1252.
DetectedEncoding detectTextEncoding(std::string_view bytes);

// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF).
bool isValidUtf8(std::string_view bytes);

// The length of the well-formed UTF-8 sequence that starts at the non-ASCII byte
// `p`, reading nothing at or after `end`; 0 when it is ill-formed.
std::size_t wellFormedUtf8Length(const char* p, const char* end);

// The number of bytes decodeToUtf8 writes for `text` (the bytes after the mark).
std::size_t decodedUtf8Length(std::string_view text, TextEncoding encoding);

// Writes the UTF-8 form of `text` to `out`, which has room for
// decodedUtf8Length(text, encoding) bytes, and returns the end of what it wrote.
// Ill-formed input becomes U+FFFD: invalid UTF-8 sequences, lone surrogates and
// an odd last byte of UTF-16.
char* decodeToUtf8(std::string_view text, TextEncoding encoding, char* out);

// The whole text of a file's bytes as UTF-8, without the mark.
std::string decodeTextFile(std::string_view bytes);

} // namespace orvane
