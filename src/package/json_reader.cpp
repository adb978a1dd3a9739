// One pass of simdjson's On-Demand API over the text, building the document model.
// Well-formed text takes the scanner's faster way (json_scanner.cpp); this walk
// runs for the rest and says what is wrong and where.
//
// The walk keeps its own stack of open containers instead of recursing, so the
// nesting depth costs heap, not call stack. Scalars are taken as raw tokens and
// never converted by simdjson: strings are unescaped by us in place (simdjson's
// own string buffer would be a second copy of every string), numbers keep their
// text, and both are checked against the grammar here, since On-Demand checks
// only what a caller asks it to convert. Unescaping in place is safe for the
// parser: it shortens a string within its own quotes, and On-Demand never reads
// a string's content again once its structure has been indexed.
#include "json_reader.h"

#include "json_document_builder.h"
#include "json_scanner.h"
#include "json_text.h"

#include <simdjson.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

namespace orvane {

static_assert(simdjson::SIMDJSON_PADDING <= kTextPadding);

namespace {

namespace od = simdjson::ondemand;

// simdjson indexes its input with 32-bit offsets, and so does the document.
constexpr std::size_t kMaxJsonBytes = std::numeric_limits<std::uint32_t>::max() - 1;

// A fault found during the walk; `at` is where, when known.
struct JsonFault {
    std::string description;
    const char* at = nullptr;
};

std::string describe(simdjson::error_code code) {
    switch (code) {
    case simdjson::EMPTY:
        return "das Dokument ist leer";
    case simdjson::UTF8_ERROR:
        return "ungültiges UTF-8";
    case simdjson::UNCLOSED_STRING:
        return "Zeichenkette nicht abgeschlossen";
    case simdjson::UNESCAPED_CHARS:
        return "Steuerzeichen in einer Zeichenkette";
    case simdjson::TAPE_ERROR:
        return "Komma, Doppelpunkt oder Klammer fehlt oder ist überzählig";
    case simdjson::INCOMPLETE_ARRAY_OR_OBJECT:
        return "Objekt oder Array nicht abgeschlossen";
    case simdjson::INCORRECT_TYPE:
        return "unerwartetes Zeichen";
    case simdjson::CAPACITY:
        return "das Dokument ist größer als 4 GiB";
    case simdjson::MEMALLOC:
        return "nicht genug Speicher";
    default:
        return simdjson::error_message(code);
    }
}

bool isJsonSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// A raw token reaches up to the next token; the blanks before it are no part of it.
std::string_view trimToken(std::string_view token) {
    while (!token.empty() && isJsonSpace(token.back()))
        token.remove_suffix(1);
    return token;
}

class Walker {
  public:
    Walker(od::document& document, TextBuffer buffer, std::size_t begin, std::size_t length)
        : m_document(document), m_buffer(std::move(buffer)), m_base(m_buffer.data()),
          m_end(m_base + begin + length), m_builder(m_base) {}

    JsonDocument run();

  private:
    // An open container: its iterator and whether its first child has been taken.
    struct Frame {
        od::array_iterator element, elementsEnd;
        od::object_iterator member, membersEnd;
        bool isObject = false;
        bool started = false;
    };

    void check(simdjson::error_code code) {
        if (code != simdjson::SUCCESS)
            throw JsonFault{describe(code), currentLocation()};
    }
    const char* currentLocation();

    bool runRoot();
    void step();
    void stepArray(Frame& frame);
    void stepObject(Frame& frame);
    void addValue(od::value value);
    void addScalar(od::json_type type, std::string_view token);
    void pushArray(od::array array);
    void pushObject(od::object object);
    void checkNesting(const char* at) const;
    JsonDocument::TextRef unescape(const char* content);

