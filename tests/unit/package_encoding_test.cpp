// Package files: decoding by byte-order mark, and loading from disk with its errors.
#include "package_file.h"
#include "package_test_support.h"
#include "text_encoding.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace orvane::test {
namespace {

const std::string kFffd = "\xEF\xBF\xBD";

struct DecodeCase {
    std::string bytes;
    std::string expected;
};
void PrintTo(const DecodeCase& c, std::ostream* os) {
    *os << printable(c.bytes);
}

class TextDecoding : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(TextDecoding, GivesUtf8OfTheRightLength) {
    const DecodeCase& c = GetParam();
    EXPECT_EQ(decodeTextFile(c.bytes), c.expected);
    const DetectedEncoding detected = detectTextEncoding(c.bytes);
    const std::string_view text = std::string_view(c.bytes).substr(detected.markLength);
    EXPECT_EQ(decodedUtf8Length(text, detected.encoding), c.expected.size());
}

INSTANTIATE_TEST_SUITE_P(
    ByMark, TextDecoding,
    ::testing::Values(DecodeCase{"", ""}, DecodeCase{"\xEF\xBB\xBF", ""},
                      DecodeCase{"\xFF\xFE", ""},
                      DecodeCase{"\xEF\xBB\xBFGr\xC3\xBC\xC3\x9F", "Gr\xC3\xBC\xC3\x9F"},
                      DecodeCase{"Gr\xC3\xBC\xC3\x9F", "Gr\xC3\xBC\xC3\x9F"},
                      DecodeCase{std::string("\xFF\xFEG\0r\0\xFC\0", 8), "Gr\xC3\xBC"},
                      DecodeCase{std::string("\xFE\xFF\0G\0r\0\xFC", 8), "Gr\xC3\xBC"},
                      DecodeCase{std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6), "\xF0\x9F\x98\x80"},
                      DecodeCase{std::string("\xFE\xFF\xD8\x3D\xDE\x00", 6), "\xF0\x9F\x98\x80"},
                      DecodeCase{std::string("\xFF\xFE\x3D\xD8\x41\0", 6), kFffd + "A"},
                      DecodeCase{std::string("\xFF\xFE\x00\xDE\x41\0", 6), kFffd + "A"},
                      DecodeCase{"\xFF\xFE\x3D\xD8", kFffd},
                      DecodeCase{std::string("\xFF\xFE\x41\0\x42", 5), "A" + kFffd},
                      DecodeCase{"\xEF\xBB\xBF"
                                 "a\xFF"
                                 "b\xE2\x82",
                                 "a" + kFffd + "b" + kFffd}));

INSTANTIATE_TEST_SUITE_P(
    Windows1252, TextDecoding,
    ::testing::Values(
        DecodeCase{"Gr\xFC\xDF", "Gr\xC3\xBC\xC3\x9F"},
        DecodeCase{"\x80\x8A\x9F\xA0\xFF", "\xE2\x82\xAC\xC5\xA0\xC5\xB8\xC2\xA0\xC3\xBF"},
        // The five undefined bytes keep their number as C1 control characters.
        DecodeCase{"\x81\x8D\x8F\x90\x9D", "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},
        // Overlong forms and encoded surrogates are no UTF-8.
        DecodeCase{"\xC0\xAF", "\xC3\x80\xC2\xAF"},
        DecodeCase{"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"}));

TEST(Utf8Validation, AcceptsExactlyTheWellFormedSequences) {
    const std::string ascii(40, 'a');
    for (const std::string& valid : std::vector<std::string>{
             "", "abc\x7F", "\xC2\x80", "\xDF\xBF", "\xE0\xA0\x80", "\xEF\xBF\xBF",
             "\xF0\x90\x80\x80", "\xF4\x8F\xBF\xBF", "\xED\x9F\xBF", (ascii + "\xC3\xA4" + ascii)})
        EXPECT_TRUE(isValidUtf8(valid)) << valid;
    for (const std::string& invalid :
         std::vector<std::string>{"\x80", "\xC1\xBF", "\xC2", "\xE0\x9F\xBF", "\xED\xA0\x80",
                                  "\xF0\x8F\xBF\xBF", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80",
                                  "\xFF", "\xE2\x82", (ascii + "\xC3"), (ascii + "\x80" + ascii)})
        EXPECT_FALSE(isValidUtf8(invalid)) << invalid;
}

// The UTF-8 test text in another encoding; it holds only characters of Windows-1252.
std::string encode(std::string_view utf8, TextEncoding encoding) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : 3;
        char32_t cp = length == 1 ? lead : lead & (length == 2 ? 0x1F : 0x0F);
        for (std::size_t k = 1; k < length; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += length;
        if (encoding == TextEncoding::Windows1252)
            out += static_cast<char>(cp == 0x20AC ? 0x80 : cp);
        else if (encoding == TextEncoding::Utf16Le)
            out += {static_cast<char>(cp & 0xFF), static_cast<char>(cp >> 8)};
        else
            out += {static_cast<char>(cp >> 8), static_cast<char>(cp & 0xFF)};
    }
    return out;
}

