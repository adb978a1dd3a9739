// showFolderDialog in a whole script run: the chosen folder, "" after cancelling, and the
// new-folder error box reaching the session's message dialog.
#include "folder_dialog_builtin.h"
#include "folder_dialog_driver.h"
#include "recording_dialog.h"
#include "script_session.h"

#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

namespace orvane::test {
namespace {

class FolderBuiltin : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_temp.isValid());
        QDir(m_temp.path()).mkpath("Ziel/Daten");
        m_root = m_temp.path() + "/Ziel";
        ::setenv("ORVANE_REGISTRY_DIR", qPrintable(m_temp.path()), 1);
        m_startFolder = QDir::currentPath();
        QDir::setCurrent(m_root);
    }
    void TearDown() override {
        QDir::setCurrent(m_startFolder);
        ::unsetenv("ORVANE_REGISTRY_DIR");
    }

    QTemporaryDir m_temp;
    QString m_root;
    QString m_startFolder;
};

TEST_F(FolderBuiltin, ReturnsTheChosenFolderOrNothingWhenCancelled) {
    RecordingDialog boxes;
    ScriptSession session(boxes, nullptr);
    TOrvaneOrdnerDialog dialog;
    configureTargetFolderDialog(dialog);
    provideFolderDialog(session.builtins(), dialog);
    QString title;
    const auto steps = std::make_shared<std::deque<Step>>(
        std::deque<Step>{[&](QDialog& window) {
                             title = window.windowTitle();
                             press(window, "speed"); // runs the next step, then shows the error box
                             press(window, "OKButton");
                         },
                         [](QDialog& window) {
                             auto& edit = *window.findChild<QLineEdit*>("edit1");
                             edit.setText("Daten");
                             press(window, "okbutton2");
                         },
                         [](QDialog& window) { press(window, "CANCELButton"); }});
    QObject::connect(&dialog, &TOrvaneOrdnerDialog::waitingForUser, [steps](QDialog* window) {
        if (steps->empty()) {
            ADD_FAILURE() << "a window waits, but no step is left";
            window->reject();
            return;
        }
        Step step = std::move(steps->front());
        steps->pop_front();
        step(*window);
    });
    ASSERT_EQ(session.run("void main() {\n"
                          "  messageBox(\"[\" + showFolderDialog() + \"]\");\n"
                          "  messageBox(\"[\" + showFolderDialog() + \"]\");\n"
                          "}"),
              RunOutcome::mainReturned);
    EXPECT_TRUE(steps->empty());
    EXPECT_EQ(title, "Zielordner wählen");
    ASSERT_EQ(boxes.boxes().size(), 3u);
    EXPECT_EQ(boxes.boxes()[0].text, "Ordner konnte nicht angelegt werden!");
    EXPECT_EQ(boxes.boxes()[0].caption, "Fehler");
    EXPECT_EQ(boxes.boxes()[1].text, "[" + m_root.toStdString() + "/]");
    EXPECT_EQ(boxes.boxes()[2].text, "[]");
    EXPECT_EQ(dialog.directory(), m_root + "/");
}

} // namespace
} // namespace orvane::test
