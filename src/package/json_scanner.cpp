// One pass over JSON text token by token, building the document model.
//
// A package is a few hundred tokens around a few huge strings. The scanner steps
// from token to token and crosses each string with a vector search for its end
// (scanJsonString), so it reads every byte once, writes none, and its memory
// follows the number of values, not the length of the text. Strings with escapes
// stay as written; the document resolves them on use.
//
// It reports no faults: readJson reads a text the scanner rejects again with the
// simdjson walker, whose descriptions and byte positions are the ones users see.
// So the scanner must accept nothing the walker rejects, and build the same
// document wherever both accept; where in doubt it rejects, which costs only time.
#include "json_scanner.h"

#include "json_document_builder.h"
#include "json_reader.h"
#include "json_text.h"

#include <limits>
#include <new>
#include <string_view>
#include <vector>

namespace orvane {

namespace {

// The walker's bound: offsets into the buffer are 32-bit.
constexpr std::size_t kMaxScannedBytes = std::numeric_limits<std::uint32_t>::max() - 1;

bool isJsonSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Where a number or a literal ends.
bool endsToken(char c) {
    return isJsonSpace(c) || c == ',' || c == ':' || c == '[' || c == ']' || c == '{' || c == '}' ||
           c == '"';
}

class Scanner {
  public:
    Scanner(const char* base, std::size_t begin, std::size_t length)
        : m_pos(base + begin), m_end(m_pos + length), m_builder(base) {}

    // text -> space value space
    bool run();
    JsonDocument finish(TextBuffer text) { return m_builder.finish(std::move(text)); }

  private:
    // What comes next: another value, the end of the text, or a fault.
    enum class Next { Value, End, Fault };

    Next beginValue();
    Next afterValue();
    Next openContainer(JsonKind kind, char close);
    bool memberHead();
    bool string(JsonDocument::TextRef& text);
    bool literal();

    void skipSpace() {
        while (m_pos < m_end && isJsonSpace(*m_pos))
            ++m_pos;
    }
    bool at(char c) const { return m_pos < m_end && *m_pos == c; }

    const char* m_pos;
    const char* m_end;
    JsonDocumentBuilder m_builder;
    std::vector<bool> m_openIsObject; // the open containers, innermost last
};

bool Scanner::run() {
    skipSpace();
    Next next = Next::Value;
    while (next == Next::Value)
        next = beginValue();
    return next == Next::End;
}

// value -> object | array | string | number | "true" | "false" | "null"
Scanner::Next Scanner::beginValue() {
    if (m_pos == m_end)
        return Next::Fault;
    switch (*m_pos) {
    case '{':
        return openContainer(JsonKind::Object, '}');
    case '[':
        return openContainer(JsonKind::Array, ']');
    case '"': {
        JsonDocument::TextRef text;
        if (!string(text))
            return Next::Fault;
        m_builder.addScalar(JsonKind::String, text);
        return afterValue();
    }
    default:
        return literal() ? afterValue() : Next::Fault;
    }
}

// object -> "{" space ( member ( "," space member )* )? "}"
// array -> "[" space ( value space ( "," space value space )* )? "]"
Scanner::Next Scanner::openContainer(JsonKind kind, char close) {
    // The walker's bound on nesting, counted the same way: the root is free.
    if (m_builder.depth() >= kMaxJsonNesting)
        return Next::Fault;
    m_builder.openContainer(kind);
    m_openIsObject.push_back(kind == JsonKind::Object);
    ++m_pos;
    skipSpace();
    if (!at(close))
        return kind == JsonKind::Array || memberHead() ? Next::Value : Next::Fault;
    ++m_pos;
    m_builder.closeContainer();
    m_openIsObject.pop_back();
    return afterValue();
}

// After a value: a comma and the next one, or the ends of containers.
Scanner::Next Scanner::afterValue() {
    for (;;) {
        skipSpace();
        if (m_openIsObject.empty())
            return m_pos == m_end ? Next::End : Next::Fault;
        if (m_pos == m_end)
            return Next::Fault;
        const bool inObject = m_openIsObject.back();
        const char c = *m_pos++;
        if (c == ',') {
            skipSpace();
            return !inObject || memberHead() ? Next::Value : Next::Fault;
        }
        if (c != (inObject ? '}' : ']'))
            return Next::Fault;
        m_builder.closeContainer();
        m_openIsObject.pop_back();
    }
}

// member -> string space ":" space value
bool Scanner::memberHead() {
    JsonDocument::TextRef name;
    if (!at('"') || !string(name))
        return false;
    m_builder.setMemberName(name);
    skipSpace();
    if (!at(':'))
        return false;
    ++m_pos;
    skipSpace();
    return true;
}

// string -> '"' character* '"', at the opening quote.
bool Scanner::string(JsonDocument::TextRef& text) {
    const char* content = m_pos + 1;
    const ScannedString scanned = scanJsonString(content, m_end);
    if (!scanned.close)
        return false;
    text = m_builder.textAt(content, scanned.close, scanned.hasEscapes);
    m_pos = scanned.close + 1;
    return true;
}

// A number, true, false or null: the characters up to the next delimiter.
bool Scanner::literal() {
    const char* start = m_pos;
    while (m_pos < m_end && !endsToken(*m_pos))
        ++m_pos;
    const std::string_view token(start, static_cast<std::size_t>(m_pos - start));
    if (token == "true")
        m_builder.addScalar(JsonKind::True);
    else if (token == "false")
        m_builder.addScalar(JsonKind::False);
    else if (token == "null")
        m_builder.addScalar(JsonKind::Null);
    else if (isJsonNumber(token))
        m_builder.addScalar(JsonKind::Number, m_builder.textAt(start, m_pos));
    else
        return false;
    return true;
}

} // namespace

std::optional<JsonDocument> scanJson(TextBuffer& buffer, std::size_t begin, std::size_t length) {
    if (begin + length > kMaxScannedBytes)
        return std::nullopt;
    try {
        Scanner scanner(buffer.data(), begin, length);
        if (!scanner.run())
            return std::nullopt;
        return scanner.finish(std::move(buffer));
    } catch (const std::bad_alloc&) {
        return std::nullopt; // the walker reports it, should it run short as well
    }
}

} // namespace orvane
