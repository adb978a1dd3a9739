// The scanner: line splitting, pair joining, classification and the final pass.
#include "c_scanner.h"

#include "script_error.h"
#include "short_text.h"
#include "utf8.h"

#include <limits>

namespace orvane {

namespace {

// Byte length of the UTF-8 character starting at `pos`; an invalid byte counts as one character.
std::size_t charLength(std::string_view s, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(s[pos]);
    std::size_t len = 1;
    if (lead >= 0xF0 && lead <= 0xF4)
        len = 4;
    else if (lead >= 0xE0)
        len = lead <= 0xEF ? 3 : 1;
    else if (lead >= 0xC2)
        len = 2;
    if (pos + len > s.size())
        return 1;
    for (std::size_t k = 1; k < len; ++k) {
        if ((static_cast<unsigned char>(s[pos + k]) & 0xC0) != 0x80)
            return 1;
    }
    return len;
}

std::int64_t countChars(std::string_view s) {
    std::int64_t count = 0;
    for (std::size_t pos = 0; pos < s.size(); pos += charLength(s, pos))
        ++count;
    return count;
}

bool isBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

// The keyword that `text` spells in any case, or an empty view.
std::string_view matchKeyword(std::string_view text) {
    if (text.size() < 2 || text.size() > 7)
        return {};
    for (std::string_view keyword : keywords) {
        if (keyword.size() != text.size())
            continue;
        bool same = true;
        for (std::size_t k = 0; k < text.size() && same; ++k) {
            char c = text[k];
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
            same = c == keyword[k];
        }
        if (same)
            return keyword;
    }
    return {};
}

bool isDecimalNumber(std::string_view text) {
    if (text.empty())
        return false;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

bool isHexNumber(std::string_view text) {
    if (text.empty() || text[0] != '$')
        return false;
    for (char c : text.substr(1)) {
        if (hexDigitValue(c) < 0)
            return false;
    }
    return true;
}

// The value of "$digits" kept to its low 32 bits, however many digits there are.
std::int32_t hexValue(std::string_view text) {
    std::uint32_t value = 0;
    for (char c : text.substr(1))
        value = (value << 4) | static_cast<std::uint32_t>(hexDigitValue(c));
    return static_cast<std::int32_t>(value);
}

// Integer conversion of a character-code constant's digits: optional sign, then
// decimal digits or "$" and hexadecimal digits, within 32 bits.
[[noreturn]] void throwNotAnInteger(std::string_view digits) {
    std::string message = "'";
    message.append(digits).append("' ist kein gültiger Integerwert");
    throw ScriptError(message);
}

std::int32_t charCodeValue(std::string_view digits) {
    std::string_view rest = digits;
    bool negative = false;
    if (!rest.empty() && (rest[0] == '-' || rest[0] == '+')) {
        negative = rest[0] == '-';
        rest.remove_prefix(1);
    }
    std::int64_t value = 0;
    if (!rest.empty() && rest[0] == '$') {
        rest.remove_prefix(1);
        if (rest.empty())
            throwNotAnInteger(digits);
        for (char c : rest) {
            const int digit = hexDigitValue(c);
            if (digit < 0 || value > 0xFFFFFFFLL)
                throwNotAnInteger(digits);
            value = value * 16 + digit;
        }
        value = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    } else {
        if (!isDecimalNumber(rest))
            throwNotAnInteger(digits);
        for (char c : rest) {
            value = value * 10 + (c - '0');
            if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1)
                throwNotAnInteger(digits);
        }
        if (!negative && value > std::numeric_limits<std::int32_t>::max())
            throwNotAnInteger(digits);
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

std::int32_t clampToInt32(std::int64_t value) {
    constexpr std::int64_t top = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value > top ? top : value);
}

} // namespace

std::vector<std::string> splitScriptLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        if (text[pos] != '\r' && text[pos] != '\n')
            continue;
        lines.emplace_back(text.substr(start, pos - start));
        if (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n')
            ++pos;
        start = pos + 1;
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

TScanner::TScanner() : termSym(termSymbols) {}

void TScanner::scan(const std::vector<std::string>& lines) {
    token = nullptr;
    readPosition = nullptr;
    m_last = nullptr;
    int stage = 10;
    try {
        bool onlyBlanks = true;
        for (const auto& line : lines) {
            for (char c : line)
                onlyBlanks = onlyBlanks && isBlankOrControl(c);
        }
        if (onlyBlanks)
            throw ScriptError("Fehler in scan: Leerer Text übergeben");
        std::int64_t lineBase = 1;
        std::int32_t lineNumber = 0;
        for (const auto& line : lines) {
            if (lineNumber < std::numeric_limits<std::int32_t>::max())
                ++lineNumber;
            splitLine(line, lineNumber, lineBase);
            lineBase += countChars(line) + 1;
        }
        stage = 20;
        joinTokens();
        if (token == nullptr)
            throw ScriptError("Fehler: Keine Tokens");
        stage = 30;
        classifyTokens();
        stage = 40;
        appendEndOfFile();
        stage = 50;
        finishTokens();
    } catch (const std::exception& e) {
        passOutOfMemory(e);
        throw ScriptError("Fehler in scan an Pos " + std::to_string(stage) + ": " + e.what());
    }
}

void TScanner::splitLine(std::string_view line, std::int32_t lineNumber, std::int64_t lineBase) {
    std::string s(line);
    s += ' ';
    const auto offsetOf = [lineBase](std::int64_t charIndex) { return lineBase + charIndex - 2; };
    std::size_t pendingStart = 0;      // the pending text is s[pendingStart, end)
    std::int64_t pendingFirstChar = 1; // its first character's 1-based index
    bool inString = false;
    std::int64_t i = 0;
    for (std::size_t pos = 0; pos < s.size();) {
        const std::size_t end = pos + charLength(s, pos);
        ++i;
        const std::int32_t column = clampToInt32(i);
        const bool single = end - pos == 1;
        const char c = s[pos];
        const std::string_view pending(s.data() + pendingStart, end - pendingStart);
        const auto emptyPending = [&] {
            pendingStart = end;
            pendingFirstChar = i + 1;
        };
        if (single && c == '"') {
            inString = !inString;
            if (!inString) {
                addToken(pending, lineNumber, clampToInt32(i - 1), offsetOf(pendingFirstChar));
                emptyPending();
            }
        }
        if (!inString && end > pendingStart) {
            const bool hasNext = end < s.size();
            const char next = hasNext ? s[end] : '\0';
            if (pending == "/" && next == '/') {
                emptyPending();
                break;
            }
            if (single && isTermSymbol(c)) {
                if (pending.size() > 1)
                    addToken(pending.substr(0, pending.size() - 1), lineNumber, column,
                             offsetOf(pendingFirstChar));
                addToken(std::string_view(&s[pos], 1), lineNumber, column, offsetOf(i));
                emptyPending();
            } else if (c == ' ') {
                addToken(pending.substr(0, pending.size() - 1), lineNumber, column,
                         offsetOf(pendingFirstChar));
                emptyPending();
            } else if (hasNext && (isTermSymbol(next) || next == ' ')) {
                const std::string_view keyword = matchKeyword(pending);
                if (!keyword.empty()) {
                    const auto width = static_cast<std::int64_t>(keyword.size());
                    addToken(keyword, lineNumber, clampToInt32(i - (width - 1)),
                             offsetOf(pendingFirstChar));
                    emptyPending();
                }
            }
        }
        pos = end;
    }
    // A string constant still open at the end of the line is dropped.
}

void TScanner::addToken(std::string_view text, std::int32_t line, std::int32_t column,
                        std::int64_t offset) {
    while (!text.empty() && isBlankOrControl(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlankOrControl(text.back()))
        text.remove_suffix(1);
    if (text.empty())
        return;
    tToken& t = m_storage.emplace_back();
    t.text = cutText(text);
    t.line = line;
    t.column = column;
    t.offset = clampToInt32(offset);
    if (m_last == nullptr)
        token = &t;
    else
        m_last->next = &t;
    m_last = &t;
}

void TScanner::joinTokens() {
    try {
        for (tToken* p = token; p != nullptr; p = p->next) {
            tToken* q = p->next;
            if (q == nullptr || !isJoinedPair(p->text, q->text))
                continue;
            p->text += q->text;
            p->next = q->next;
            if (q == m_last)
                m_last = p;
        }
    } catch (const std::exception& e) {
        passOutOfMemory(e);
        throw ScriptError(std::string("Fehler in joinTokens:") + e.what());
    }
}

void TScanner::classifyTokens() {
    for (tToken* t = token; t != nullptr; t = t->next) {
        const std::string& text = t->text;
        t->typ = codeForTokenText(text);
        if (text.front() == '"' && text.back() == '"')
            t->typ = ttStringConst;
        if (text.front() == '#')
            t->typ = ttCharCodeMarker;
        if (isDecimalNumber(text))
            t->typ = ttNumber;
        if (isHexNumber(text)) {
            t->typ = ttNumber;
            t->text = std::to_string(hexValue(text));
        }
    }
}

void TScanner::appendEndOfFile() {
    tToken& eof = m_storage.emplace_back();
    eof.typ = ttEndOfFile;
    m_last->next = &eof;
    m_last = &eof;
}

void TScanner::finishTokens() {
    std::int32_t index = 0;
    for (tToken* t = token; t != nullptr; t = t->next) {
        t->index = index++;
        if (t->typ == ttStringConst) {
            t->text = t->text.size() >= 2 ? t->text.substr(1, t->text.size() - 2) : std::string();
            ++t->offset;
        } else if (t->typ == ttCharCodeMarker) {
            const std::int32_t code = charCodeValue(std::string_view(t->text).substr(1));
            t->text = utf16UnitToUtf8(static_cast<std::uint16_t>(code & 0xFFFF));
            t->typ = ttStringConst;
        } else if (t->typ == ttUnknown) {
            t->typ = t->next->typ == ttKlammerAuf ? ttFunctionID : ttVarID;
        }
    }
}

tToken* TScanner::readToken() {
    if (readPosition == nullptr) {
        // Reading past the end keeps returning the end-of-file token.
        static tToken endOfFile{"", ttEndOfFile, 0, 0, 0, nullptr, -1};
        return m_last != nullptr ? m_last : &endOfFile;
    }
    tToken* t = readPosition;
    readPosition = t->next;
    return t;
}

std::int32_t TScanner::readTokenType() {
    return readToken()->typ;
}

std::int32_t TScanner::getTokenType(const tToken* tok, std::int32_t ahead) const {
    for (std::int32_t step = 0; step <= ahead && tok != nullptr; ++step)
        tok = tok->next;
    return tok != nullptr ? tok->typ : 0;
}

std::string TScanner::int2typestring(std::int32_t i) const {
    return std::string(tokenTypeName(i));
}

std::string TScanner::getTokenTypeAsString(const tToken* t) const {
    return t != nullptr ? int2typestring(t->typ) : int2typestring(-1);
}

std::string TScanner::Typ2Str(std::int32_t typ) {
    switch (typ) {
    case ttGenTypeInt:
        return "Int";
    case ttGenTypeBool:
        return "Bool";
    case ttGenTypeString:
        return "String";
    case ttGenTypeVoid:
        return "Void";
    case ttGenTypeArray:
        return "Array";
    default:
        return "";
    }
}

} // namespace orvane
