// The layout of a bundle: launcher, payload, index and trailer, and the index's text form.
//
// A bundle is the launcher executable followed by the payload (one zstd stream of every file's
// bytes, one file after the other in index order), the index (a short text naming each file with
// its size) and a fixed-size trailer at the very end. The trailer gives the offsets and the SHA-256
// of payload and index together, so the launcher can check the whole file before it writes
// anything, and `--bundle-info` can list the contents without decompressing them.
#pragma once

#include "bundle_sha256.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::bundle {

inline constexpr std::string_view kTrailerMagic = "ORVBNDL1";
// Three 8-byte numbers, the 32-byte digest, the 8-byte magic.
inline constexpr std::size_t kTrailerSize = 3 * 8 + 32 + 8;

struct Trailer {
    std::uint64_t payloadOffset = 0; // where the payload starts: the launcher's size
    std::uint64_t payloadSize = 0;
    std::uint64_t indexSize = 0; // the index follows the payload, the trailer follows the index
    Digest sha256{};             // of payload and index
};

std::string encodeTrailer(const Trailer& trailer);
// The trailer in the last kTrailerSize bytes of a file of `fileSize` bytes; nothing when the magic
// is missing or the offsets do not add up to the file's size (a truncated or foreign file).
std::optional<Trailer> decodeTrailer(std::string_view lastBytes, std::uint64_t fileSize);

struct IndexEntry {
    std::string path; // relative to the extraction folder
    std::uint64_t size = 0;
    bool executable = false;
};

struct Index {
    std::string version; // the engine's version
    std::string engine;  // path of the engine: the bundle's name
    std::string package; // path of the package beside it
    std::vector<IndexEntry> files;
};

std::string formatIndex(const Index& index);
// The index of `text`, or nothing when it is malformed or names an unsafe path.
std::optional<Index> parseIndex(std::string_view text);

// A path that stays inside the extraction folder: relative, no empty, "." or ".." part, no line
// break.
bool isSafeRelativePath(std::string_view path);

} // namespace orvane::bundle
