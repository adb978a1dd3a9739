// showFolderDialog in a whole script run: the chosen folder, "" after cancelling, and the
// new-folder error box reaching the session's message dialog.
#include "folder_dialog_builtin.h"
#include "folder_dialog_driver.h"
#include "recording_dialog.h"
#include "script_session.h"

#include <QLineEdit>

#include <cstdlib>

namespace orvane::test {
namespace {

TEST(FolderBuiltin, ReturnsTheChosenFolderOrNothingWhenCancelled) {
    const FolderTree tree{"Ziel/Daten"};
    const QString root = tree.root + "/Ziel";
    ::setenv("ORVANE_REGISTRY_DIR", qPrintable(tree.root), 1);
    QDir::setCurrent(root);
    RecordingDialog boxes;
    ScriptSession session(boxes, nullptr);
    TOrvaneOrdnerDialog dialog;
    configureTargetFolderDialog(dialog);
    provideFolderDialog(session.builtins(), dialog);
    const auto steps = std::make_shared<std::deque<Step>>(
        std::deque<Step>{[](QDialog& window) {
                             EXPECT_EQ(window.windowTitle(), "Zielordner wählen");
                             press(window, "speed"); // runs the next step, then shows the error box
                             press(window, "OKButton");
                         },
                         [](QDialog& window) {
                             child<QLineEdit>(window, "edit1").setText("Daten");
                             press(window, "okbutton2");
                         },
                         [](QDialog& window) { press(window, "CANCELButton"); }});
    serveSteps(dialog, steps);
    const RunOutcome outcome = session.run("void main() {\n"
                                           "  messageBox(\"[\" + showFolderDialog() + \"]\");\n"
                                           "  messageBox(\"[\" + showFolderDialog() + \"]\");\n"
                                           "}");
    ::unsetenv("ORVANE_REGISTRY_DIR");
    ASSERT_EQ(outcome, RunOutcome::mainReturned);
    EXPECT_TRUE(steps->empty());
    ASSERT_EQ(boxes.boxes().size(), 3u);
    EXPECT_EQ(boxes.boxes()[0].text, "Ordner konnte nicht angelegt werden!");
    EXPECT_EQ(boxes.boxes()[0].caption, "Fehler");
    EXPECT_EQ(boxes.boxes()[1].text, "[" + root.toStdString() + "/]");
    EXPECT_EQ(boxes.boxes()[2].text, "[]");
    EXPECT_EQ(dialog.directory(), root + "/");
}

} // namespace
} // namespace orvane::test
