// JSON string escaping for the tool's outputs.
#include "json_output.h"

#include <cstdio>

namespace orvane {

namespace {

// Length of a valid UTF-8 sequence at `pos`, or 0 when the bytes there are not one.
std::size_t validSequenceLength(std::string_view s, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(s[pos]);
    std::size_t len = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        len = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        len = 3;
        if (lead == 0xE0)
            low = 0xA0;
        if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        len = 4;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F;
    }
    if (len == 0 || pos + len > s.size())
        return 0;
    const auto second = static_cast<unsigned char>(s[pos + 1]);
    if (second < low || second > high)
        return 0;
    for (std::size_t k = 2; k < len; ++k) {
        if ((static_cast<unsigned char>(s[pos + k]) & 0xC0) != 0x80)
            return 0;
    }
    return len;
}

void appendEscaped(std::string& out, unsigned char c) {
    switch (c) {
    case '"':
        out += "\\\"";
        return;
    case '\\':
        out += "\\\\";
        return;
    case '\n':
        out += "\\n";
        return;
    case '\r':
        out += "\\r";
        return;
    case '\t':
        out += "\\t";
        return;
    default:
        break;
    }
    if (c < 0x20 || c == 0x7F) {
        char buffer[8];
        std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
        out += buffer;
    } else {
        out += static_cast<char>(c);
    }
}

} // namespace

std::string jsonString(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    for (std::size_t pos = 0; pos < text.size();) {
        const auto c = static_cast<unsigned char>(text[pos]);
        if (c < 0x80) {
            appendEscaped(out, c);
            ++pos;
            continue;
        }
        const std::size_t len = validSequenceLength(text, pos);
        if (len == 0) {
            out += "\xEF\xBF\xBD";
            ++pos;
        } else {
            out.append(text.substr(pos, len));
            pos += len;
        }
    }
    out += '"';
    return out;
}

} // namespace orvane
