// Encoding and decoding of the trailer and the index.
#include "bundle_layout.h"

#include <algorithm>
#include <charconv>

namespace orvane::bundle {

namespace {

constexpr std::string_view kIndexHeader = "orvane-bundle 1";
// Far above what a bundle holds (some sixty files); bounds the work on a damaged index.
constexpr std::size_t kMaxFiles = 10000;

void putNumber(std::string& out, std::uint64_t value) {
    for (int shift = 0; shift < 64; shift += 8)
        out += static_cast<char>((value >> shift) & 0xff);
}

std::uint64_t getNumber(std::string_view bytes, std::size_t at) {
    std::uint64_t value = 0;
    for (int i = 7; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// Splits "WORD REST" at the first space.
std::pair<std::string_view, std::string_view> splitWord(std::string_view line) {
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos)
        return {line, {}};
    return {line.substr(0, space), line.substr(space + 1)};
}

std::optional<std::uint64_t> parseNumber(std::string_view text) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

// "file MODE SIZE PATH" with MODE 644 or 755.
std::optional<IndexEntry> parseFileLine(std::string_view rest) {
    const auto [mode, afterMode] = splitWord(rest);
    const auto [size, path] = splitWord(afterMode);
    const auto bytes = parseNumber(size);
    if ((mode != "644" && mode != "755") || !bytes || !isSafeRelativePath(path))
        return std::nullopt;
    return IndexEntry{std::string(path), *bytes, mode == "755"};
}

bool lists(const Index& index, const std::string& path) {
    return std::any_of(index.files.begin(), index.files.end(),
                       [&](const IndexEntry& entry) { return entry.path == path; });
}

} // namespace

std::string encodeTrailer(const Trailer& trailer) {
    std::string out;
    putNumber(out, trailer.payloadOffset);
    putNumber(out, trailer.payloadSize);
    putNumber(out, trailer.indexSize);
    out.append(reinterpret_cast<const char*>(trailer.sha256.data()), trailer.sha256.size());
    out += kTrailerMagic;
    return out;
}

std::optional<Trailer> decodeTrailer(std::string_view lastBytes, std::uint64_t fileSize) {
    if (lastBytes.size() != kTrailerSize || fileSize < kTrailerSize ||
        lastBytes.substr(kTrailerSize - kTrailerMagic.size()) != kTrailerMagic)
        return std::nullopt;
    Trailer trailer;
    trailer.payloadOffset = getNumber(lastBytes, 0);
    trailer.payloadSize = getNumber(lastBytes, 8);
    trailer.indexSize = getNumber(lastBytes, 16);
    std::copy_n(lastBytes.begin() + 24, 32, trailer.sha256.begin());
    // Each part is checked against what is left, so the sum cannot overflow.
    std::uint64_t left = fileSize - kTrailerSize;
    for (const std::uint64_t part : {trailer.indexSize, trailer.payloadSize}) {
        if (part > left)
            return std::nullopt;
        left -= part;
    }
    if (left != trailer.payloadOffset)
        return std::nullopt;
    return trailer;
}

std::string formatIndex(const Index& index) {
    std::string text = std::string(kIndexHeader) + "\nversion " + index.version + "\nengine " +
                       index.engine + "\npackage " + index.package + "\n";
    for (const IndexEntry& entry : index.files)
        text += "file " + std::string(entry.executable ? "755" : "644") + " " +
                std::to_string(entry.size) + " " + entry.path + "\n";
    return text;
}

std::optional<Index> parseIndex(std::string_view text) {
    Index index;
    bool headerSeen = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos)
            return std::nullopt; // every line ends with a line break
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        if (!headerSeen) {
            if (line != kIndexHeader)
                return std::nullopt;
            headerSeen = true;
            continue;
        }
        const auto [word, rest] = splitWord(line);
        if (word == "version")
            index.version = rest;
        else if (word == "engine" && isSafeRelativePath(rest))
            index.engine = rest;
        else if (word == "package" && isSafeRelativePath(rest))
            index.package = rest;
        else if (word != "file" || index.files.size() == kMaxFiles)
            return std::nullopt;
        else if (auto entry = parseFileLine(rest))
            index.files.push_back(std::move(*entry));
        else
            return std::nullopt;
    }
    if (!lists(index, index.engine) || !lists(index, index.package))
        return std::nullopt;
    return index;
}

bool isSafeRelativePath(std::string_view path) {
    if (path.empty() || path.front() == '/' || path.find('\n') != std::string_view::npos ||
        path.find('\0') != std::string_view::npos)
        return false;
    while (!path.empty()) {
        const std::size_t slash = path.find('/');
        const std::string_view part = path.substr(0, slash);
        if (part.empty() || part == "." || part == "..")
            return false;
        path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
        if (slash != std::string_view::npos && path.empty())
            return false; // a trailing "/"
    }
    return true;
}

} // namespace orvane::bundle