TEST(PackageFile, SamePackageInEveryEncodingGivesTheSameDocument) {
    const std::string json =
        "{\"programfile\": \"main() { print(\\\"Gr\xC3\xBC\xC3\x9F"
        "e "
        "\xE2\x82\xAC\\\"); }\",\r\n \"binfiles\": [{\"id\": \"bild-\xC3\xA4\", "
        "\"bin\": \"QUJD\"}]}";
    const std::vector<std::pair<std::string, std::string>> files = {
        {"utf8-mark", "\xEF\xBB\xBF" + json},
        {"utf8", json},
        {"utf16le", "\xFF\xFE" + encode(json, TextEncoding::Utf16Le)},
        {"utf16be", "\xFE\xFF" + encode(json, TextEncoding::Utf16Be)},
        {"cp1252", encode(json, TextEncoding::Windows1252)},
    };
    for (const auto& [name, bytes] : files) {
        const TempFile file("package-" + name + ".ovsp", bytes);
        LoadedJson loaded = loadPackageFile(file.path());
        ASSERT_TRUE(loaded.document) << name << ": " << loaded.error;
        const PackageDocument package(std::move(loaded.document));
        EXPECT_EQ(package.packageString("programfile"), "main() { print(\"Gr\xC3\xBC\xC3\x9F"
                                                        "e \xE2\x82\xAC\"); }")
            << name;
        EXPECT_EQ(package.findEmbeddedFile("bild-\xC3\xA4"), "ABC") << name;
    }
}

TEST(PackageFile, UnreadableOrBrokenFilesGiveNoDocumentAndTheReason) {
    const TempFile empty("empty.ovsp", "");
    const TempFile unfinished("unfinished.ovsp", "{\"programfile\": \"x\"");
    const std::string unreadable = " kann nicht gelesen werden: ";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {tempPath("no-such-package.ovsp"), unreadable + std::strerror(ENOENT)},
        {::testing::TempDir(), unreadable + std::strerror(EISDIR)},
        {empty.path(), ": Kein gültiges JSON: das Dokument ist leer"},
        {unfinished.path(), ": Kein gültiges JSON: Objekt oder Array nicht abgeschlossen (Byte 0)"},
    };
    for (const auto& [path, reason] : cases) {
        const LoadedJson loaded = loadPackageFile(path);
        EXPECT_FALSE(loaded.document) << path;
        EXPECT_EQ(loaded.error, "Paketdatei " + path + reason);
    }
}

