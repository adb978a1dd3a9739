// Reading values of the flat document model.
#include "json_document.h"

#include <utility>

namespace orvane {

JsonDocument::JsonDocument(TextBuffer text, std::vector<Record> records,
                           std::vector<std::uint32_t> elements, std::vector<Member> members)
    : m_text(std::move(text)), m_records(std::move(records)), m_elements(std::move(elements)),
      m_members(std::move(members)) {}

JsonKind JsonValue::kind() const {
    return m_document->m_records[m_record].kind;
}

std::string_view JsonValue::text() const {
    const JsonDocument::Record& record = m_document->m_records[m_record];
    if (record.kind != JsonKind::String && record.kind != JsonKind::Number)
        return {};
    return m_document->textOf({record.first, record.count});
}

std::size_t JsonValue::size() const {
    const JsonDocument::Record& record = m_document->m_records[m_record];
    return record.kind == JsonKind::Array || record.kind == JsonKind::Object ? record.count : 0;
}

JsonValue JsonValue::element(std::size_t index) const {
    const JsonDocument::Record& record = m_document->m_records[m_record];
    return JsonValue(m_document, m_document->m_elements[record.first + index]);
}

std::string_view JsonValue::memberName(std::size_t index) const {
    const JsonDocument::Record& record = m_document->m_records[m_record];
    return m_document->textOf(m_document->m_members[record.first + index].name);
}

JsonValue JsonValue::memberValue(std::size_t index) const {
    const JsonDocument::Record& record = m_document->m_records[m_record];
    return JsonValue(m_document, m_document->m_members[record.first + index].value);
}

std::optional<JsonValue> JsonValue::member(std::string_view name) const {
    if (!isObject())
        return std::nullopt;
    for (std::size_t i = 0; i < size(); ++i) {
        if (memberName(i) == name)
            return memberValue(i);
    }
    return std::nullopt;
}

} // namespace orvane
