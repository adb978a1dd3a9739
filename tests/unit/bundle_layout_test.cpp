// The bundle's checksum, trailer and index, and which libraries `orvane bundle` takes along.
#include "bundle_contents.h"
#include "bundle_layout.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace orvane::bundle;

std::string sha256Hex(const std::string& text, std::size_t piece) {
    Sha256 hash;
    for (std::size_t at = 0; at < text.size(); at += piece)
        hash.update(text.data() + at, std::min(piece, text.size() - at));
    return toHex(hash.finish());
}

TEST(BundleSha256, KnownVectorsInAnyPieces) {
    const struct {
        std::string text, digest;
    } vectors[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& vector : vectors)
        for (const std::size_t piece : {std::size_t{1}, std::size_t{63}, std::size_t{1} << 20})
            EXPECT_EQ(sha256Hex(vector.text, piece), vector.digest)
                << vector.text.substr(0, 10) << " in pieces of " << piece;
}

TEST(BundleTrailer, FitsOnlyTheFileItWasWrittenFor) {
    Trailer trailer{1000, 300, 40, {}};
    trailer.sha256[0] = 0xab;
    trailer.sha256[31] = 0xcd;
    const std::string bytes = encodeTrailer(trailer);
    ASSERT_EQ(bytes.size(), kTrailerSize);
    const auto decoded = decodeTrailer(bytes, 1000 + 300 + 40 + kTrailerSize);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->payloadOffset, 1000u);
    EXPECT_EQ(decoded->payloadSize, 300u);
    EXPECT_EQ(decoded->indexSize, 40u);
    EXPECT_EQ(decoded->sha256, trailer.sha256);

    std::string foreign = bytes;
    foreign.back() = '2';
    const Trailer huge{0, ~std::uint64_t{0}, 2, {}};
    const struct {
        const char* name;
        std::string bytes;
        std::uint64_t fileSize;
    } refused[] = {
        {"truncated file", bytes, 1000 + 300 + 40 + kTrailerSize - 1},
        {"longer file", bytes, 1000 + 300 + 40 + kTrailerSize + 1},
        {"other magic", foreign, 1000 + 300 + 40 + kTrailerSize},
        {"sizes beyond the file", encodeTrailer(huge), 1 + kTrailerSize},
        {"file shorter than a trailer", bytes, kTrailerSize - 1},
    };
    for (const auto& entry : refused)
        EXPECT_FALSE(decodeTrailer(entry.bytes, entry.fileSize)) << entry.name;
}

TEST(BundleIndex, ReadsWhatItWritesAndRefusesPathsOutsideTheFolder) {
    const Index index{
        "3.7",
        "My Setup",
        "My Setup.ovsp",
        {{"My Setup", 1234, true}, {"My Setup.ovsp", 56, false}, {"lib/a.so", 7, false}}};
    const std::string text = formatIndex(index);
    const auto read = parseIndex(text);
    ASSERT_TRUE(read);
    EXPECT_EQ(formatIndex(*read), text);
    EXPECT_EQ(read->engine, "My Setup");
    EXPECT_TRUE(read->files[0].executable);
    EXPECT_EQ(read->files[2].size, 7u);

    const std::string head = "orvane-bundle 1\nversion 3.7\nengine e\npackage e.ovsp\n"
                             "file 755 1 e\nfile 644 1 e.ovsp\n";
    for (const std::string& bad : {
             head + "file 644 1 ../escape\n",
             head + "file 644 1 /etc/passwd\n",
             head + "file 644 1 lib//a\n",
             head + "file 644 1 lib/./a\n",
             head + "file 644 1 lib/\n",
             head + "file 777 1 a\n",
             head + "file 644 -1 a\n",
             head + "file 644 1 a", // no line break at the end
             head + "link 644 1 a\n",
             std::string("orvane-bundle 2\n") + head.substr(16),
             std::string("orvane-bundle 1\nversion 3.7\nengine e\npackage e.ovsp\nfile 755 1 e\n"),
         })
        EXPECT_FALSE(parseIndex(bad)) << bad;
}

TEST(BundleLibraries, TakesAlongWhatADesktopMayLackFromTheLoadersView) {
    const std::string ldd =
        "\tlinux-vdso.so.1 (0x00007ffd)\n"
        "\tlibQt6Core.so.6 => /lib/x86_64-linux-gnu/libQt6Core.so.6 (0x7f1)\n"
        "\tlibc.so.6 => /lib/x86_64-linux-gnu/libc.so.6 (0x7f2)\n"
        "\tlibGLX.so.0 => /lib/x86_64-linux-gnu/libGLX.so.0 (0x7f3)\n"
        "\tlibX11.so.6 => /lib/x86_64-linux-gnu/libX11.so.6 (0x7f4)\n"
        "\tlibxcb.so.1 => /lib/x86_64-linux-gnu/libxcb.so.1 (0x7f5)\n"
        "\tlibxcb-randr.so.0 => /lib/x86_64-linux-gnu/libxcb-randr.so.0 (0x7f6)\n"
        "\tlibxcb-icccm.so.4 => /lib/x86_64-linux-gnu/libxcb-icccm.so.4 (0x7f7)\n"
        "\tlibfontconfig.so.1 => /lib/x86_64-linux-gnu/libfontconfig.so.1 (0x8)\n"
        "\tlibsqlite3.so.0 => /opt/my libs/libsqlite3.so.0 (0x7f9)\n"
        "\t/lib64/ld-linux-x86-64.so.2 (0x7f0)\n";
    const orvane::Libraries expected{
        {"libQt6Core.so.6", "/lib/x86_64-linux-gnu/libQt6Core.so.6"},
        {"libxcb-icccm.so.4", "/lib/x86_64-linux-gnu/libxcb-icccm.so.4"},
        {"libsqlite3.so.0", "/opt/my libs/libsqlite3.so.0"}};
    EXPECT_EQ(orvane::parseLdd("engine", ldd), expected);
    EXPECT_THROW(orvane::parseLdd("engine", "\tlibsimdjson.so.14 => not found\n"),
                 std::runtime_error);
}

} // namespace
