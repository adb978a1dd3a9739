// The install package document and its lookups by path.
#pragma once

#include "json_document.h"
#include "packed_file.h"

#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// Holds the parsed package, or none when it could not be read or parsed; then
// every lookup fails as a missing value would. Lookups throw ScriptError with the
// German text; none returns an empty value in place of a missing one.
//
// Values handed out point into the document: keep the PackageDocument in one
// place (it is held for the whole run) and do not move it while they are in use.
class PackageDocument {
  public:
    PackageDocument() = default;
    explicit PackageDocument(std::optional<JsonDocument> document);

    bool hasDocument() const { return m_document.has_value(); }

    // The value at `path`, or nullopt when there is none; throws only for
    // malformed paths.
    std::optional<JsonValue> find(std::string_view path) const;

    // The value at `path` as text: a string's text, a number as written, "true",
    // "false", and "" for null. Objects and arrays are no text.
    std::string_view packageString(std::string_view path) const;

    // The array at `path`.
    JsonValue packageArray(std::string_view path) const;

    // The embedded file whose Base64 text is at `path`; when `path` names the member "bin" of an
    // object, with what that object's "size", "sha256" and "compression" say about it.
    PackedFile packedFile(std::string_view path) const;

    // The bytes of the embedded file at `path`, uncompressed and checked (see packed_file.h).
    std::string packageBytes(std::string_view path) const;

    // The bytes of the first element of "binfiles" whose "id" is exactly `id`, or
    // nullopt when no element has it. Elements are read in order up to the match;
    // one without "id" before it ends the search with the lookup error.
    std::optional<std::string> findEmbeddedFile(std::string_view id) const;

  private:
    JsonValue require(std::string_view path) const;

    std::optional<JsonDocument> m_document;
};

} // namespace orvane
