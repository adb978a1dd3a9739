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

// Parses the UTF-8 JSON text of `length` bytes at `begin` in `buffer`. The buffer
// becomes the document's; without a document, it is released.
LoadedJson readJson(TextBuffer buffer, std::size_t begin, std::size_t length);

// The same with simdjson alone, which readJson falls back on to describe a fault;
// `buffer` must be writable: its strings are unescaped where they lie.
LoadedJson readJsonDescribingFaults(TextBuffer buffer, std::size_t begin, std::size_t length);

// The same for text in any memory (it is copied into a buffer first).
LoadedJson readJson(std::string_view text);

} // namespace orvane
