// The folder dialog's scenario actions (folder, cancel, newfolder) acting on the real
// dialog, served from its waits the way `orvane run` serves them.
#include "folder_dialog_actions.h"
#include "orvaneOrdnerDialog.h"
#include "recording_dialog.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <deque>

namespace orvane::test {
namespace {

struct Outcome {
    bool confirmed = false;
    std::vector<std::string> errors;
};

// Serves each wait of the dialog with the next scenario line; an action that fails ends
// the run by closing the window, as the runner stops a run.
Outcome runScenario(TOrvaneOrdnerDialog& dialog, std::deque<std::string> lines) {
    Outcome outcome;
    FolderDialogActions actions;
    const auto connection =
        QObject::connect(&dialog, &TOrvaneOrdnerDialog::waitingForUser, [&](QDialog* window) {
            if (actions.continuePending(*window))
                return;
            if (lines.empty()) {
                outcome.errors.push_back("the scenario ran out");
                window->reject();
                return;
            }
            const std::string line = lines.front();
            lines.pop_front();
            const auto blank = line.find(' ');
            const std::string verb = line.substr(0, blank);
            EXPECT_TRUE(FolderDialogActions::handles(verb)) << verb;
            const std::string arguments = blank == std::string::npos ? "" : line.substr(blank + 1);
            const std::string error = actions.perform(*window, verb, arguments);
            if (!error.empty()) {
                outcome.errors.push_back(error);
                window->reject();
            }
        });
    outcome.confirmed = dialog.execute();
    QObject::disconnect(connection);
    EXPECT_TRUE(lines.empty()) << lines.size() << " line(s) left";
    return outcome;
}

struct ActionCase {
    const char* name;
    std::deque<std::string> lines; // "<root>" stands for the test's folder
    bool allowNewDir;
    bool confirmed;
    QString directory; // Directory after the run; "/vorher/" when unchanged
    std::string error; // the one error expected, "" for none
    std::vector<std::string> boxes;
};

class FolderActions : public ::testing::TestWithParam<ActionCase> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_temp.isValid());
        m_root = m_temp.path();
        QDir(m_root).mkpath("Programme/Alt");
        QDir(m_root).mkpath("Daten");
        m_startFolder = QDir::currentPath();
        QDir::setCurrent(m_root + "/Programme");
    }
    void TearDown() override { QDir::setCurrent(m_startFolder); }

    std::string withRoot(std::string text) const {
        const std::string root = m_root.toStdString();
        for (auto at = text.find("<root>"); at != std::string::npos; at = text.find("<root>"))
            text.replace(at, 6, root);
        return text;
    }

    QTemporaryDir m_temp;
    QString m_root;
    QString m_startFolder;
};

TEST_P(FolderActions, DriveTheDialogThroughItsControls) {
    const ActionCase& c = GetParam();
    RecordingDialog boxes;
    TOrvaneOrdnerDialog dialog;
    dialog.setTitle("Zielordner wählen");
    dialog.setAllowNewDir(c.allowNewDir);
    dialog.setMessageDialog(&boxes);
    dialog.setDirectory("/vorher/");
    std::deque<std::string> lines;
    for (const std::string& line : c.lines)
        lines.push_back(withRoot(line));
    const Outcome outcome = runScenario(dialog, lines);
    EXPECT_EQ(outcome.confirmed, c.confirmed);
    EXPECT_EQ(dialog.directory().toStdString(), withRoot(c.directory.toStdString()));
    if (c.error.empty())
        EXPECT_TRUE(outcome.errors.empty()) << outcome.errors.front();
    else
        EXPECT_EQ(outcome.errors, std::vector<std::string>{withRoot(c.error)});
    std::vector<std::string> shown;
    for (const RecordedBox& box : boxes.boxes())
        shown.push_back(box.text);
    EXPECT_EQ(shown, c.boxes);
}

INSTANTIATE_TEST_SUITE_P(
    Scenarios, FolderActions,
    ::testing::Values(
        ActionCase{"DownFromTheRoot",
                   {"folder <root>/Programme/Alt"},
                   true,
                   true,
                   "<root>/Programme/Alt/",
                   "",
                   {}},
        ActionCase{"AcrossBranches", {"folder ../Daten"}, true, true, "<root>/Daten/", "", {}},
        ActionCase{"UpToTheRoot", {"folder /"}, true, true, "/", "", {}},
        ActionCase{"Cancel", {"cancel"}, true, false, "/vorher/", "", {}},
        // The dialog waits again after the new folder: it is the current folder then.
        ActionCase{"NewFolderThenConfirm",
                   {"newfolder Neuer Ordner", "folder ."},
                   true,
                   true,
                   "<root>/Programme/Neuer Ordner/",
                   "",
                   {}},
        ActionCase{"NewFolderBeyondLatin1",
                   {"newfolder Übersicht €", "folder <root>/Programme/Übersicht €"},
                   true,
                   true,
                   "<root>/Programme/Übersicht €/",
                   "",
                   {}},
        ActionCase{"ExistingFolder",
                   {"newfolder Alt", "cancel"},
                   true,
                   false,
                   "/vorher/",
                   "",
                   {"Ordner konnte nicht angelegt werden!"}},
        ActionCase{"MissingFolder",
                   {"folder <root>/fehlt"},
                   true,
                   false,
                   "/vorher/",
                   "no folder <root>/fehlt",
                   {}},
        ActionCase{"NoPath",
                   {"folder"},
                   true,
                   false,
                   "/vorher/",
                   "'folder' needs the path of a folder",
                   {}},
        ActionCase{"NoNewFolderButton",
                   {"newfolder X"},
                   false,
                   false,
                   "/vorher/",
                   "the folder dialog offers no new-folder button",
                   {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FolderActionsVerbs, AreTheDialogsThree) {
    for (const char* verb : {"folder", "cancel", "newfolder"})
        EXPECT_TRUE(FolderDialogActions::handles(verb)) << verb;
    for (const char* verb : {"click", "yes", "Folder", ""})
        EXPECT_FALSE(FolderDialogActions::handles(verb)) << verb;
}

} // namespace
} // namespace orvane::test
