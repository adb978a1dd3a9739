// Engine texts: UTF-8 byte strings of at most 255 bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvane {

// Every name, token text and string value is cut to this many bytes; the
// limit comes from the length-counted 8-bit strings the language was built on.
inline constexpr std::size_t kMaxTextBytes = 255;

// Cuts `text` to at most kMaxTextBytes bytes without splitting a UTF-8 character.
std::string cutText(std::string_view text);

// Cuts `text` in place (same rule as cutText).
void cutTextInPlace(std::string& text);

// The UTF-8 form of one UTF-16 code unit; a lone surrogate becomes "?".
std::string utf16UnitToUtf8(std::uint16_t unit);

// Appends the UTF-8 form of a code point (no validation beyond the surrogate rule).
void appendUtf8(std::string& out, char32_t codePoint);

} // namespace orvane
