// A bundle of a small package: it runs where the build machine's libraries are not, refuses to
// run when damaged, and is extracted once however many times it is started.
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

// Installs one file, writes a registry value and saves the uninstall data: no window waits for
// an answer.
constexpr const char* kScript = R"(void main() {
    string target;
    target = getUserDir() + "/ziel";
    installFile("binfiles[0].bin", target + "/liesmich.txt");
    writeRegistryString("HKEY_CURRENT_USER\Software\Gebuendelt\Ziel", target);
    saveUninstallData(target + "/uninstall.dat");
}
)";

class Bundle : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("orvane_bundle_" + std::to_string(::getpid()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        std::ofstream(m_dir / "probe.ovs") << kScript;
        std::ofstream(m_dir / "liesmich.txt") << "Hallo aus dem Bündel\n";
        ASSERT_EQ(tool("pack -o probe.ovsp probe.ovs liesmich=liesmich.txt").exitCode, 0);
        // The fastest level: the test checks the bundle, not how small it is.
        ASSERT_EQ(tool("bundle --level 1 probe.ovsp").exitCode, 0);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    orvane::e2e::CommandResult tool(const std::string& arguments) {
        return runCommand("cd '" + m_dir.string() + "' && " + ORVANE_TOOL + " " + arguments);
    }

    // Runs `command` in the test's folder with home, cache and registry in `sandbox` below it;
    // stderr joins stdout.
    orvane::e2e::CommandResult inSandbox(const std::string& sandbox, const std::string& command) {
        const std::string root = (m_dir / sandbox).string();
        fs::create_directories(root + "/home");
        return runCommand("cd '" + m_dir.string() + "' && export HOME='" + root +
                          "/home' XDG_CACHE_HOME='" + root + "/cache' ORVANE_REGISTRY_DIR='" +
                          root + "/registry' QT_QPA_PLATFORM=offscreen && { " + command +
                          "; } 2>&1");
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

    // What an installation left in `sandbox`: every file below home with its content, and the
    // registry value, with the sandbox's own path written as $SANDBOX.
    std::string installation(const std::string& sandbox) {
        const fs::path root = m_dir / sandbox;
        std::string result;
        for (const auto& entry : fs::recursive_directory_iterator(root / "home"))
            if (entry.is_regular_file())
                result += entry.path().lexically_relative(root).string() + ":\n" +
                          readFile(entry.path()) + "\n";
        result += runCommand("ORVANE_REGISTRY_DIR='" + root.string() + "/registry' " + ORVANE_TOOL +
                             " reg query 'HKEY_CURRENT_USER\\Software\\Gebuendelt'")
                      .out;
        return orvane::e2e::withPathNamed(result, root.string(), "$SANDBOX");
    }

    fs::path m_dir;
};

TEST_F(Bundle, InstallsAsThePlainEngineDoesWhereTheBuildLibrariesAreMissing) {
    fs::copy_file(ORVANE_ENGINE, m_dir / "probe");
    ASSERT_EQ(inSandbox("plain", "./probe").exitCode, 0);
    const auto bundled = inSandbox("bundled", std::string(ORVANE_WITHOUT_BUILD_LIBRARIES) + " '" +
                                                  ORVANE_ENGINE + "' ./probe-setup");
    if (bundled.exitCode == 77)
        GTEST_SKIP() << "unshare --mount is not permitted here; the bundle was not run without "
                        "the build machine's libraries";
    ASSERT_EQ(bundled.exitCode, 0) << bundled.out;
    EXPECT_NE(installation("plain").find("Hallo aus dem Bündel"), std::string::npos);
    EXPECT_EQ(installation("bundled"), installation("plain"));
}

TEST_F(Bundle, DamagedBundlesAreRefusedAndExtractNothing) {
    const std::string bundle = readFile(m_dir / "probe-setup");
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
        const auto run = inSandbox(damaged.name + "-sandbox", "./" + damaged.name);
        EXPECT_EQ(run.exitCode, 1) << damaged.name;
        EXPECT_EQ(run.out, damaged.name + ": Installationsdatei beschädigt: " +
                               (m_dir / damaged.name).string() + " " + damaged.reason + "\n");
        EXPECT_EQ(cacheEntries(damaged.name + "-sandbox"), std::vector<std::string>())
            << damaged.name;
    }
}

TEST_F(Bundle, ConcurrentStartsShareOneTreeThatIsRepairedWhenDamaged) {
    const auto both = inSandbox("twice", "(./probe-setup; echo erster=$?) & "
                                         "(./probe-setup; echo zweiter=$?) & wait");
    EXPECT_NE(both.out.find("erster=0"), std::string::npos) << both.out;
    EXPECT_NE(both.out.find("zweiter=0"), std::string::npos) << both.out;
    const auto entries = cacheEntries("twice");
    ASSERT_EQ(entries.size(), 2u); // the tree and its lock file
    EXPECT_EQ(entries[0] + ".lock", entries[1]);

    const fs::path library =
        m_dir / "twice/cache/orvane/bundles" / entries[0] / "lib/libsqlite3.so.0";
    const auto size = fs::file_size(library);
    fs::resize_file(library, size / 2);
    EXPECT_EQ(inSandbox("twice", "./probe-setup").exitCode, 0);
    EXPECT_EQ(fs::file_size(library), size);
    EXPECT_EQ(cacheEntries("twice"), entries);
}

TEST_F(Bundle, InfoListsTheContentsWithoutExtracting) {
    const auto info = inSandbox("info", "./probe-setup --bundle-info");
    EXPECT_EQ(info.exitCode, 0);
    const std::string package = "package: probe-setup.ovsp (" +
                                std::to_string(fs::file_size(m_dir / "probe.ovsp")) + " bytes)";
    EXPECT_NE(info.out.find(package), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("  lib/libQt6Widgets.so.6 ("), std::string::npos) << info.out;
    EXPECT_EQ(cacheEntries("info"), std::vector<std::string>());
}

} // namespace
