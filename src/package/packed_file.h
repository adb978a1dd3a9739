// An embedded file of the package as stored: its Base64 text and what the members beside "bin" say
// about it, and the stream that delivers its bytes checked against them.
#pragma once

#include "builtin_services.h"
#include "json_document.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

struct PackedFile {
    std::string path; // the package path, named in errors
    std::string_view base64;
    std::optional<std::uint64_t> size; // "size": the decoded byte count
    std::optional<std::string> sha256; // "sha256": the digest of the decoded bytes
    bool zstd = false;                 // "compression": "zstd"
    // `base64` is a JSON string's content as written, escapes still in it (see JsonValue::content).
    bool base64Escaped = false;
};

// Raises "Paketinhalt beschädigt: PATH (Prüfsumme stimmt nicht)".
[[noreturn]] void failCorrupted(std::string_view path);

// The file whose Base64 text is `base64`, described by the members of `owner` when the path named
// the member "bin" of that object. A malformed "size", "sha256" or "compression" raises the
// corruption error: such a file cannot be checked.
PackedFile describePackedFile(std::string path, std::string_view base64,
                              const std::optional<JsonValue>& owner);

// The decoded (and decompressed) bytes of `file`, hashed on the way. Raises the corruption error as
// soon as the bytes cannot be what the package promises: a broken zstd frame, more bytes than
// "size", and at the end a short count or a digest that differs from "sha256".
std::unique_ptr<ByteSource> openPackedFile(const PackedFile& file);

// All bytes of `file`, checked.
std::string readPackedFile(const PackedFile& file);

} // namespace orvane
