// A whole session: the uninstall list and the registry as a script leaves them.
#include "recording_dialog.h"
#include "registry_test_support.h"
#include "script_session.h"

namespace orvane::test {
namespace {

struct Observer : InstallObserver {
    std::vector<std::string> events;
    void registryWritten(std::string_view path, std::string_view value) override {
        events.push_back(std::string(path) + "=" + std::string(value));
    }
};

using Session = TempRegistryTest;

TEST_F(Session, RegistryWritesAndUninstallDataReachTheListAndTheFile) {
    RecordingDialog dialog;
    Observer observer;
    ScriptSession session(dialog, nullptr, &observer);
    ASSERT_EQ(session.run("void main() {\n"
                          "  writeRegistryString(\"HKEY_CURRENT_USER\\Software\\Demo\\Version\", "
                          "\"3.7\");\n"
                          "  addToUninstallData(\"eigene\", \"eins\");\n"
                          "  addToUninstallData(\"eigene\", \"zwei\");\n"
                          "  saveUninstallData(\"" +
                          path("uninstall.dat") + "\");\n}"),
              RunOutcome::mainReturned)
        << (dialog.boxes().empty() ? "" : dialog.boxes().back().text);
    EXPECT_EQ(observer.events,
              std::vector<std::string>{"HKEY_CURRENT_USER\\Software\\Demo\\Version=3.7"});
    ASSERT_NE(session.uninstallList(), nullptr);
    // root + "\" + a path that starts with "\"
    EXPECT_EQ(
        entriesBelowHeader(*session.uninstallList()),
        (std::vector<std::string>{"[registry]", "HKEY_CURRENT_USER\\\\Software\\Demo",
                                  "HKEY_CURRENT_USER\\\\Software", "[eigene]", "zwei", "eins"}));
    EXPECT_EQ(readFile(path("uninstall.dat")), session.uninstallList()->fileText());
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
