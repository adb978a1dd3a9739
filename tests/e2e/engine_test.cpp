// The engine executable, renamed beside its package, runs the script and ends with its status.
#include "e2e_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;

class Engine : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("orvane_engine_" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
        fs::copy_file(ORVANE_ENGINE, m_dir / "demo", fs::copy_options::overwrite_existing);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    // Writes the package as `package` in the test folder and starts the engine from there with
    // the command `start`.
    int runEngine(const std::string& packageJson, const std::string& package = "demo.ovsp",
                  const std::string& start = "./demo") {
        std::ofstream(m_dir / package, std::ios::binary) << packageJson;
        const std::string command = "cd '" + m_dir.string() + "' && ORVANE_REGISTRY_DIR='" +
                                    m_dir.string() + "' QT_QPA_PLATFORM=offscreen timeout 60 " +
                                    start + " 2>/dev/null";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // What `orvane reg query` shows of the key the test scripts write to.
    std::string engineKeyListing() const {
        const std::string query = "ORVANE_REGISTRY_DIR='" + m_dir.string() + "' " + ORVANE_TOOL +
                                  " reg query 'HKEY_CURRENT_USER\\Software\\Engine'";
        return orvane::e2e::runCommand(query).out;
    }

    fs::path m_dir;
};

TEST_F(Engine, RunsTheScriptOfItsPackageAndEndsWithZero) {
    ASSERT_EQ(runEngine(R"({"programfile": "void main() { writeRegistryString(\"HKEY_CURRENT_USER)"
                        R"(\\Software\\Engine\\Lauf\", \"ok\"); }"})"),
              0);
    // The script really ran: its registry value is in the store.
    const std::string listing = engineKeyListing();
    EXPECT_NE(listing.find("Lauf    REG_SZ    ok"), std::string::npos) << listing;
}

TEST_F(Engine, ScriptsBuildTheirOwnWindows) {
    ASSERT_EQ(
        runEngine(R"({"programfile": "void main() { createForm(\"f\", 0, 0, 200, 100, \"F\");)"
                  R"( createTextedit(\"e\", false, 10, 10, 100, 22, \"f\", \"\");)"
                  R"( setCaption(\"e\", \"aus dem Fenster\"); showUnmodal(\"f\");)"
                  R"( writeRegistryString(\"HKEY_CURRENT_USER\\Software\\Engine\\Feld\",)"
                  R"( getCaption(\"e\")); }"})"),
        0);
    const std::string listing = engineKeyListing();
    EXPECT_NE(listing.find("Feld    REG_SZ    aus dem Fenster"), std::string::npos) << listing;
}

// Started by its bare name through PATH, a link finds the package beside itself, as it does when
// started by its path, not the one beside the file it links to.
TEST_F(Engine, ALinkStartedThroughThePathFindsThePackageBesideIt) {
    fs::create_directory(m_dir / "bin");
    fs::create_symlink(m_dir / "demo", m_dir / "bin/setup");
    ASSERT_EQ(runEngine(R"({"programfile": "void main() { writeRegistryString(\"HKEY_CURRENT_USER)"
                        R"(\\Software\\Engine\\Pfad\", \"ok\"); }"})",
                        "bin/setup.ovsp",
                        "env PATH='" + (m_dir / "bin").string() + ":/usr/bin' setup"),
              0);
    const std::string listing = engineKeyListing();
    EXPECT_NE(listing.find("Pfad    REG_SZ    ok"), std::string::npos) << listing;
}

struct OptionCase {
    const char* command; // run in the test's folder
    int exitCode;
    const char* output; // part of what it writes (stdout and stderr)
};

// The command line, and a start where no display is and no answer file was given.
TEST_F(Engine, OptionsAndAStartWithoutDisplay) {
    std::ofstream(m_dir / "demo.ovsp") << R"({"programfile": "void main() { }"})";
    const OptionCase cases[] = {
        {"./demo --help", 0, "--answers FILE"},
        {"./demo --version", 0, "Orvane-Installer 3.7\n"},
        {"./demo --silent", 2, "--silent"},
        {"./demo --answers", 2, "--answers"},
        {"./demo --progress", 2, "--answers"},
        {"./demo --uninstall x --record y", 2, "--record"},
        {"./demo --answers fehlt.txt", 2, "demo: cannot read fehlt.txt: No such file"},
        {"env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ./demo", 1,
         "demo: no display to show the installer on"},
    };
    for (const OptionCase& row : cases) {
        const auto result =
            orvane::e2e::runCommand("cd '" + m_dir.string() + "' && " + row.command + " 2>&1");
        EXPECT_EQ(result.exitCode, row.exitCode) << row.command;
        EXPECT_NE(result.out.find(row.output), std::string::npos) << row.command << result.out;
    }
}

} // namespace
