// The folder dialog's scenario actions (folder, cancel, newfolder) acting on the real
// dialog, served from its waits the way `orvane run` serves them.
#include "folder_dialog_actions.h"
#include "folder_dialog_driver.h"
#include "recording_dialog.h"

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

// "<root>" stands for the test's folder.
struct ActionCase {
    const char* name;
    std::deque<std::string> lines;
    std::string directory = "/vorher/"; // Directory after the run: unchanged by default
    bool confirmed = true;
    std::string error = {}; // the one error expected, "" for none
    std::vector<std::string> boxes = {};
    bool allowNewDir = true;
};

class FolderActions : public ::testing::TestWithParam<ActionCase> {
  protected:
    std::string withRoot(std::string text) const {
        const std::string root = m_tree.root.toStdString();
        for (auto at = text.find("<root>"); at != std::string::npos; at = text.find("<root>"))
            text.replace(at, 6, root);
        return text;
    }

    FolderTree m_tree{"Programme/Alt", "Daten"};
};

TEST_P(FolderActions, DriveTheDialogThroughItsControls) {
    const ActionCase& c = GetParam();
    QDir::setCurrent(m_tree.root + "/Programme");
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
    EXPECT_EQ(dialog.directory().toStdString(), withRoot(c.directory));
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
        ActionCase{"DownFromTheRoot", {"folder <root>/Programme/Alt"}, "<root>/Programme/Alt/"},
        ActionCase{"AcrossBranches", {"folder ../Daten"}, "<root>/Daten/"},
        ActionCase{"UpToTheRoot", {"folder /"}, "/"},
        ActionCase{"Cancel", {"cancel"}, "/vorher/", false},
        // The dialog waits again after the new folder: it is the current folder then.
        ActionCase{"NewFolderThenConfirm",
                   {"newfolder Neuer Ordner", "folder ."},
                   "<root>/Programme/Neuer Ordner/"},
        ActionCase{"NewFolderBeyondLatin1",
                   {"newfolder Übersicht €", "folder <root>/Programme/Übersicht €"},
                   "<root>/Programme/Übersicht €/"},
        ActionCase{"ExistingFolder",
                   {"newfolder Alt", "cancel"},
                   "/vorher/",
                   false,
                   "",
                   {"Ordner konnte nicht angelegt werden!"}},
        ActionCase{
            "MissingFolder", {"folder <root>/fehlt"}, "/vorher/", false, "no folder <root>/fehlt"},
        ActionCase{"NoPath", {"folder"}, "/vorher/", false, "'folder' needs the path of a folder"},
        ActionCase{"NoNewFolderButton",
                   {"newfolder X"},
                   "/vorher/",
                   false,
                   "the folder dialog offers no new-folder button",
                   {},
                   false}),
    [](const auto& info) { return std::string(info.param.name); });

// The scenarios above check that the three verbs are handled; other verbs are not.
TEST(FolderActionsVerbs, AreOnlyTheDialogsThree) {
    for (const char* verb : {"click", "yes", "Folder", ""})
        EXPECT_FALSE(FolderDialogActions::handles(verb)) << verb;
}

} // namespace
} // namespace orvane::test
