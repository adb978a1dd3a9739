// Parsing JSON text into the document model.
#pragma once

#include "json_document.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// Bytes that must be readable after the end of the text given to readJson: the
// parser reads ahead in blocks. Zero bytes are best.
inline constexpr std::size_t kJsonPadding = 64;

// The deepest nesting of arrays and objects accepted. Real packages nest three
// levels; the bound sizes the parser's per-level tables, which are allocated
// before parsing starts.
inline constexpr std::size_t kMaxJsonNesting = 100000;

// A document, or none and why.
struct LoadedJson {
    std::optional<JsonDocument> document;
    std::string error; // empty when there is a document
};

// Parses the UTF-8 JSON text of `length` bytes at `text`, followed by at least
// kJsonPadding readable bytes. The text is walked once; texts are copied into the
// document, so the input may be released afterwards.
LoadedJson readJson(const char* text, std::size_t length);

// The same for text without padding (it is copied into a padded buffer first).
LoadedJson readJson(std::string_view text);

} // namespace orvane
