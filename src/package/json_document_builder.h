// Building a JsonDocument value by value, in document order.
#pragma once

#include "json_document.h"

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace orvane {

// Receives the values of one document as a reader meets them: scalars, and
// containers opened and closed around their contents. Each value becomes an
// element of the innermost open array or, under the name set just before, a
// member of the innermost open object; the first value is the root.
class JsonDocumentBuilder {
  public:
    // Texts lie in the buffer at `base`, which the document will keep.
    explicit JsonDocumentBuilder(const char* base) : m_base(base) {}

    // The text at [begin, end), which lies in the buffer; `escaped` when it is a
    // string's content as written, escapes still in it.
    JsonDocument::TextRef textAt(const char* begin, const char* end, bool escaped = false) const;

    // Names the next value added to the open object.
    void setMemberName(JsonDocument::TextRef name) { m_memberName = name; }

    void addScalar(JsonKind kind, JsonDocument::TextRef text = {});
    void openContainer(JsonKind kind); // Array or Object
    void closeContainer();

    // Open containers, the root included.
    std::size_t depth() const { return m_open.size(); }

    // The finished document with `text`, the buffer at the base; the root has been
    // added and every container closed.
    JsonDocument finish(TextBuffer text);

  private:
    struct OpenContainer {
        std::uint32_t record;
        std::size_t childrenStart; // where its children begin in the scratch array
    };

    std::uint32_t addRecord(JsonKind kind, JsonDocument::TextRef text);

    const char* m_base;
    JsonDocument::TextRef m_memberName;

    std::vector<JsonDocument::Record> m_records;
    std::vector<std::uint32_t> m_elements;
    std::vector<JsonDocument::Member> m_members;

    // The children of open containers, innermost last; a container's run moves
    // to m_elements or m_members when it closes, so every run is contiguous.
    std::vector<std::uint32_t> m_openElements;
    std::vector<JsonDocument::Member> m_openMembers;
    std::vector<OpenContainer> m_open;
};

} // namespace orvane
