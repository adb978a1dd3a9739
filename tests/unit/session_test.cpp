// A whole session: the uninstall list and the registry as a script leaves them.
#include "recording_dialog.h"
#include "script_session.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace orvane::test {
namespace {

namespace fs = std::filesystem;

class Session : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("orvane_session_" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
        ::setenv("ORVANE_REGISTRY_DIR", m_dir.c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("ORVANE_REGISTRY_DIR");
        fs::remove_all(m_dir);
    }

    struct Observer : InstallObserver {
        std::vector<std::string> events;
        void registryWritten(std::string_view path, std::string_view value) override {
            events.push_back(std::string(path) + "=" + std::string(value));
        }
    };

    fs::path m_dir;
};

TEST_F(Session, RegistryWritesAndUninstallDataReachTheListAndTheFile) {
    RecordingDialog dialog;
    Observer observer;
    ScriptSession session(dialog, nullptr, &observer);
    const std::string target = (m_dir / "uninstall.dat").string();
    ASSERT_EQ(session.run("void main() {\n"
                          "  writeRegistryString(\"HKEY_CURRENT_USER\\Software\\Demo\\Version\", "
                          "\"3.7\");\n"
                          "  addToUninstallData(\"eigene\", \"eins\");\n"
                          "  addToUninstallData(\"eigene\", \"zwei\");\n"
                          "  saveUninstallData(\"" +
                          target + "\");\n}"),
              RunOutcome::mainReturned)
        << (dialog.boxes().empty() ? "" : dialog.boxes().back().text);
    EXPECT_EQ(observer.events,
              std::vector<std::string>{"HKEY_CURRENT_USER\\Software\\Demo\\Version=3.7"});
    const std::vector<std::string> expected = {
        "// Informationen zur Deinstallation", "// Automatisch erzeugt von Orvane-Setup 3.7", "",
        "[registry]",
        // root + "\" + a path that starts with "\"
        "HKEY_CURRENT_USER\\\\Software\\Demo", "HKEY_CURRENT_USER\\\\Software", "[eigene]", "zwei",
        "eins"};
    ASSERT_NE(session.uninstallList(), nullptr);
    EXPECT_EQ(session.uninstallList()->lines(), expected);
    std::ifstream saved(target, std::ios::binary);
    std::string content((std::istreambuf_iterator<char>(saved)), std::istreambuf_iterator<char>());
    EXPECT_EQ(content, session.uninstallList()->fileText());
}

TEST_F(Session, NoUninstallListBeforeTheScriptParses) {
    RecordingDialog dialog;
    ScriptSession session(dialog, nullptr);
    EXPECT_EQ(session.run("void main( {"), RunOutcome::failed);
    EXPECT_EQ(session.uninstallList(), nullptr);
    EXPECT_EQ(dialog.boxes().back().text, "Parsing failed");
}

} // namespace
} // namespace orvane::test
