// `orvane pack` builds packages that the engine reads back byte for byte.
#include "command_line.h"
#include "install_test_support.h"
#include "package_document.h"
#include "package_file.h"
#include "package_test_support.h"

#include <random>

namespace orvane::test {
namespace {

const std::string kScript = "void main() { messageBox(\"\\\"quoted\\\" \xC3\xA4\"); }\r\n";

class Pack : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        writeFile(path("setup.ovs"), kScript);
    }
};

TEST_F(Pack, EmbeddedFilesOfEverySizeComeBackUnchanged) {
    // Sizes around the three-byte groups and the 57-byte lines of the encoding.
    std::mt19937 random(7);
    std::vector<std::string> contents;
    std::vector<std::string> args = {"pack", "-o", path("out.ovsp"), path("setup.ovs")};
    for (std::size_t size : {0, 1, 2, 3, 56, 57, 58, 114, 1000, 200'000}) {
        std::string bytes(size, '\0');
        for (char& c : bytes)
            c = static_cast<char>(random());
        contents.push_back(bytes);
        const std::string name = "f" + std::to_string(size);
        writeFile(path(name), bytes);
        args.push_back(name + "=" + path(name));
    }
    ASSERT_EQ(runOrvane(args), 0);
    LoadedJson loaded = loadPackageFile(path("out.ovsp"));
    ASSERT_TRUE(loaded.document.has_value()) << loaded.error;
    PackageDocument package(std::move(loaded.document));
    EXPECT_EQ(package.packageString("programfile"), kScript);
    ASSERT_EQ(package.packageArray("binfiles").size(), contents.size());
    for (std::size_t k = 0; k < contents.size(); ++k) {
        EXPECT_EQ(package.packageBytes("binfiles[" + std::to_string(k) + "].bin"), contents[k])
            << "file " << k;
    }
    EXPECT_EQ(package.findEmbeddedFile("f57"), contents[5]);
}

TEST_F(Pack, FailuresLeaveNoPackageBehind) {
    EXPECT_EQ(runOrvane({"pack", "-o", path("bad.ovsp"), path("setup.ovs"), "x=" + path("none")}),
              2);
    EXPECT_FALSE(fs::exists(path("bad.ovsp")));
    EXPECT_FALSE(fs::exists(path("bad.ovsp.part")));
    EXPECT_EQ(runOrvane({"pack", path("missing.ovs")}), 2);
    EXPECT_EQ(runOrvane({"pack", path("setup.ovs"), "=file"}), 2);
    EXPECT_EQ(runOrvane({"pack", path("setup.ovs"), "id="}), 2);
    EXPECT_EQ(runOrvane({"pack"}), 2);
    // Without -o the package is named after the script.
    EXPECT_EQ(runOrvane({"pack", path("setup.ovs")}), 0);
    EXPECT_TRUE(fs::exists(path("setup.ovsp")));
}

TEST_F(Pack, TextFilesBecomeTopLevelMembersInUtf8) {
    writeFile(path("lizenz.txt"), std::string(300, 'x') + "\r\n\"Gew\xE4hr\"\r\n"); // Windows-1252
    ASSERT_EQ(runOrvane({"pack", "-o", path("out.ovsp"), "--text", "lizenz=" + path("lizenz.txt"),
                         path("setup.ovs"), "f=" + path("setup.ovs")}),
              0);
    const PackageDocument package = packageFrom(readFile(path("out.ovsp")));
    EXPECT_EQ(package.packageString("lizenz"), std::string(300, 'x') + "\r\n\"Gew\xC3\xA4hr\"\r\n");
    EXPECT_EQ(package.packageString("programfile"), kScript);
    EXPECT_EQ(package.packageString("binfiles[0].id"), "f");
    EXPECT_EQ(runOrvane({"pack", path("setup.ovs"), "--text", "programfile=" + path("lizenz.txt")}),
              2);
    EXPECT_EQ(runOrvane({"pack", path("setup.ovs"), "--text", "t=" + path("none")}), 2);
}

} // namespace
} // namespace orvane::test
