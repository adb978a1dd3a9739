// The installation built-ins in whole sessions: the program-files folder from the registry store,
// their error messages, and the repaint hook while a file is written.
#include "install_test_support.h"
#include "json_reader.h"
#include "package_lookup.h"
#include "recording_dialog.h"
#include "script_session.h"

namespace orvane::test {
namespace {

class InstallSessionTest : public TempRegistryTest {
  protected:
    // Runs `main` with `body` and returns "caption: text" of every box, error boxes marked " (16)".
    std::vector<std::string> boxesOf(const std::string& body, RunOutcome expected,
                                     const PackageLookup* package = nullptr,
                                     const PaintBetweenChunks& paint = {}) {
        RecordingDialog dialog;
        ScriptSession session(dialog, package);
        session.setPaintBetweenChunks(paint);
        EXPECT_EQ(session.run("string liste[];\nvoid main() { " + body + " }"), expected) << body;
        std::vector<std::string> boxes;
        for (const RecordedBox& box : dialog.boxes())
            boxes.push_back(box.caption + ": " + box.text +
                            (box.flags == mbIconError ? " (16)" : ""));
        return boxes;
    }
    std::vector<std::string> programFilesBoxes() {
        return boxesOf(R"(messageBox("[" + getProgramFilesDir() + "]");)",
                       RunOutcome::mainReturned);
    }
};

// The store holding the value is covered by the golden script install/folders.
TEST_F(InstallSessionTest, ProgramFilesDirWithoutTheValueOrItsKey) {
    const std::vector<std::string> missing = {"Fehler: Konnte Programm-Ordner nicht finden (16)",
                                              "Messagebox: []"};
    {
        RegistryStore store(registryFilesFromEnvironment());
        store.deleteKeyTree(Hive::LocalMachine, kCurrentVersionKey);
        ASSERT_TRUE(store.createKey(Hive::LocalMachine, kCurrentVersionKey).ok());
    }
    EXPECT_EQ(programFilesBoxes(), std::vector<std::string>{"Messagebox: []"}) << "no value";
    {
        RegistryStore store(registryFilesFromEnvironment());
        ASSERT_TRUE(store.deleteKeyTree(Hive::LocalMachine, "\\Software\\Microsoft").ok);
    }
    EXPECT_EQ(programFilesBoxes(), missing) << "no key";
    writeFile(path("keine-registry"), "");
    setVariable("ORVANE_REGISTRY_DIR", path("keine-registry"));
    EXPECT_EQ(programFilesBoxes(), missing) << "a store that cannot be opened";
}

// A missing variable for setArraySize is covered by the golden script install/set_array_size.
TEST_F(InstallSessionTest, ReportsWholeGermanMessages) {
    writeFile(path("datei"), "");
    const std::string prefix = "Installer: Fehler in TCInterpreterEx.callFunction (Name: main): "
                               "Fehler in TCInterpreterEx.callFunction (Name: ";
    EXPECT_EQ(boxesOf("createLink(\"" + path("datei\\Start\\a.desktop") + "\", \"/bin/true\");",
                      RunOutcome::failed),
              std::vector<std::string>{
                  prefix + "createLink): " +
                  cannotCreate(path("datei/Start/a.desktop"), "Not a directory. (16)")});
    EXPECT_EQ(boxesOf("setArraySize(\"liste\", 0 - 1);", RunOutcome::failed),
              std::vector<std::string>{prefix + "setArraySize): Laufzeitfehler im C-Interpreter:\r"
                                                "Ungültige Arraygröße -1 für liste. (16)"});
}

TEST_F(InstallSessionTest, TheSessionsHookRunsWhileALargeFileIsWritten) {
    const std::string bytes = patternBytes(5 * 1024 * 1024 / 2);
    const PackageDocument document(readJson(binfilesJson({base64Lines(bytes)})).document);
    const PackageLookup package(document);
    int calls = 0;
    EXPECT_TRUE(boxesOf("installFile(\"binfiles[0].bin\", \"" + path("gross.bin") + "\");",
                        RunOutcome::mainReturned, &package, [&] { ++calls; })
                    .empty());
    EXPECT_EQ(readFile(path("gross.bin")), bytes);
    EXPECT_GE(calls, 3);
}

} // namespace
} // namespace orvane::test
