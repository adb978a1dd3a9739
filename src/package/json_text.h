// The texts of JSON tokens: unescaping strings and checking numbers.
#pragma once

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

// True when `text` is exactly one JSON number: -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?
bool isJsonNumber(std::string_view text);

} // namespace orvane
