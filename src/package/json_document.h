// The install package's document model: an ordered JSON tree, read-only once built.
//
// Design: the whole tree lives in flat arrays owned by JsonDocument, not in nodes
// that own their children. A package is mostly a few huge strings, so the texts
// stay in the buffer the file was read into: strings and member names are
// unescaped where they lie (no escape is shorter than what it stands for),
// numbers keep their text as written, and the document keeps that buffer.
// Loading thus never holds a second copy of the file. Values are 12-byte records; a container's
// elements or members are one contiguous run of the element or member array, so indexing is O(1)
// and members keep file order with duplicates. Nothing is recursive: any nesting depth is destroyed
// in constant stack space. JsonValue is a small view (document, record number).
//
// Strings with escapes may also stay as written, when the buffer is a read-only
// file mapping: a package's Base64 texts hold a "\n" escape every few dozen
// bytes, and unescaping them all at load would write (and so copy) nearly every
// page of the file. Such a string is unescaped on its first use into storage of
// the document's own, or read piece by piece through content().
//
// Offsets and counts are 32-bit: the parser takes at most 4 GiB of input, and
// no text, value count or member count can exceed the input's length.
#pragma once

#include "text_buffer.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace orvane {

enum class JsonKind : std::uint8_t { Null, False, True, Number, String, Array, Object };

class JsonDocument;

// One value of a document; valid as long as the document lives.
class JsonValue {
  public:
    JsonKind kind() const;
    bool isArray() const { return kind() == JsonKind::Array; }
    bool isObject() const { return kind() == JsonKind::Object; }

    // A string's text or a number's text as written; empty for other kinds.
    std::string_view text() const;

    // A string's content as the document holds it: its text, or, when `escaped`,
    // the text as written between its quotes, escapes still in it (well-formed;
    // unescapeJsonPiece reads it). For other kinds as text().
    struct Content {
        std::string_view bytes;
        bool escaped = false;
    };
    Content content() const;

    // Elements of an array or members of an object; 0 for other kinds.
    std::size_t size() const;

    // For arrays, index < size().
    JsonValue element(std::size_t index) const;

    // For objects, index < size().
    std::string_view memberName(std::size_t index) const;
    JsonValue memberValue(std::size_t index) const;

    // The first member called exactly `name`; nullopt when there is none or this
    // is no object.
    std::optional<JsonValue> member(std::string_view name) const;

  private:
    friend class JsonDocument;
    JsonValue(const JsonDocument* document, std::uint32_t record)
        : m_document(document), m_record(record) {}

    const JsonDocument* m_document;
    std::uint32_t m_record;
};

class JsonDocument {
  public:
    // Where a text lies in the buffer.
    struct TextRef {
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
        bool escaped = false; // the text as written between quotes, escapes still in it
    };
    // A value: a text for strings and numbers, a run of elements or members for
    // containers, nothing for true, false and null.
    struct Record {
        std::uint32_t first = 0; // text offset, or index of the first element or member
        std::uint32_t count = 0; // text length, or number of elements or members
        JsonKind kind = JsonKind::Null;
        bool escaped = false; // as in TextRef
    };
    struct Member {
        TextRef name;
        std::uint32_t value = 0;
    };

    // Made by JsonDocumentBuilder; record 0 is the root.
    JsonDocument(TextBuffer text, std::vector<Record> records, std::vector<std::uint32_t> elements,
                 std::vector<Member> members);
    JsonDocument(JsonDocument&&) noexcept;
    JsonDocument& operator=(JsonDocument&&) noexcept;
    ~JsonDocument();

    JsonValue root() const { return JsonValue(this, 0); }

  private:
    friend class JsonValue;
    struct UnescapedTexts;

    std::string_view writtenText(TextRef ref) const {
        return {m_text.data() + ref.offset, ref.length};
    }
    std::string_view textOf(TextRef ref) const {
        return ref.escaped ? unescapedText(ref) : writtenText(ref);
    }
    std::string_view unescapedText(TextRef ref) const;

    TextBuffer m_text;
    std::vector<Record> m_records;
    std::vector<std::uint32_t> m_elements;
    std::vector<Member> m_members;
    std::unique_ptr<UnescapedTexts> m_unescaped; // filled on first use, from any thread
};

} // namespace orvane
