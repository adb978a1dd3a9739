// `orvane pack` builds packages that the engine reads back byte for byte.
#include "command_line.h"
#include "install_test_support.h"
#include "package_document.h"
#include "package_file.h"
#include "package_test_support.h"
#include "script_check.h"

#include <random>

namespace orvane::test {
namespace {

const std::string kScript = "void main() {\tmessageBox(\"Gr\xC3\xBC\xC3\x9F" "e\"); }\r\n";

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

TEST_F(Pack, CompressesWhatShrinksAndComesOutTheSameEveryTime) {
    std::string text;
    for (int k = 0; text.size() < 300'000; ++k)
        text += "Zeile " + std::to_string(k % 977) + ": Hallo Welt\n";
    writeFile(path("text"), text);
    std::mt19937 random(11);
    std::string noise(100'000, '\0');
    for (char& c : noise)
        c = static_cast<char>(random());
    writeFile(path("noise"), noise);
    const auto packTo = [&](const std::string& name, std::vector<std::string> options) {
        std::vector<std::string> args = {"pack",
                                         "-o",
                                         path(name),
                                         path("setup.ovs"),
                                         "text=" + path("text"),
                                         "noise=" + path("noise")};
        args.insert(args.begin() + 1, options.begin(), options.end());
        EXPECT_EQ(runOrvane(args), 0) << name;
        LoadedJson loaded = loadPackageFile(path(name));
        EXPECT_TRUE(loaded.document.has_value()) << loaded.error;
        return PackageDocument(std::move(loaded.document));
    };
    const PackageDocument packed = packTo("a.ovsp", {});
    const PackageDocument fast = packTo("b.ovsp", {"--level", "3"});
    const PackageDocument raw = packTo("c.ovsp", {"--no-compress"});
    packTo("d.ovsp", {});
    EXPECT_TRUE(readFile(path("a.ovsp")) == readFile(path("d.ovsp"))) << "not reproducible";
    for (const PackageDocument* package : {&packed, &fast, &raw}) {
        EXPECT_TRUE(package->packageBytes("binfiles[0].bin") == text);
        EXPECT_TRUE(package->packageBytes("binfiles[1].bin") == noise);
        EXPECT_EQ(package->packageString("binfiles[0].size"), std::to_string(text.size()));
        EXPECT_FALSE(package->find("binfiles[1].compression")) << "noise does not shrink";
    }
    EXPECT_EQ(packed.packageString("binfiles[0].compression"), "zstd");
    EXPECT_EQ(fast.packageString("binfiles[0].compression"), "zstd");
    EXPECT_FALSE(raw.find("binfiles[0].compression"));
}

TEST_F(Pack, RefusesBrokenScriptsSharedIdsAndBadLevels) {
    writeFile(path("syntax.ovs"), "void main() { messageBox(; }");
    writeFile(path("unknown.ovs"), "void main() {\n  nichtDa();\n}");
    writeFile(path("f"), "x");
    const std::vector<std::pair<std::vector<std::string>, int>> cases = {
        {{path("syntax.ovs")}, 1},
        {{path("unknown.ovs")}, 1},
        {{path("setup.ovs"), "a=" + path("f"), "a=" + path("f")}, 2},
        {{"--level", "0", path("setup.ovs")}, 2},
        {{"--level", "3", "--no-compress", path("setup.ovs")}, 2},
    };
    for (const auto& [args, status] : cases) {
        std::vector<std::string> all = {"pack", "-o", path("out.ovsp")};
        all.insert(all.end(), args.begin(), args.end());
        EXPECT_EQ(runOrvane(all), status) << args.front();
        EXPECT_FALSE(fs::exists(path("out.ovsp"))) << args.front();
    }
    EXPECT_EQ(firstScriptProblem("u.ovs", "void main() {\n  nichtDa();\n}"),
              "u.ovs:2:10: Funktion \"nichtDa\" nicht gefunden!");
}

TEST_F(Pack, VerifyFindsDamageAndAcceptsOldPackages) {
    writeFile(path("f"), std::string(5000, 'a'));
    ASSERT_EQ(runOrvane({"pack", "-o", path("ok.ovsp"), path("setup.ovs"), "f=" + path("f")}), 0);
    std::string damaged = readFile(path("ok.ovsp"));
    const std::size_t bin = damaged.find("\"bin\":\"") + 10;
    damaged[bin] = damaged[bin] == 'A' ? 'B' : 'A';
    writeFile(path("damaged.ovsp"), damaged);
    writeFile(path("old.ovsp"),
              R"({"programfile": "void main() {}", "binfiles": [{"id": "f", "bin": "QUJD"}]})");
    writeFile(path("badscript.ovsp"), R"({"programfile": "void main() { x(; }"})");
    writeFile(path("nojson.ovsp"), "{");
    const std::vector<std::pair<std::string, int>> cases = {{"ok.ovsp", 0},
                                                            {"damaged.ovsp", 1},
                                                            {"old.ovsp", 0},
                                                            {"badscript.ovsp", 1},
                                                            {"nojson.ovsp", 1}};
    for (const auto& [name, status] : cases)
        EXPECT_EQ(runOrvane({"verify", path(name)}), status) << name;
}

} // namespace
} // namespace orvane::test
