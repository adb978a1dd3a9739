// The JSON reader's fast way through well-formed text, straight into the document model.
#pragma once

#include "json_document.h"
#include "text_buffer.h"

#include <cstddef>
#include <optional>

namespace orvane {

// The document of the UTF-8 JSON text of `length` bytes at `begin` in `buffer`,
// which then becomes the document's; nullopt, with `buffer` left as it was, when
// the text is not JSON within the reader's bounds. It says nothing of a fault:
// readJson then reads the text again to describe it.
std::optional<JsonDocument> scanJson(TextBuffer& buffer, std::size_t begin, std::size_t length);

} // namespace orvane
