// A bundle of the demo installer (with small sample data): it installs as the plain engine does
// where the build machine's libraries are not, refuses to run when damaged, and is extracted once
// however many times it is started.
#include "e2e_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using orvane::e2e::readFile;
using orvane::e2e::runCommand;

const fs::path kDemo = ORVANE_DEMO_EXAMPLE;

class Bundle : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("orvane_bundle_" + std::to_string(::getpid()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir / "plain");
        std::ofstream(m_dir / "daten.dat") << "Kleine Beispieldaten\n";
        const std::string demo = kDemo.string();
        ASSERT_EQ(tool("pack -o plain/setup.ovsp --text lizenz='" + demo + "/files/LIZENZ.txt' '" +
                       demo + "/demo.ovs' logo='" + demo + "/../wizard/logo.bmp' programm='" +
                       demo + "/files/orvane-demo' liesmich='" + demo +
                       "/files/LIESMICH.txt' daten=daten.dat")
                      .exitCode,
                  0);
        fs::copy_file(ORVANE_ENGINE, m_dir / "plain/setup");
        // The fastest level: the test checks the bundle, not how small it is.
        ASSERT_EQ(tool("bundle --level 1 -o setup plain/setup.ovsp").exitCode, 0);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    orvane::e2e::CommandResult tool(const std::string& arguments) {
        return runCommand("cd '" + m_dir.string() + "' && " + ORVANE_TOOL + " " + arguments);
    }

    // Runs `command` in the folder `sandbox` below the test's, which also holds home, cache and
    // registry; stderr joins stdout.
    orvane::e2e::CommandResult inSandbox(const std::string& sandbox, const std::string& command) {
        const std::string root = (m_dir / sandbox).string();
        fs::create_directories(root + "/home");
        return runCommand("cd '" + root + "' && export HOME='" + root + "/home' XDG_CACHE_HOME='" +
                          root + "/cache' ORVANE_REGISTRY_DIR='" + root +
                          "/registry' QT_QPA_PLATFORM=offscreen && { " + command + "; } 2>&1");
    }

    // The extracted trees and other entries of the bundle cache in `sandbox`.
    std::vector<std::string> cacheEntries(const std::string& sandbox) {
        std::vector<std::string> names;
        std::error_code error;
        for (const auto& entry :
             fs::directory_iterator(m_dir / sandbox / "cache/orvane/bundles", error))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    // `text` with the time an install manifest was written replaced by "TIME": two runs a second
    // apart write the same otherwise.
    static std::string withoutTimes(std::string text) {
        const std::string key = "\"created\": \"";
        if (const auto at = text.find(key); at != std::string::npos)
            text.replace(at + key.size(), text.find('"', at + key.size()) - at - key.size(),
                         "TIME");
        return text;
    }

    // What an installation left in `sandbox`: every file it wrote with its content (not the
    // pictures of the pages) and the registry, the sandbox's own path written as $SANDBOX.
    std::string installation(const std::string& sandbox) {
        const fs::path root = m_dir / sandbox;
        std::string result;
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            const fs::path relative = entry.path().lexically_relative(root);
            const std::string top = relative.begin()->string();
            if (entry.is_regular_file() && top != "cache" && top != "registry" &&
                relative.extension() != ".png")
                result += relative.string() + ":\n" + withoutTimes(readFile(entry.path())) + "\n";
        }
        result += runCommand("ORVANE_REGISTRY_DIR='" + root.string() + "/registry' " + ORVANE_TOOL +
                             " reg export HKEY_CURRENT_USER")
                      .out;
        return orvane::e2e::withPathNamed(result, root.string(), "$SANDBOX");
    }

    fs::path m_dir;
};

TEST_F(Bundle, InstallsAsThePlainEngineDoesWhereTheBuildLibrariesAreMissing) {
    const std::string answers = " --answers '" + (kDemo / "demo.scenario").string() + "'";
    ASSERT_EQ(inSandbox("plain-run", "../plain/setup" + answers).exitCode, 0);
    const auto bundled =
        inSandbox("bundled-run", std::string(ORVANE_WITHOUT_BUILD_LIBRARIES) + " '" +
                                     ORVANE_ENGINE + "' ../setup" + answers);
    if (bundled.exitCode == 77)
        GTEST_SKIP() << "unshare --mount is not permitted here; the bundle was not run without "
                        "the build machine's libraries";
    ASSERT_EQ(bundled.exitCode, 0) << bundled.out;
    const std::string plain = installation("plain-run");
    EXPECT_NE(plain.find("Kleine Beispieldaten"), std::string::npos) << plain;
    EXPECT_EQ(installation("bundled-run"), plain);
}

TEST_F(Bundle, DamagedBundlesAreRefusedAndExtractNothing) {
    const std::string bundle = readFile(m_dir / "setup");
    const struct {
        std::string name, bytes, reason;
    } cases[] = {
        {"truncated", bundle.substr(0, bundle.size() - 1000), "(unvollständig)"},
        {"changed",
         bundle.substr(0, bundle.size() / 2) + char(bundle[bundle.size() / 2] ^ 1) +
             bundle.substr(bundle.size() / 2 + 1),
         "(Prüfsumme stimmt nicht)"},
    };
    for (const auto& damaged : cases) {
        std::ofstream(m_dir / damaged.name, std::ios::binary) << damaged.bytes;
        fs::permissions(m_dir / damaged.name, fs::perms(0755));
        const auto run = inSandbox(damaged.name + "-sandbox", "../" + damaged.name);
        EXPECT_EQ(run.exitCode, 1) << damaged.name;
        EXPECT_EQ(run.out, damaged.name + ": Installationsdatei beschädigt: " +
                               (m_dir / damaged.name).string() + " " + damaged.reason + "\n");
        EXPECT_EQ(cacheEntries(damaged.name + "-sandbox"), std::vector<std::string>())
            << damaged.name;
    }
}

TEST_F(Bundle, ConcurrentStartsShareOneTreeThatIsRepairedWhenDamaged) {
    // --version starts the engine with all its libraries and ends at once.
    const auto both = inSandbox("twice", "(../setup --version; echo erster=$?) & "
                                         "(../setup --version; echo zweiter=$?) & wait");
    EXPECT_NE(both.out.find("erster=0"), std::string::npos) << both.out;
    EXPECT_NE(both.out.find("zweiter=0"), std::string::npos) << both.out;
    const auto entries = cacheEntries("twice");
    ASSERT_EQ(entries.size(), 2u); // the tree and its lock file
    EXPECT_EQ(entries[0] + ".lock", entries[1]);

    const fs::path library =
        m_dir / "twice/cache/orvane/bundles" / entries[0] / "lib/libsqlite3.so.0";
    const auto size = fs::file_size(library);
    fs::resize_file(library, size / 2);
    EXPECT_EQ(inSandbox("twice", "../setup --version").exitCode, 0);
    EXPECT_EQ(fs::file_size(library), size);
    EXPECT_EQ(cacheEntries("twice"), entries);
}

TEST_F(Bundle, InfoListsTheContentsWithoutExtracting) {
    const auto info = inSandbox("info", "../setup --bundle-info");
    EXPECT_EQ(info.exitCode, 0);
    const std::string package = "package: setup.ovsp (" +
                                std::to_string(fs::file_size(m_dir / "plain/setup.ovsp")) +
                                " bytes)";
    EXPECT_NE(info.out.find(package), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("  lib/libQt6Widgets.so.6 ("), std::string::npos) << info.out;
    EXPECT_EQ(cacheEntries("info"), std::vector<std::string>());
}

} // namespace
