// The demo installer of examples/demo, packed by its own script and run headless in a
// sandbox (home, data, desktop and registry all inside the test's folder): what it shows
// and everything it leaves on disk and in the registry.
#include "e2e_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using orvane::e2e::readFile;

const fs::path kExample = ORVANE_DEMO_EXAMPLE;

std::string withSandboxName(const std::string& text, const std::string& path) {
    return orvane::e2e::withPathNamed(text, path, "$SANDBOX");
}

const char* const kDemoRegistry = "HKEY_CURRENT_USER\\Software\\Orvane Demo\n"
                                  "    Version    REG_SZ    1.0\n"
                                  "    Zielordner    REG_SZ    $SANDBOX/Programme/orvane-demo\n";

class DemoExample : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("orvane_demo_" + std::to_string(::getpid()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir / "home");
        int code = -1;
        shell("'" + (kExample / "pack.sh").string() + "' " + ORVANE_TOOL + " package", code);
        ASSERT_EQ(code, 0) << "the demo could not be packed";
    }
    void TearDown() override { fs::remove_all(m_dir); }

    // Runs `command` in the sandbox with its environment; returns stdout, sets the exit code.
    std::string shell(const std::string& command, int& exitCode) {
        const std::string dir = m_dir.string();
        const std::string line = "cd '" + dir + "' && HOME='" + dir + "/home' XDG_DATA_HOME='" +
                                 dir + "/data' XDG_CONFIG_HOME='" + dir +
                                 "/config' ORVANE_REGISTRY_DIR='" + dir + "/registry' " + command +
                                 " 2>/dev/null";
        std::string out;
        FILE* pipe = ::popen(line.c_str(), "r");
        std::array<char, 4096> buffer{};
        for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
            out.append(buffer.data(), n);
        const int status = ::pclose(pipe);
        exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return out;
    }

    std::string run(const fs::path& scenario, int& exitCode) {
        return withSandboxName(shell(std::string(ORVANE_TOOL) + " run --scenario '" +
                                         scenario.string() + "' package/setup.ovsp",
                                     exitCode),
                               m_dir.string());
    }

    // The engine beside the package, started with `options` where no display is.
    std::string runEngine(const std::string& options, int& exitCode) {
        fs::copy_file(ORVANE_ENGINE, m_dir / "package/setup", fs::copy_options::overwrite_existing);
        return withSandboxName(
            shell("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM sh -c \"package/setup " +
                      options + " 2>err.txt\"",
                  exitCode),
            m_dir.string());
    }

    std::string registryQuery(const std::string& key) {
        int code = -1;
        return withSandboxName(shell(std::string(ORVANE_TOOL) + " reg query '" + key + "'", code),
                               m_dir.string());
    }

    fs::path m_dir;
};

