// A run recorded while a scenario plays the user (its clicks and keys are real input events)
// replays from the recording alone to the same boxes, files and registry values.
#include "answer_recorder.h"
#include "folder_dialog_builtin.h"
#include "folder_dialog_driver.h"
#include "orvaneOrdnerDialog.h"
#include "scenario_answers.h"
#include "script_session.h"
#include "transcript_observer.h"

#include <cstdlib>
#include <sstream>

namespace orvane::test {
namespace {

// A page with every kind of answer: a field replaced, a password, a check box, a list row and
// its double-click, the folder dialog, a Yes/No question. What was chosen goes to the registry
// and the uninstall data into the chosen folder.
const char* const kScript = R"(
    string items[];
    void onBrowse(string s) { string d; d = showFolderDialog(); if (d != "") setCaption("folder", d); }
    void onDouble(string s) { messageBox("doppelt " + getListBoxCurrentItem("list")); }
    void onNext(string s) { if (askYesNo("Installieren?")) closeForm("f"); }
    void main() {
        string key;
        key = "HKEY_CURRENT_USER\Software\Aufnahme\";
        createForm("f", 0, 0, 400, 300, "F");
        createTextedit("folder", false, 10, 10, 200, 22, "f", "");
        setCaption("folder", "/nirgends/");
        createButton("browse", 220, 10, 80, 25, "f", "...", "onBrowse");
        createTextedit("name", false, 10, 40, 200, 22, "f", "");
        setCaption("name", "Gast");
        createTextedit("password", true, 10, 70, 200, 22, "f", "");
        createCheckbox("opt", 10, 100, 150, 20, "f", "Option", "");
        createListBox("list", 10, 130, 150, 80, "f");
        setArraySize("items", 3);
        items[0] = "eins"; items[1] = "zwei"; items[2] = "drei";
        setListBoxArray("list", items);
        setDoubleClickHandler("list", "onDouble");
        createButton("next", 220, 250, 80, 25, "f", "Weiter", "onNext");
        showModal("f");
        writeRegistryString(key + "Name", getCaption("name") + "/" + getCaption("password"));
        if (isChecked("opt")) writeRegistryString(key + "Option", "an");
        writeRegistryString(key + "Liste", getListBoxCurrentItem("list"));
        saveUninstallData(getCaption("folder") + "uninstall.dat");
    })";

struct Outcome {
    int exitCode = -1;
    std::string transcript; // boxes, files and registry values
    std::string recording;
    std::string errors;
};

// Runs the script with `answers` playing the user and the recorder watching.
Outcome runRecorded(const std::string& answers) {
    Outcome outcome;
    const auto print = [&outcome](const std::string& line) { outcome.transcript += line + "\n"; };
    ScenarioAnswers user(Scenario::parse(answers), print);
    AnswerRecorder recorder(user.dialog());
    TranscriptObserver observer(print);
    ScriptSession session(recorder, nullptr, &observer);
    ScriptWindows windows(session.interpreter(),
                          [&session](const std::string& text) { session.showErrorReport(text); });
    windows.install(session.builtins());
    TOrvaneOrdnerDialog folderDialog;
    configureTargetFolderDialog(folderDialog);
    user.attach(windows, session.builtins(), folderDialog);
    recorder.attach(windows, folderDialog);
    std::ostringstream errors;
    outcome.exitCode =
        user.run([&] { return session.exitStatus(session.run(kScript)); }, errors, "test");
    outcome.errors = errors.str();
    outcome.recording = recorder.text();
    return outcome;
}

TEST(RecordReplay, TheRecordingReplaysToTheSameInstallation) {
    const FolderTree tree{"Ziel"};
    ::setenv("ORVANE_REGISTRY_DIR", qPrintable(tree.root), 1);
    QDir::setCurrent(tree.root);
    const Outcome recorded = runRecorded("clear name\ntype name Anna\ntype password geheim\n"
                                         "click opt\nselect list 1\ndblclick list\n"
                                         "click browse\nfolder Ziel\nclick next\nno\n"
                                         "click next\nyes\n");
    ASSERT_EQ(recorded.exitCode, 0) << recorded.errors;
    const std::string target = tree.root.toStdString() + "/Ziel/";
    EXPECT_EQ(recorded.recording, "clear name\ntype name Anna\nsecret password\nclick opt\n"
                                  "select list 1\ndblclick list\nclick browse\n"
                                  "folder " +
                                      target + "\nclick next\nno\nclick next\nyes\n");
    EXPECT_NE(recorded.transcript.find("Anna/geheim"), std::string::npos) << recorded.transcript;
    EXPECT_TRUE(QFile::exists(QString::fromStdString(target + "uninstall.dat")));

    // The password is not in the recording: the replay refuses it until it is filled in.
    const Outcome refused = runRecorded(recorded.recording);
    EXPECT_EQ(refused.exitCode, 3);
    EXPECT_NE(refused.errors.find("replace this line with 'type password TEXT'"), std::string::npos)
        << refused.errors;

    QFile::remove(QString::fromStdString(target + "uninstall.dat"));
    std::string edited = recorded.recording;
    edited.replace(edited.find("secret password"), 15, "type password geheim");
    const Outcome replayed = runRecorded(edited);
    EXPECT_EQ(replayed.exitCode, 0) << replayed.errors;
    EXPECT_EQ(replayed.transcript, recorded.transcript);
    EXPECT_EQ(replayed.recording, recorded.recording);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(target + "uninstall.dat")));
}

} // namespace
} // namespace orvane::test
