// The demo installer installed in a sandbox (home, data, desktop and registry all inside the
// test's folder), then verified, repaired and uninstalled with `orvane` and the engine.
#include "e2e_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using orvane::e2e::CommandResult;
using orvane::e2e::readFile;

const fs::path kExample = ORVANE_DEMO_EXAMPLE;

class UninstallExample : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        s_package =
            fs::temp_directory_path() / ("orvane_uninstall_pkg_" + std::to_string(::getpid()));
        const auto packed = orvane::e2e::runCommand("'" + (kExample / "pack.sh").string() + "' " +
                                                    ORVANE_TOOL + " '" + s_package.string() + "'");
        ASSERT_EQ(packed.exitCode, 0) << "the demo could not be packed";
    }
    static void TearDownTestSuite() { fs::remove_all(s_package); }

    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("orvane_uninstall_" + std::to_string(::getpid()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir / "home/Desktop");
        fs::create_directories(m_dir / "opt");
        target = (m_dir / "opt/orvane-demo").string();
        data = target + "/uninstall.dat";
    }
    void TearDown() override { fs::remove_all(m_dir); }

    // Runs `command` in the sandbox's environment, without a display.
    CommandResult sandboxed(const std::string& command) {
        const std::string dir = m_dir.string();
        return orvane::e2e::runCommand(
            "cd '" + dir + "' && env -u DISPLAY -u WAYLAND_DISPLAY HOME='" + dir +
            "/home' XDG_DATA_HOME='" + dir + "/data' XDG_CONFIG_HOME='" + dir +
            "/config' ORVANE_REGISTRY_DIR='" + dir + "/registry' " + command + " 2>/dev/null");
    }
    CommandResult tool(const std::string& arguments) {
        return sandboxed(std::string(ORVANE_TOOL) + " " + arguments);
    }

    // The demo through its pages into opt/orvane-demo, without the 50 MB of sample data.
    void installDemo() {
        std::ofstream(m_dir / "install.scenario")
            << "click welcomeNext\nclick accept\nclick licenceNext\nclear folder\ntype folder "
            << target << "\nclick destinationNext\nclick showReadme\nclick doneNext\n";
        ASSERT_EQ(
            tool("run --scenario install.scenario '" + (s_package / "setup.ovsp").string() + "'")
                .exitCode,
            0);
        ASSERT_TRUE(fs::exists(data + ".manifest"));
    }

    // Every path below the sandbox with its size, in order, and both registry hives as exported.
    std::string state() {
        std::set<std::string> paths;
        for (const auto& entry : fs::recursive_directory_iterator(m_dir)) {
            const fs::path relative = fs::relative(entry.path(), m_dir);
            if (relative.begin()->string() != "registry" && relative != "install.scenario")
                paths.insert(relative.string() + (entry.is_regular_file()
                                                      ? " " + std::to_string(entry.file_size())
                                                      : ""));
        }
        std::string text;
        for (const std::string& path : paths)
            text += path + "\n";
        return text + tool("reg export HKCU").out + tool("reg export HKLM").out;
    }

    std::string withSandboxName(const std::string& text) {
        return orvane::e2e::withPathNamed(text, m_dir.string(), "$SANDBOX");
    }

    static inline fs::path s_package;
    fs::path m_dir;
    std::string target;
    std::string data;
};

TEST_F(UninstallExample, UninstallingLeavesTheSandboxAsItWasBefore) {
    const std::string before = state();
    installDemo();
    EXPECT_EQ(tool("uninstall '" + data + "' --verify").out, "Alle 2 Dateien sind unverändert.\n");
    const std::string installed = state();
    const CommandResult plan = tool("uninstall '" + data + "' --dry-run");
    EXPECT_EQ(plan.exitCode, 0);
    EXPECT_NE(plan.out.find("Datei " + target + "/LIESMICH.txt: wird entfernt\n"),
              std::string::npos)
        << plan.out;
    EXPECT_EQ(state(), installed);

    const CommandResult result = tool("uninstall '" + data + "' --yes --json");
    EXPECT_EQ(result.exitCode, 0) << result.out;
    for (const char* verdict : {R"("verdict":"failed")", R"("verdict":"kept")"})
        EXPECT_EQ(result.out.find(verdict), std::string::npos) << result.out;
    EXPECT_EQ(state(), before);
}

TEST_F(UninstallExample, RepairRestoresFilesAndTheEngineKeepsWhatTheUserChanged) {
    // A value that was there before the installation gets it back.
    std::ofstream(m_dir / "before.ovs")
        << "void main() { writeRegistryString(\"HKEY_CURRENT_USER\\\\Software\\\\Orvane "
           "Demo\\\\Version\", \"0.9\"); }\n";
    ASSERT_EQ(tool("run --script before.ovs").exitCode, 0);
    installDemo();

    fs::remove(target + "/orvane-demo");
    std::ofstream(target + "/LIESMICH.txt", std::ios::app) << "edited";
    const CommandResult broken = tool("uninstall '" + data + "' --verify");
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_EQ(withSandboxName(broken.out),
              "Datei $SANDBOX/opt/orvane-demo/orvane-demo: fehlt\n"
              "Datei $SANDBOX/opt/orvane-demo/LIESMICH.txt: seit der Installation geändert\n");
    EXPECT_EQ(tool("repair '" + data + "' '" + (s_package / "setup.ovsp").string() + "'").exitCode,
              0);
    EXPECT_EQ(tool("uninstall '" + data + "' --verify").exitCode, 0);
    EXPECT_EQ(readFile(target + "/orvane-demo"), readFile(kExample / "files/orvane-demo"));

    std::ofstream(target + "/LIESMICH.txt", std::ios::app) << "edited again";
    std::ofstream(target + "/notes.txt") << "the user's own file";
    const CommandResult result =
        sandboxed(std::string(ORVANE_ENGINE) + " --uninstall '" + data + "' --yes");
    EXPECT_EQ(result.exitCode, 0) << result.out;
    EXPECT_NE(withSandboxName(result.out)
                  .find("Datei $SANDBOX/opt/orvane-demo/LIESMICH.txt: behalten (seit der "
                        "Installation geändert)\n"),
              std::string::npos)
        << result.out;
    EXPECT_EQ(withSandboxName(tool("reg query 'HKCU\\Software\\Orvane Demo'").out),
              "HKEY_CURRENT_USER\\Software\\Orvane Demo\n    Version    REG_SZ    0.9\n");
    EXPECT_TRUE(fs::exists(target + "/notes.txt"));
    EXPECT_FALSE(fs::exists(target + "/orvane-demo"));
    EXPECT_FALSE(fs::exists(data));
    EXPECT_FALSE(fs::exists(m_dir / "home/Desktop/Orvane Demo.desktop"));
}

} // namespace
