// The installation built-ins in whole sessions: the program-files folder from the registry store,
// their error messages, and the repaint hook while a file is written.
#include "install_test_support.h"
#include "json_reader.h"
#include "package_lookup.h"
#include "recording_dialog.h"
#include "script_session.h"

namespace orvane::test {
namespace {

struct ProgramFilesCase {
    const char* name;
    std::function<void(RegistryStore&)> prepare;
    bool storeIsAFile = false;
    std::vector<std::string> boxes; // "caption: text" of every box
};

class ProgramFilesDirTest : public TempRegistryTest,
                            public ::testing::WithParamInterface<ProgramFilesCase> {};

TEST_P(ProgramFilesDirTest, ReadsTheValueOrShowsTheErrorBox) {
    const ProgramFilesCase& c = GetParam();
    {
        RegistryStore store(registryFilesFromEnvironment());
        ASSERT_TRUE(store.keyExists(Hive::LocalMachine, kCurrentVersionKey).ok());
        c.prepare(store);
    }
    if (c.storeIsAFile) {
        writeFile(path("keine-registry"), "");
        ::setenv("ORVANE_REGISTRY_DIR", path("keine-registry").c_str(), 1);
    }
    RecordingDialog dialog;
    ScriptSession session(dialog, nullptr);
    ASSERT_EQ(session.run("void main() { messageBox(\"[\" + getProgramFilesDir() + \"]\"); }"),
              RunOutcome::mainReturned);
    std::vector<std::string> boxes;
    for (const RecordedBox& box : dialog.boxes())
        boxes.push_back(box.caption + ": " + box.text + (box.flags == mbIconError ? " (16)" : ""));
    EXPECT_EQ(boxes, c.boxes);
}

const std::string kMissing = "Fehler: Konnte Programm-Ordner nicht finden (16)";

INSTANTIATE_TEST_SUITE_P(
    Registry, ProgramFilesDirTest,
    ::testing::Values(ProgramFilesCase{"TheValue",
                                       [](RegistryStore& store) {
                                           store.writeString(Hive::LocalMachine, kCurrentVersionKey,
                                                             kProgramFilesDirValue,
                                                             "/srv/programme");
                                       },
                                       false,
                                       {"Messagebox: [/srv/programme]"}},
                      ProgramFilesCase{"AKeyWithoutTheValueGivesNothingQuietly",
                                       [](RegistryStore& store) {
                                           store.deleteKeyTree(Hive::LocalMachine,
                                                               kCurrentVersionKey);
                                           store.createKey(Hive::LocalMachine, kCurrentVersionKey);
                                       },
                                       false,
                                       {"Messagebox: []"}},
                      ProgramFilesCase{"AMissingKeyShowsTheBox",
                                       [](RegistryStore& store) {
                                           store.deleteKeyTree(Hive::LocalMachine,
                                                               "\\Software\\Microsoft");
                                       },
                                       false,
                                       {kMissing, "Messagebox: []"}},
                      ProgramFilesCase{"AStoreThatCannotBeOpenedShowsTheBox",
                                       [](RegistryStore&) {},
                                       true,
                                       {kMissing, "Messagebox: []"}}),
    [](const auto& info) { return std::string(info.param.name); });

// The text of the error report a one-line `main` ends with, without the call prefixes.
class InstallErrorTest : public TempRegistryTest {
  protected:
    std::string errorOf(const std::string& body) {
        RecordingDialog dialog;
        ScriptSession session(dialog, nullptr);
        EXPECT_EQ(session.run("string liste[];\nvoid main() { " + body + " }"), RunOutcome::failed);
        return dialog.boxes().empty() ? "" : dialog.boxes().back().text;
    }
};

TEST_F(InstallErrorTest, ReportsWholeGermanMessages) {
    writeFile(path("datei"), "");
    const std::string prefix = "Fehler in TCInterpreterEx.callFunction (Name: main): Fehler in "
                               "TCInterpreterEx.callFunction (Name: ";
    EXPECT_EQ(errorOf("createLink(\"" + path("datei\\Start\\a.desktop") + "\", \"/bin/true\");"),
              prefix + "createLink): Datei " + path("datei/Start/a.desktop") +
                  " kann nicht erstellt werden. Not a directory.");
    EXPECT_EQ(errorOf("setArraySize(\"fehlt\", 3);"),
              prefix + "setArraySize): Variable fehlt nicht gefunden!");
    EXPECT_EQ(errorOf("setArraySize(\"liste\", 0 - 1);"),
              prefix + "setArraySize): Laufzeitfehler im C-Interpreter:\rUngültige Arraygröße -1 "
                       "für liste.");
}

class PaintHookTest : public TempRegistryTest {};

TEST_F(PaintHookTest, TheSessionsHookRunsWhileALargeFileIsWritten) {
    const std::string bytes = patternBytes(5 * 1024 * 1024 / 2);
    std::string json = R"({"binfiles": [{"bin": ")";
    for (const char c : base64Lines(bytes))
        json += c == '\n' ? std::string("\\n") : std::string(1, c);
    json += "\"}]}";
    const PackageDocument document(readJson(json).document);
    const PackageLookup package(document);
    RecordingDialog dialog;
    ScriptSession session(dialog, &package);
    int calls = 0;
    session.setPaintBetweenChunks([&] { ++calls; });
    ASSERT_EQ(session.run("void main() { installFile(\"binfiles[0].bin\", \"" + path("gross.bin") +
                          "\"); }"),
              RunOutcome::mainReturned);
    EXPECT_EQ(readFile(path("gross.bin")), bytes);
    EXPECT_GE(calls, 3);
}

} // namespace
} // namespace orvane::test