// Files are mapped; the reader's padding behind the text must hold wherever the file ends in its
// last page, and a fault must read as it does from memory, with its byte position.
TEST(PackageFile, FilesEndingAnywhereInAPageReadAsFromMemory) {
    // An array of a string of `size` bytes in all, with an escape at the end of the string.
    const auto array = [](std::size_t size, const std::string& mark) {
        const std::string head = mark + "[\"";
        const std::string tail = "\\n\", 1.5]";
        return head + std::string(size - head.size() - tail.size(), 'Q') + tail;
    };
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    for (const std::size_t size : {page - 1, page, page + 1, 2 * page - 40, 2 * page}) {
        const std::string broken = std::string(size - 5, ' ') + "[1,]]";
        const std::vector<std::pair<std::string, std::string>> cases = {
            {std::string(size - 2, '7') + "e5", std::string(size - 2, '7') + "e5"},
            {array(size, ""), std::string(size - 11, 'Q') + "\n"},
            {array(size, "\xEF\xBB\xBF"), std::string(size - 14, 'Q') + "\n"},
            {broken, ""},
        };
        for (const auto& [bytes, firstText] : cases) {
            ASSERT_EQ(bytes.size(), size);
            const TempFile file("page.ovsp", bytes);
            const LoadedJson loaded = loadPackageFile(file.path());
            if (firstText.empty()) {
                EXPECT_EQ(loaded.error, "Paketdatei " + file.path() + ": " + readJson(bytes).error);
                continue;
            }
            ASSERT_TRUE(loaded.document) << loaded.error;
            const JsonValue root = loaded.document->root();
            EXPECT_EQ((root.isArray() ? root.element(0) : root).text(), firstText) << size;
        }
    }
}

// The package's pages are read in place: a file cut short while the run still reads it ends the
// run with a message and status 1, not with a crash.
TEST(PackageFileDeathTest, AFileCutShortWhileReadEndsTheRunWithAMessage) {
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    const TempFile file("cut.ovsp", "[\"" + std::string(4 * page, 'Q') + "\\n\"]");
    const LoadedJson loaded = loadPackageFile(file.path());
    ASSERT_TRUE(loaded.document) << loaded.error;
    EXPECT_EXIT(
        {
            ::truncate(file.path().c_str(), 0);
            std::exit(loaded.document->root().element(0).text().size() == 0 ? 2 : 3);
        },
        ::testing::ExitedWithCode(1), "Paketdatei nicht mehr lesbar");
}

// A pipe reports no size, so the reader has to grow its buffer as the bytes arrive.
TEST(PackageFile, ReadsFromAPipeOfUnknownSize) {
    const std::string pipe = tempPath("package.fifo");
    ::unlink(pipe.c_str());
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0) << std::strerror(errno);
    const std::string script(100000, 'x');
    std::thread writer([&] {
        std::ofstream(pipe, std::ios::binary) << "{\"programfile\": \"" << script << "\"}";
    });
    LoadedJson loaded = loadPackageFile(pipe);
    writer.join();
    ::unlink(pipe.c_str());
    ASSERT_TRUE(loaded.document) << loaded.error;
    const PackageDocument package(std::move(loaded.document));
    EXPECT_EQ(package.packageString("programfile"), script);
}

TEST(PackageFile, ProgramfileOfOddPackages) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "Wert 'programfile' nicht gefunden"},
        {"[]", "Wert 'programfile' nicht gefunden"},
        {"{\"programfile\": ", "Wert 'programfile' nicht gefunden"},
        {"{\"programfile\": 0012}", "Wert 'programfile' nicht gefunden"},
        {"{\"programfile\": 1.50}", "1.50"},
        // A marked UTF-8 file with a broken sequence keeps the rest; without a
        // mark the file is read as Windows-1252.
        {"\xEF\xBB\xBF{\"programfile\": \"a\xFFz\"}", "a\xEF\xBF\xBDz"},
        {"{\"programfile\": \"a\xFFz\"}", "a\xC3\xBFz"},
    };
    for (const auto& [bytes, expected] : cases) {
        const TempFile file("odd.ovsp", bytes);
        const PackageDocument package(loadPackageFile(file.path()).document);
        std::string script;
        const std::string error = errorOf([&] { script = package.packageString("programfile"); });
        EXPECT_EQ(error.empty() ? script : error, expected) << bytes;
    }
}

} // namespace
} // namespace orvane::test
