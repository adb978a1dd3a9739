// Cutting texts at character boundaries and small UTF-8 helpers.
#include "short_text.h"

#include "utf8.h"

namespace orvane {

namespace {
bool isContinuationByte(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}
} // namespace

void cutTextInPlace(std::string& text) {
    if (text.size() <= kMaxTextBytes)
        return;
    std::size_t cut = kMaxTextBytes;
    // Move back to the first byte of the character that would be split. At most
    // three continuation bytes belong to one character; invalid runs are cut as bytes.
    std::size_t back = 0;
    while (back < 3 && cut > 0 && isContinuationByte(static_cast<unsigned char>(text[cut]))) {
        --cut;
        ++back;
    }
    if (back == 3 && isContinuationByte(static_cast<unsigned char>(text[cut])))
        cut = kMaxTextBytes;
    text.resize(cut);
}

std::string cutText(std::string_view text) {
    std::string result(text.substr(0, kMaxTextBytes + 1));
    cutTextInPlace(result);
    return result;
}

void appendUtf8(std::string& out, char32_t cp) {
    char buffer[4];
    out.append(buffer, static_cast<std::size_t>(putUtf8(buffer, cp) - buffer));
}

std::string utf16UnitToUtf8(std::uint16_t unit) {
    if (unit >= 0xD800 && unit <= 0xDFFF)
        return "?";
    std::string out;
    appendUtf8(out, unit);
    return out;
}

} // namespace orvane
