// Reading a package path from left to right and applying each step as it is read.
#include "package_path.h"

#include "script_error.h"

#include <cstdint>
#include <limits>
#include <string>

namespace orvane {

namespace {

bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// A decimal integer with an optional sign. Numbers too large for 64 bits are
// still integers; they become the largest value, which no array reaches.
std::optional<std::int64_t> parseIndex(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    constexpr std::int64_t kLargest = std::numeric_limits<std::int64_t>::max();
    std::int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        const int digit = c - '0';
        value = value > (kLargest - digit) / 10 ? kLargest : value * 10 + digit;
    }
    return negative ? -value : value;
}

class PathReader {
  public:
    explicit PathReader(std::string_view path) : m_path(path) {}

    std::optional<JsonValue> resolve(JsonValue root);
    // After resolve(): the object whose member the last step chose, and that member's name.
    const std::optional<JsonValue>& owner() const { return m_owner; }
    const std::string& memberName() const { return m_memberName; }

  private:
    bool atEnd() const { return m_pos >= m_path.size(); }
    char peek() const { return m_path[m_pos]; }
    void skipBlanks();
    std::string_view readName();
    std::string readQuotedName(char quote);
    std::optional<JsonValue> applyIndexer(JsonValue current);
    std::optional<JsonValue> applyIndex(JsonValue current);
    std::optional<JsonValue> applyMember(JsonValue current, std::string_view name);
    [[noreturn]] void failUnexpected() const;

    std::string_view m_path;
    std::size_t m_pos = 0;
    std::optional<JsonValue> m_owner;
    std::string m_memberName;
};

void PathReader::skipBlanks() {
    while (!atEnd() && isBlank(peek()))
        ++m_pos;
}

// A name runs up to the next "." or "[" or the end; blanks at its end are dropped.
std::string_view PathReader::readName() {
    const std::size_t start = m_pos;
    while (!atEnd() && peek() != '.' && peek() != '[')
        ++m_pos;
    std::string_view name = m_path.substr(start, m_pos - start);
    while (!name.empty() && isBlank(name.back()))
        name.remove_suffix(1);
    return name;
}

// Inside quotes, a backslash before the quote character stands for it.
std::string PathReader::readQuotedName(char quote) {
    std::string name;
    ++m_pos;
    for (;;) {
        if (atEnd())
            throw ScriptError("Pfad mit geöffnetem String beendet");
        const char c = peek();
        if (c == '\\' && m_pos + 1 < m_path.size() && m_path[m_pos + 1] == quote) {
            name += quote;
            m_pos += 2;
        } else if (c == quote) {
            ++m_pos;
            return name;
        } else {
            name += c;
            ++m_pos;
        }
    }
}

// Names the whole UTF-8 character at the current position, not just its first byte.
void PathReader::failUnexpected() const {
    const auto lead = static_cast<unsigned char>(peek());
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    throw ScriptError("Unerwartetes Zeichen beim Analysieren des Indizierers: " +
                      std::string(m_path.substr(m_pos, length)));
}

// After "[": a quoted name or an index, then "]".
std::optional<JsonValue> PathReader::applyIndexer(JsonValue current) {
    skipBlanks();
    if (atEnd())
        throw ScriptError("Pfad mit geöffneter eckiger Klammer beendet");
    if (peek() != '\'' && peek() != '"')
        return applyIndex(current);
    const std::string name = readQuotedName(peek());
    skipBlanks();
    if (atEnd())
        throw ScriptError("Pfad mit geöffneter eckiger Klammer beendet");
    if (peek() != ']')
        failUnexpected();
    ++m_pos;
    return applyMember(current, name);
}

std::optional<JsonValue> PathReader::applyMember(JsonValue current, std::string_view name) {
    m_owner = current;
    m_memberName = name;
    return current.member(name);
}

std::optional<JsonValue> PathReader::applyIndex(JsonValue current) {
    const std::size_t close = m_path.find(']', m_pos);
    if (close == std::string_view::npos)
        throw ScriptError("Pfad mit geöffneter eckiger Klammer beendet");
    const std::string_view text = trimBlanks(m_path.substr(m_pos, close - m_pos));
    m_pos = close + 1;
    const std::optional<std::int64_t> index = parseIndex(text);
    if (!index)
        throw ScriptError("Ungültiger Index für Array: " + std::string(text));
    if (!current.isArray() || *index < 0 || static_cast<std::uint64_t>(*index) >= current.size())
        return std::nullopt;
    m_owner.reset();
    return current.element(static_cast<std::size_t>(*index));
}

std::optional<JsonValue> PathReader::resolve(JsonValue root) {
    std::optional<JsonValue> current = root;
    for (bool first = true; current; first = false) {
        skipBlanks();
        if (atEnd())
            return current;
        if (peek() == '.') {
            if (first)
                throw ScriptError("Unerwartetes char für Stammelement: .");
            ++m_pos;
            if (atEnd())
                return std::nullopt; // a path ending in "." names nothing
            const std::string_view name = readName();
            if (name.empty())
                throw ScriptError(
                    "Leerer Name in der Punktnotation nicht zulässig, verwenden Sie ['']");
            current = applyMember(*current, name);
        } else if (peek() == '[') {
            ++m_pos;
            current = applyIndexer(*current);
        } else if (first) {
            current = applyMember(*current, readName());
        } else {
            failUnexpected();
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<JsonValue> resolvePackagePath(JsonValue root, std::string_view path) {
    return PathReader(path).resolve(root);
}

ResolvedPackagePath resolvePackagePathWithOwner(JsonValue root, std::string_view path) {
    PathReader reader(path);
    ResolvedPackagePath resolved;
    resolved.value = reader.resolve(root);
    if (resolved.value && reader.owner()) {
        resolved.owner = reader.owner();
        resolved.memberName = reader.memberName();
    }
    return resolved;
}

} // namespace orvane