TEST_F(DemoExample, InstallsFilesShortcutRegistryValuesAndUninstallData) {
    int code = -1;
    const std::string transcript = run(kExample / "demo.scenario", code);
    EXPECT_EQ(code, 0);
    // ORVANE_REGENERATE=1 rewrites the expected transcript; review it before committing.
    if (std::getenv("ORVANE_REGENERATE") != nullptr)
        std::ofstream(kExample / "demo.out", std::ios::binary) << transcript;
    EXPECT_EQ(transcript, readFile(kExample / "demo.out"));

    const fs::path target = m_dir / "Programme/orvane-demo";
    EXPECT_EQ(readFile(target / "orvane-demo"), readFile(kExample / "files/orvane-demo"));
    EXPECT_NE(fs::status(target / "orvane-demo").permissions() & fs::perms::owner_exec,
              fs::perms::none);
    EXPECT_EQ(readFile(target / "LIESMICH.txt"), readFile(kExample / "files/LIESMICH.txt"));
    EXPECT_TRUE(readFile(target / "daten/beispiel.dat") ==
                readFile(m_dir / "package/beispiel.dat"));
    EXPECT_EQ(fs::file_size(target / "daten/beispiel.dat"), 50u * 1024 * 1024);

    EXPECT_EQ(withSandboxName(readFile(m_dir / "home/Desktop/Orvane Demo.desktop"), m_dir.string()),
              "[Desktop Entry]\nType=Application\nName=Orvane Demo\n"
              "Exec=\"$SANDBOX/Programme/orvane-demo/orvane-demo\"\n"
              "Path=$SANDBOX/Programme/orvane-demo/\nComment=Verknüpfung\n");

    EXPECT_EQ(registryQuery("HKEY_CURRENT_USER\\Software\\Orvane Demo"), kDemoRegistry);

    EXPECT_EQ(withSandboxName(readFile(target / "uninstall.dat"), m_dir.string()),
              "// Informationen zur Deinstallation\r\n"
              "// Automatisch erzeugt von Orvane-Setup 3.7\r\n"
              "\r\n"
              "[ordner]\r\n"
              "$SANDBOX/home/Desktop/\r\n"
              "$SANDBOX/Programme/orvane-demo/daten/\r\n"
              "$SANDBOX/Programme/orvane-demo/\r\n"
              "[dateien]\r\n"
              "$SANDBOX/home/Desktop/Orvane Demo.desktop\r\n"
              "$SANDBOX/Programme/orvane-demo/daten/beispiel.dat\r\n"
              "$SANDBOX/Programme/orvane-demo/LIESMICH.txt\r\n"
              "$SANDBOX/Programme/orvane-demo/orvane-demo\r\n"
              "[registry]\r\n"
              "HKEY_CURRENT_USER\\\\Software\\Orvane Demo\r\n"
              "HKEY_CURRENT_USER\\\\Software\r\n");

    for (const char* page : {"1-welcome.png", "2-licence.png", "3-destination.png", "4-done.png"})
        EXPECT_EQ(readFile(m_dir / page).substr(0, 4), "\x89PNG") << page;
}

TEST_F(DemoExample, CancellingOnTheWelcomePageInstallsNothingAndExitsWithFour) {
    std::ofstream(m_dir / "cancel.scenario") << "click welcomeCancel\nno\n"
                                                "click welcomeCancel\nyes\n";
    int code = -1;
    const std::string transcript = run(m_dir / "cancel.scenario", code);
    EXPECT_EQ(code, 4);
    const std::string question =
        R"({"event":"msgbox","flags":36,"caption":"Frage","text":"Möchten Sie die Installation von Orvane Demo wirklich abbrechen?"})"
        "\n";
    EXPECT_EQ(
        transcript,
        question + question +
            R"({"event":"msgbox","flags":0,"caption":"Messagebox","text":"Die Installation wurde abgebrochen."})"
            "\n"
            R"({"event":"exit","code":4})"
            "\n");
    EXPECT_FALSE(fs::exists(m_dir / "home/Desktop"));
    EXPECT_EQ(registryQuery("HKEY_CURRENT_USER\\Software\\Orvane Demo"), "");
}

// The engine itself installs the demo from the same answer file, without a display: the same
// transcript (files, shortcut, registry values) as `orvane run`.
TEST_F(DemoExample, EngineInstallsUnattendedFromTheAnswerFile) {
    int code = -1;
    const std::string transcript =
        runEngine("--answers '" + (kExample / "demo.scenario").string() + "' --progress", code);
    EXPECT_EQ(code, 0) << readFile(m_dir / "err.txt");
    EXPECT_EQ(transcript, readFile(kExample / "demo.out"));
    EXPECT_EQ(readFile(m_dir / "Programme/orvane-demo/LIESMICH.txt"),
              readFile(kExample / "files/LIESMICH.txt"));
    EXPECT_EQ(registryQuery("HKEY_CURRENT_USER\\Software\\Orvane Demo"), kDemoRegistry);
}

TEST_F(DemoExample, EngineStopsWithThreeAtTheFirstWaitWithoutAnAnswer) {
    std::string answers = readFile(kExample / "demo.scenario");
    answers.erase(answers.find("click accept\n"), 13);
    std::ofstream(m_dir / "missing.scenario") << answers;
    int code = -1;
    const std::string transcript = runEngine("--answers missing.scenario", code);
    EXPECT_EQ(code, 3);
    EXPECT_EQ(transcript, "");
    EXPECT_EQ(readFile(m_dir / "err.txt"),
              "setup: scenario line 14: click: 'browse' is not shown or its window is blocked "
              "(form 'licence' waits)\n");
    EXPECT_FALSE(fs::exists(m_dir / "Programme"));
}

} // namespace
