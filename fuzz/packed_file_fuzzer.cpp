// Arbitrary bytes as an embedded file of a package: the first byte chooses the storage (bit 0 set:
// a zstd frame, else the file itself), the rest is what is stored, written as Base64 in
// 76-character lines as `orvane pack` writes it. Reading in pieces of any size must give the same
// bytes, or the same corruption error, as reading in one go; the digest the stream reports must be
// that of the bytes; and the stored "size" and "sha256" must pass the bytes that match them and
// stop any other.
#include "base64_writer.h"
#include "packed_file.h"
#include "script_error.h"
#include "sha256.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

namespace {

using namespace orvane;

// Frames that unpack to more than this are not followed further: a few bytes of zstd can stand
// for gigabytes, and reading those would only measure the machine.
constexpr std::size_t kMaxUnpacked = 1 << 20;

const std::string kPath = "binfiles[0].bin";
const std::string kCorrupted = "Paketinhalt beschädigt: " + kPath + " (Prüfsumme stimmt nicht)";

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "%s\n", what.c_str());
    std::abort();
}

struct Outcome {
    bool corrupted = false;
    bool tooLarge = false;
    std::string bytes;
    std::string digest;
    bool operator==(const Outcome&) const = default;
};

// The only error reading may raise is the corruption error.
template <typename Read> Outcome catchingCorruption(Read read) {
    Outcome outcome;
    try {
        read(outcome);
    } catch (const ScriptError& e) {
        if (e.what() != kCorrupted)
            fail(std::string("unexpected error: ") + e.what());
        outcome = Outcome{};
        outcome.corrupted = true;
    }
    return outcome;
}

Outcome readInPieces(const PackedFile& file, std::size_t capacity) {
    return catchingCorruption([&](Outcome& outcome) {
        const auto source = openPackedFile(file);
        std::string piece(capacity, '\0');
        while (const std::size_t size = source->read(piece.data(), capacity)) {
            if (size > capacity)
                fail("a read returned more bytes than the buffer holds");
            outcome.bytes.append(piece.data(), size);
            if (outcome.bytes.size() > kMaxUnpacked) {
                outcome.tooLarge = true;
                return;
            }
        }
        outcome.digest = source->sha256();
    });
}

Outcome readWhole(const PackedFile& file) {
    return catchingCorruption([&](Outcome& outcome) {
        outcome.bytes = readPackedFile(file);
        outcome.digest = sha256Hex(outcome.bytes);
    });
}

std::string wrappedBase64(std::string_view bytes) {
    std::ostringstream out;
    Base64Writer writer(out);
    writer.write(bytes);
    writer.finish();
    // The writer breaks lines with the JSON escape; the document holds the real line break.
    std::string text = out.str();
    for (std::size_t at = text.find("\\n"); at != std::string::npos; at = text.find("\\n", at))
        text.replace(at, 2, "\r\n");
    return text;
}

void checkStoredFacts(PackedFile file, const Outcome& read) {
    const std::uint64_t size = read.bytes.size();
    file.size = size;
    file.sha256 = read.digest;
    if (readWhole(file) != read)
        fail("the bytes' own size and digest did not pass");
    file.size = size + 1;
    if (!readWhole(file).corrupted)
        fail("a size one too large passed");
    if (size > 0) {
        file.size = size - 1;
        if (!readWhole(file).corrupted)
            fail("a size one too small passed");
    }
    file.size = size;
    file.sha256->back() = file.sha256->back() == '0' ? '1' : '0';
    if (!readWhole(file).corrupted)
        fail("a different digest passed");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::string base64 =
        wrappedBase64(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
    const PackedFile file{kPath, base64, std::nullopt, std::nullopt, (data[0] & 1) != 0, false};
    const Outcome first = readInPieces(file, 64 * 1024);
    if (first.tooLarge)
        return 0;
    if (readWhole(file) != first)
        fail("reading in one go differs from reading in pieces");
    for (const std::size_t capacity : {ByteSource::kMinCapacity, std::size_t{65}, std::size_t{127},
                                       std::size_t{1000} + data[0]}) {
        if (readInPieces(file, capacity) != first)
            fail("reading in pieces of " + std::to_string(capacity) + " bytes differs");
    }
    if (!first.corrupted)
        checkStoredFacts(file, first);
    return 0;
}
