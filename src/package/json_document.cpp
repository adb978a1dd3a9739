// Reading values of the flat document model.
#include "json_document.h"

#include "json_text.h"

#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>

namespace orvane {

JsonDocument::JsonDocument(TextBuffer text, std::vector<Record> records,
                           std::vector<std::uint32_t> elements, std::vector<Member> members)
    : m_text(std::move(text)), m_records(std::move(records)), m_elements(std::move(elements)),
      m_members(std::move(members)), m_unescaped(std::make_unique<UnescapedTexts>()) {}

// Unescaped texts by the offset of their written form. Map nodes never move, so
// views of their strings stay valid as long as the document.
struct JsonDocument::UnescapedTexts {
    std::mutex lock;
    std::unordered_map<std::uint32_t, std::string> byOffset;
};

JsonDocument::JsonDocument(JsonDocument&&) noexcept = default;
JsonDocument& JsonDocument::operator=(JsonDocument&&) noexcept = default;
JsonDocument::~JsonDocument() = default;

std::string_view JsonDocument::unescapedText(TextRef ref) const {
    const std::lock_guard guard(m_unescaped->lock);
    const auto [entry, added] = m_unescaped->byOffset.try_emplace(ref.offset);
    std::string& text = entry->second;
    if (added) {
        // No escape is shorter than what it stands for; the closing quote ends it.
        text.resize(ref.length);
        const char* written = m_text.data() + ref.offset;
        const UnescapedString result =
            unescapeJsonString(written, written + ref.length + 1, text.data());
        text.resize(static_cast<std::size_t>(result.end - text.data()));
    }
    return text;
}

JsonKind JsonValue::kind() const {
    return m_document->m_records[m_record].kind;
}

std::string_view JsonValue::text() const {
    const JsonDocument::Record& record = m_document->m_records[m_record];
    if (record.kind != JsonKind::String && record.kind != JsonKind::Number)
        return {};
    return m_document->textOf({record.first, record.count, record.escaped});
}

JsonValue::Content JsonValue::content() const {
    const JsonDocument::Record& record = m_document->m_records[m_record];
    if (!record.escaped)
        return {text(), false};
    return {m_document->writtenText({record.first, record.count, true}), true};
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
