// The texts of JSON tokens: unescaping strings and checking numbers.
#pragma once

#include <cstddef>
#include <string_view>

namespace orvane {

struct UnescapedString {
    const char* next;  // after the closing quote; where the fault is on failure
    char* end;         // end of the written text
    const char* error; // nullptr, or a German description of the fault
};

// Unescapes the JSON string whose content begins at `in`, just after the opening
// quote, up to its closing quote, reading nothing at or after `limit`. Writes the
// text to `out`: either `in` itself, to unescape in place, or a buffer with room
// for `limit - in` bytes. No escape is shorter than what it stands for, so the
// text never outgrows its source and writing never overtakes reading. A \u
// escape of a lone surrogate becomes U+FFFD, since UTF-8 cannot hold it.
UnescapedString unescapeJsonString(const char* in, const char* limit, char* out);

// Where a JSON string ends, found without unescaping it.
struct ScannedString {
    const char* close; // the closing quote; nullptr when the string is malformed
    bool hasEscapes;
};

// Checks the JSON string whose content begins at `in` up to its closing quote,
// reading nothing at or after `limit`: it accepts what unescapeJsonString accepts
// and also requires the text to be well-formed UTF-8.
ScannedString scanJsonString(const char* in, const char* limit);

// Unescapes the content of a string that scanJsonString accepted, piece by piece:
// from `in` up to `limit`, the content's end, writing at most `room` bytes to `out`
// (at least 4, the longest an escape writes). Returns how far it read and wrote.
struct UnescapedPiece {
    const char* next;
    char* end;
};
UnescapedPiece unescapeJsonPiece(const char* in, const char* limit, char* out, std::size_t room);

// True when `text` is exactly one JSON number: -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?
bool isJsonNumber(std::string_view text);

} // namespace orvane
