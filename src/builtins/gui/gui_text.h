// Engine texts and colours on their way to and from Qt widgets.
#pragma once

#include <QColor>
#include <QString>

#include <cstdint>
#include <string>
#include <string_view>

namespace orvane {

// An engine text for display: CR LF, lone CR and lone LF become line breaks.
QString displayText(std::string_view text);
// An engine text taken as it is (single-line fields keep every character).
QString plainText(std::string_view text);
// A widget's text as an engine text (UTF-8, cut to 255 bytes).
std::string engineText(const QString& text);

// A label caption's line breaks: every backslash followed by a lower-case n becomes a
// carriage return; everything else stays.
std::string convertBackslashN(std::string_view caption);

// A colour in the Windows layout: red in bits 0-7, green in 8-15, blue in 16-23.
QColor windowsColour(std::int32_t value);

} // namespace orvane
