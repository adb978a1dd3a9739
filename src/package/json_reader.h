// Parsing JSON text into the document model.
#pragma once

#include "json_document.h"
#include "text_buffer.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// The deepest nesting of arrays and objects accepted. Real packages nest three
// levels; the bound sizes the parser's per-level tables, which are allocated
// before parsing starts.
inline constexpr std::size_t kMaxJsonNesting = 100000;

// A document, or none and why.
struct LoadedJson {
    std::optional<JsonDocument> document;
    std::string error; // empty when there is a document
};

// Parses the UTF-8 JSON text of `length` bytes at `begin` in `buffer`, walking it
// once. The buffer becomes the document's: its strings are unescaped where they
// lie. Without a document, the buffer is released.
LoadedJson readJson(TextBuffer buffer, std::size_t begin, std::size_t length);

// The same for text in any memory (it is copied into a buffer first).
LoadedJson readJson(std::string_view text);

} // namespace orvane
