// Arbitrary bytes as a package file, read through the engine's own loader (decoding, JSON
// reader, document). The input may end in a NUL byte and a path; every kind of lookup then
// runs with that path, and the embedded bytes read piece by piece must equal the whole.
// The reader's two ways through JSON must agree: whatever the fast scanner accepts, the walker
// that describes faults accepts as the same document.
#include "json_scanner.h"
#include "package_document.h"
#include "package_file.h"
#include "package_lookup.h"
#include "script_error.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <sys/mman.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

using namespace orvane;

// The bytes as a file in memory, loaded by path.
LoadedJson loadFromMemory(std::string_view bytes) {
    const int fd = memfd_create("package", MFD_CLOEXEC);
    if (fd < 0)
        std::abort();
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote <= 0)
            std::abort();
        done += static_cast<std::size_t>(wrote);
    }
    LoadedJson loaded = loadPackageFile("/proc/self/fd/" + std::to_string(fd));
    ::close(fd);
    return loaded;
}

// Reads a byte stream to the end with the smallest buffer a reader may use.
std::string readAll(ByteSource& source) {
    std::string out;
    char buffer[ByteSource::kMinCapacity];
    while (const std::size_t got = source.read(buffer, sizeof buffer)) {
        if (got > sizeof buffer)
            std::abort();
        out.append(buffer, got);
    }
    return out;
}

// Runs one lookup; a lookup error is the package's ordinary answer.
template <typename Lookup> void tolerateLookupError(Lookup lookup) {
    try {
        lookup();
    } catch (const ScriptError&) {
    }
}

void lookUp(const PackageDocument& document, std::string_view path) {
    const PackageLookup lookup(document);
    tolerateLookupError([&] { (void)document.find(path); }); // a malformed path is an error
    tolerateLookupError([&] { (void)lookup.findEmbeddedFile(path); });
    tolerateLookupError([&] { (void)lookup.arrayLength(path); });
    tolerateLookupError([&] { (void)lookup.text(path); });
    tolerateLookupError([&] {
        const std::string whole = document.packageBytes(path);
        const auto source = lookup.bytes(path);
        if (readAll(*source) != whole || lookup.byteCount(path) != whole.size())
            std::abort();
    });
}

TextBuffer bufferWith(std::string_view bytes) {
    TextBuffer buffer(bytes.size());
    if (!bytes.empty())
        std::memcpy(buffer.data(), bytes.data(), bytes.size());
    return buffer;
}

// Compares two documents value by value, without recursing: inputs nest deeply.
bool sameDocument(JsonValue left, JsonValue right) {
    std::vector<std::pair<JsonValue, JsonValue>> pending{{left, right}};
    while (!pending.empty()) {
        const auto [a, b] = pending.back();
        pending.pop_back();
        if (a.kind() != b.kind() || a.text() != b.text() || a.size() != b.size())
            return false;
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (a.isArray()) {
                pending.emplace_back(a.element(i), b.element(i));
                continue;
            }
            if (a.memberName(i) != b.memberName(i))
                return false;
            pending.emplace_back(a.memberValue(i), b.memberValue(i));
        }
    }
    return true;
}

void compareReaders(std::string_view text) {
    TextBuffer scannedText = bufferWith(text);
    const std::optional<JsonDocument> scanned = scanJson(scannedText, 0, text.size());
    if (!scanned)
        return;
    const LoadedJson walked = readJsonDescribingFaults(bufferWith(text), 0, text.size());
    if (!walked.document || !sameDocument(scanned->root(), walked.document->root()))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = input.rfind('\0');
    const std::string_view bytes = nul == std::string_view::npos ? input : input.substr(0, nul);
    const std::string_view path =
        nul == std::string_view::npos ? std::string_view("Daten") : input.substr(nul + 1);
    compareReaders(bytes);
    LoadedJson loaded = loadFromMemory(bytes);
    if (!loaded.document)
        return 0;
    const PackageDocument document(std::move(loaded.document));
    lookUp(document, path);
    return 0;
}