    od::document& m_document;
    TextBuffer m_buffer;
    char* m_base; // the buffer, writable: simdjson hands out read-only pointers into it
    const char* m_end;
    JsonDocumentBuilder m_builder;
    std::vector<Frame> m_frames;
};

const char* Walker::currentLocation() {
    const char* location = nullptr;
    if (m_document.current_location().get(location) != simdjson::SUCCESS)
        return nullptr;
    return location;
}

JsonDocument Walker::run() {
    if (!runRoot())
        return m_builder.finish(std::move(m_buffer));
    while (!m_frames.empty())
        step();
    // The document's location is "out of bounds" exactly when every token is used.
    const char* rest = nullptr;
    if (m_document.current_location().get(rest) != simdjson::OUT_OF_BOUNDS)
        throw JsonFault{"Text nach dem Ende des Dokuments", rest};
    return m_builder.finish(std::move(m_buffer));
}

// Returns true when the root is a container, which the walk then goes through.
bool Walker::runRoot() {
    od::json_type type{};
    check(m_document.type().get(type));
    if (type == od::json_type::object) {
        od::object object;
        check(m_document.get_object().get(object));
        pushObject(object);
        return true;
    }
    if (type == od::json_type::array) {
        od::array array;
        check(m_document.get_array().get(array));
        pushArray(array);
        return true;
    }
    std::string_view token;
    check(m_document.raw_json_token().get(token));
    if (type == od::json_type::string)
        m_builder.addScalar(JsonKind::String, unescape(token.data() + 1));
    else
        addScalar(type, token);
    // The root token runs up to the next token; there must be none.
    if (token.data() + token.size() != m_end)
        throw JsonFault{"Text nach dem Ende des Dokuments", token.data() + token.size()};
    return false;
}

void Walker::step() {
    Frame& frame = m_frames.back();
    if (frame.isObject)
        stepObject(frame);
    else
        stepArray(frame);
}

// Takes the next element; `frame` may be gone afterwards (pushed over or popped).
void Walker::stepArray(Frame& frame) {
    if (frame.started)
        ++frame.element;
    frame.started = true;
    if (!(frame.element != frame.elementsEnd)) {
        m_frames.pop_back();
        m_builder.closeContainer();
        return;
    }
    od::value value;
    check((*frame.element).get(value));
    addValue(value);
}

void Walker::stepObject(Frame& frame) {
    if (frame.started)
        ++frame.member;
    frame.started = true;
    if (!(frame.member != frame.membersEnd)) {
        m_frames.pop_back();
        m_builder.closeContainer();
        return;
    }
    od::field field;
    check((*frame.member).get(field));
    m_builder.setMemberName(unescape(field.key().raw()));
    addValue(field.value());
}

void Walker::addValue(od::value value) {
    od::json_type type{};
    check(value.type().get(type));
    if (type == od::json_type::object) {
        checkNesting(value.raw_json_token().data());
        od::object object;
        check(value.get_object().get(object));
        pushObject(object);
    } else if (type == od::json_type::array) {
        checkNesting(value.raw_json_token().data());
        od::array array;
        check(value.get_array().get(array));
        pushArray(array);
    } else if (type == od::json_type::string) {
        // Strings are consumed: skipping one that is followed by ":" would take it
        // for a member name and silently accept ["a":1].
        od::raw_json_string raw;
        check(value.get_raw_json_string().get(raw));
        m_builder.addScalar(JsonKind::String, unescape(raw.raw()));
    } else {
        // Not consumed: the parent iterator's next step skips the token.
        addScalar(type, value.raw_json_token());
    }
}

// A number, true, false or null, from its raw token.
void Walker::addScalar(od::json_type type, std::string_view token) {
    const std::string_view trimmed = trimToken(token);
    if (type == od::json_type::number) {
        if (!isJsonNumber(trimmed))
            throw JsonFault{"ungültige Zahl", token.data()};
        m_builder.addScalar(JsonKind::Number,
                            m_builder.textAt(trimmed.data(), trimmed.data() + trimmed.size()));
    } else if (trimmed == "true") {
        m_builder.addScalar(JsonKind::True);
    } else if (trimmed == "false") {
        m_builder.addScalar(JsonKind::False);
    } else if (trimmed == "null") {
        m_builder.addScalar(JsonKind::Null);
    } else {
        throw JsonFault{"ungültiger Wert", token.data()};
    }
}

void Walker::pushArray(od::array array) {
    m_builder.openContainer(JsonKind::Array);
    Frame frame;
    check(array.begin().get(frame.element));
    check(array.end().get(frame.elementsEnd));
    m_frames.push_back(frame);
}

void Walker::pushObject(od::object object) {
    m_builder.openContainer(JsonKind::Object);
    Frame frame;
    frame.isObject = true;
    check(object.begin().get(frame.member));
    check(object.end().get(frame.membersEnd));
    m_frames.push_back(frame);
}

// Checked before simdjson enters the container: its tables end at the bound.
void Walker::checkNesting(const char* at) const {
    if (m_builder.depth() >= kMaxJsonNesting)
        throw JsonFault{"mehr als " + std::to_string(kMaxJsonNesting) +
                            " Ebenen von Objekten und Arrays ineinander",
                        at};
}

// Unescapes the string whose content starts at `content` where it lies.
JsonDocument::TextRef Walker::unescape(const char* content) {
    char* writable = m_base + (content - m_base);
    const UnescapedString result = unescapeJsonString(content, m_end, writable);
    if (result.error)
        throw JsonFault{result.error, result.next};
    return m_builder.textAt(writable, result.end);
}

LoadedJson failure(const std::string& description, const char* at, const char* text) {
    std::string message = "Kein gültiges JSON: " + description;
    if (at)
        message += " (Byte " + std::to_string(at - text) + ")";
    return {std::nullopt, message};
}

} // namespace

LoadedJson readJsonDescribingFaults(TextBuffer buffer, std::size_t begin, std::size_t length) {
    const char* text = buffer.data() + begin;
    if (begin + length > kMaxJsonBytes)
        return failure(describe(simdjson::CAPACITY), nullptr, text);
    od::parser parser;
    // The depth bound of the parser's tables; the walk checks the nesting itself.
    if (const auto code = parser.allocate(length, kMaxJsonNesting + 2))
        return failure(describe(code), nullptr, text);
    od::document document;
    if (const auto code = parser.iterate(text, length, length + kTextPadding).get(document))
        return failure(describe(code), nullptr, text);
    // The walker owns the buffer until the document does; faults point into it.
    Walker walker(document, std::move(buffer), begin, length);
    try {
        return {walker.run(), {}};
    } catch (const JsonFault& fault) {
        const bool inside = fault.at && fault.at >= text && fault.at <= text + length;
        return failure(fault.description, inside ? fault.at : nullptr, text);
    } catch (const std::bad_alloc&) {
        return failure(describe(simdjson::MEMALLOC), nullptr, text);
    }
}

LoadedJson readJson(TextBuffer buffer, std::size_t begin, std::size_t length) {
    if (std::optional<JsonDocument> document = scanJson(buffer, begin, length))
        return {std::move(document), {}};
    if (!buffer.writable()) {
        // The walk unescapes strings where they lie.
        try {
            TextBuffer copy(buffer.size());
            std::memcpy(copy.data(), buffer.data(), buffer.size());
            buffer = std::move(copy);
        } catch (const std::bad_alloc&) {
            return failure(describe(simdjson::MEMALLOC), nullptr, nullptr);
        }
    }
    return readJsonDescribingFaults(std::move(buffer), begin, length);
}

LoadedJson readJson(std::string_view text) {
    try {
        TextBuffer buffer(text.size());
        if (!text.empty())
            std::memcpy(buffer.data(), text.data(), text.size());
        return readJson(std::move(buffer), 0, text.size());
    } catch (const std::bad_alloc&) {
        return failure(describe(simdjson::MEMALLOC), nullptr, nullptr);
    }
}

} // namespace orvane
