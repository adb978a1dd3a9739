// Embedded files with "size", "sha256" and "compression": delivered uncompressed and checked.
#include "file_install.h"
#include "install_test_support.h"
#include "json_reader.h"
#include "package_lookup.h"
#include "sha256.h"
#include "uninstall_list.h"

#include <zstd.h>

namespace orvane::test {
namespace {

const std::string kContent = patternBytes(300 * 1000) + std::string(200 * 1000, 'x');

std::string zstdFrame(const std::string& bytes) {
    std::string frame(ZSTD_compressBound(bytes.size()), '\0');
    frame.resize(ZSTD_compress(frame.data(), frame.size(), bytes.data(), bytes.size(), 3));
    return frame;
}

std::string flippedAt(std::string text, std::size_t at) {
    text[at] = text[at] == 'A' ? 'B' : 'A';
    return text;
}

// One binfiles element; `extra` is spliced in before "bin".
std::string elementJson(const std::string& base64, const std::string& extra) {
    std::string json = R"({"id": "f", )" + extra + R"("bin": ")";
    for (const char c : base64)
        json += c == '\n' ? std::string("\\n") : std::string(1, c);
    return json + "\"}";
}

// Base64 text written with an escape for every character that has a short one, and for every
// third letter a \u escape, so that escapes fall on every place of the reader's pieces.
std::string escapedEverywhere(const std::string& base64) {
    static const char* kHex = "0123456789abcdef";
    std::string json;
    for (std::size_t i = 0; i < base64.size(); ++i) {
        const char c = base64[i];
        if (c == '\n' || c == '/')
            json += c == '\n' ? "\\n" : "\\/";
        else if (i % 3 == 0)
            json += "\\u00" + std::string{kHex[(c >> 4) & 0xF], kHex[c & 0xF]};
        else
            json += c;
    }
    return json;
}

std::string facts(std::uint64_t size, const std::string& sha256) {
    return R"("size": )" + std::to_string(size) + R"(, "sha256": ")" + sha256 + R"(", )";
}

const std::string kZstd = R"("compression": "zstd", )";
const std::string kSha = sha256Hex(kContent);
const std::string kRaw64 = base64Lines(kContent);
const std::string kFrame64 = base64Lines(zstdFrame(kContent));
const std::string kCorrupt = "Paketinhalt beschädigt: binfiles[0].bin (Prüfsumme stimmt nicht)";

struct PackedCase {
    const char* name;
    std::string element;
    std::string error; // empty: the bytes are kContent
};

class PackedFileTest : public ::testing::TestWithParam<PackedCase> {};

TEST_P(PackedFileTest, DeliversTheBytesOrRefusesThem) {
    const PackedCase& c = GetParam();
    const PackageDocument document(readJson("{\"binfiles\": [" + c.element + "]}").document);
    const PackageLookup lookup(document);
    std::string bytes;
    const std::string error = scriptErrorOf([&] {
        const auto source = lookup.bytes("binfiles[0].bin");
        std::string piece(64 * 1024, '\0');
        while (const std::size_t size = source->read(piece.data(), piece.size()))
            bytes.append(piece.data(), size);
        EXPECT_EQ(source->sha256(), kSha);
    });
    EXPECT_EQ(error, c.error.empty() ? "no error" : c.error);
    if (c.error.empty()) {
        EXPECT_TRUE(bytes == kContent);
        EXPECT_EQ(lookup.byteCount("binfiles[0].bin"), kContent.size());
        EXPECT_TRUE(document.findEmbeddedFile("f") == kContent);
    } else {
        EXPECT_EQ(scriptErrorOf([&] { document.findEmbeddedFile("f"); }), c.error);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Elements, PackedFileTest, ::testing::Values(
    PackedCase{"OldStyle", elementJson(kRaw64, ""), ""},
    PackedCase{"EscapedEverywhere", R"({"id": "f", "bin": ")" + escapedEverywhere(kRaw64) + "\"}", ""},
    PackedCase{"EscapedZstd", R"({"id": "f", "compression": "zstd", "bin": ")" + escapedEverywhere(kFrame64) + "\"}", ""},
    PackedCase{"RawChecked", elementJson(kRaw64, facts(kContent.size(), kSha)), ""},
    PackedCase{"ZstdChecked", elementJson(kFrame64, kZstd + facts(kContent.size(), kSha)), ""},
    PackedCase{"ZstdUnchecked", elementJson(kFrame64, kZstd), ""},
    PackedCase{"FlippedCharacter", elementJson(flippedAt(kRaw64, 5000), facts(kContent.size(), kSha)), kCorrupt},
    PackedCase{"FlippedInFrame", elementJson(flippedAt(kFrame64, 3000), kZstd + facts(kContent.size(), kSha)), kCorrupt},
    PackedCase{"TruncatedFrame", elementJson(kFrame64.substr(0, kFrame64.size() / 2), kZstd), kCorrupt},
    PackedCase{"GarbageAfterFrame", elementJson(kFrame64 + "QUJD", kZstd), kCorrupt},
    PackedCase{"NotAFrame", elementJson(kRaw64, kZstd), kCorrupt},
    // A frame whose header states 100,000 bytes but whose only block is empty.
    PackedCase{"FrameShorterThanItsHeader", elementJson("KLUv/aCghgEAAQAA", kZstd), kCorrupt},
    PackedCase{"SizeTooLarge", elementJson(kRaw64, facts(kContent.size() + 1, kSha)), kCorrupt},
    PackedCase{"SizeTooSmall", elementJson(kFrame64, kZstd + facts(kContent.size() - 1, kSha)), kCorrupt},
    PackedCase{"UpperCaseDigest", elementJson(kRaw64, R"("sha256": "ABCD", )"), kCorrupt},
    PackedCase{"SizeAsText", elementJson(kRaw64, R"("size": "500000", )"), kCorrupt},
    PackedCase{"NegativeSize", elementJson(kRaw64, R"("size": -1, )"), kCorrupt},
    PackedCase{"UnknownCompression", elementJson(kRaw64, R"("compression": "gzip", )"), kCorrupt}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(PackedFileSize, ComesFromTheSizeMemberWithoutDecoding) {
    // A "size" is believed as it stands; without one a compressed file is counted by decompressing.
    const PackageDocument document(readJson("{\"binfiles\": [" +
                                            elementJson("QUJD", R"("size": 7, )") + ", " +
                                            elementJson(kFrame64, kZstd) + "]}")
                                       .document);
    const PackageLookup lookup(document);
    EXPECT_EQ(lookup.byteCount("binfiles[0].bin"), 7u);
    EXPECT_EQ(lookup.byteCount("binfiles[1].bin"), kContent.size());
}

class CheckedInstallTest : public TempFolderTest {};

TEST_F(CheckedInstallTest, ACorruptFileWritesAndRecordsNothing) {
    const PackageDocument document(
        readJson("{\"binfiles\": [" +
                 elementJson(flippedAt(kFrame64, kFrame64.size() - 10),
                             kZstd + facts(kContent.size(), kSha)) +
                 ", " + elementJson(kFrame64, kZstd + facts(kContent.size(), kSha)) + "]}")
            .document);
    const PackageLookup lookup(document);
    UninstallList list;
    fs::create_directory(path("app"));
    writeFile(path("app/prog"), "alt");
    EXPECT_EQ(
        scriptErrorOf([&] { installFile(lookup, list, "binfiles[0].bin", path("app/prog"), {}); }),
        kCorrupt);
    EXPECT_EQ(readFile(path("app/prog")), "alt");
    EXPECT_EQ(entriesOf(path("app")), std::set<std::string>{"prog"});
    EXPECT_TRUE(entriesBelowHeader(list, dir()).empty());

    const InstalledFile installed =
        installFile(lookup, list, "binfiles[1].bin", path("app/prog"), {});
    EXPECT_TRUE(readFile(path("app/prog")) == kContent);
    EXPECT_EQ(installed.sha256, kSha);
}

} // namespace
} // namespace orvane::test
