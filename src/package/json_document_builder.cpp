// Building the flat document model.
#include "json_document_builder.h"

#include <utility>

namespace orvane {

JsonDocument::TextRef JsonDocumentBuilder::textAt(const char* begin, const char* end,
                                                  bool escaped) const {
    return {static_cast<std::uint32_t>(begin - m_base), static_cast<std::uint32_t>(end - begin),
            escaped};
}

std::uint32_t JsonDocumentBuilder::addRecord(JsonKind kind, JsonDocument::TextRef text) {
    const auto id = static_cast<std::uint32_t>(m_records.size());
    m_records.push_back({text.offset, text.length, kind, text.escaped});
    if (m_open.empty())
        return id;
    const OpenContainer& parent = m_open.back();
    if (m_records[parent.record].kind == JsonKind::Array)
        m_openElements.push_back(id);
    else
        m_openMembers.push_back({m_memberName, id});
    return id;
}

void JsonDocumentBuilder::addScalar(JsonKind kind, JsonDocument::TextRef text) {
    addRecord(kind, text);
}

void JsonDocumentBuilder::openContainer(JsonKind kind) {
    const std::uint32_t id = addRecord(kind, {});
    const std::size_t start =
        kind == JsonKind::Array ? m_openElements.size() : m_openMembers.size();
    m_open.push_back({id, start});
}

// Moves `scratch[start..]` to the end of `done` and returns where it begins there.
template <typename T>
static std::uint32_t moveRun(std::vector<T>& scratch, std::size_t start, std::vector<T>& done) {
    const auto first = static_cast<std::uint32_t>(done.size());
    done.insert(done.end(), scratch.begin() + static_cast<std::ptrdiff_t>(start), scratch.end());
    scratch.resize(start);
    return first;
}

void JsonDocumentBuilder::closeContainer() {
    const OpenContainer open = m_open.back();
    m_open.pop_back();
    JsonDocument::Record& record = m_records[open.record];
    if (record.kind == JsonKind::Array) {
        record.count = static_cast<std::uint32_t>(m_openElements.size() - open.childrenStart);
        record.first = moveRun(m_openElements, open.childrenStart, m_elements);
    } else {
        record.count = static_cast<std::uint32_t>(m_openMembers.size() - open.childrenStart);
        record.first = moveRun(m_openMembers, open.childrenStart, m_members);
    }
}

JsonDocument JsonDocumentBuilder::finish(TextBuffer text) {
    return JsonDocument(std::move(text), std::move(m_records), std::move(m_elements),
                        std::move(m_members));
}

} // namespace orvane
