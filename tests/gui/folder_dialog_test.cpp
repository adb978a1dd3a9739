// The folder dialog, run for real: its window's geometry, confirming and cancelling,
// browsing the folder list and the drive selector, and the new-folder window.
#include "directory_list_box.h"
#include "drive_combo_box.h"
#include "folder_dialog_driver.h"
#include "label90.h"
#include "orvaneOrdnerDialog.h"
#include "recording_dialog.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>

namespace orvane::test {
namespace {

// Every test starts and ends in the same current folder, which the dialog changes.
class FolderDialog : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_temp.isValid());
        m_root = m_temp.path();
        QDir(m_root).mkpath("Programme/Alt");
        QDir(m_root).mkpath("Daten");
        m_dialog.setTitle("Zielordner wählen");
        m_dialog.setMessageDialog(&m_boxes);
        m_startFolder = QDir::currentPath();
    }
    void TearDown() override { QDir::setCurrent(m_startFolder); }

    QTemporaryDir m_temp;
    QString m_root;
    QString m_startFolder;
    RecordingDialog m_boxes;
    TOrvaneOrdnerDialog m_dialog;
};

std::map<QString, QRect> geometries(QDialog& window) {
    std::map<QString, QRect> found;
    for (const char* name :
         {"lab90", "OKButton", "CANCELButton", "bev", "driveBox", "speed", "directoryBox"}) {
        if (auto* control = window.findChild<QWidget*>(name))
            found[name] = control->geometry();
    }
    found["Lab"] = QRect(child<QLabel>(window, "Lab").pos(), QSize());
    return found;
}

// Positions come from the caption panel's initial width 17 in a client area of 400 x 300.
TEST_F(FolderDialog, LaysOutItsWindowWithAndWithoutTheNewFolderButton) {
    const std::map<QString, QRect> shared{{"OKButton", {32, 270, 75, 25}},
                                          {"CANCELButton", {112, 270, 75, 25}},
                                          {"bev", {32, 260, 353, 5}},
                                          {"directoryBox", {32, 35, 353, 180}},
                                          {"Lab", QRect(QPoint(32, 220), QSize())}};
    for (const bool allowNewDir : {true, false}) {
        SCOPED_TRACE(allowNewDir ? "new folders allowed" : "no new folders");
        m_dialog.setAllowNewDir(allowNewDir);
        std::map<QString, QRect> seen;
        QString caption;
        QString panelCaption;
        QSize clientSize;
        runDialog(m_dialog, {[&](QDialog& window) {
                      seen = geometries(window);
                      caption = window.windowTitle();
                      panelCaption = child<TLabel90>(window, "lab90").caption();
                      clientSize = window.size();
                      press(window, "CANCELButton");
                  }});
        EXPECT_EQ(clientSize, QSize(400, 300));
        EXPECT_EQ(caption, "Zielordner wählen");
        EXPECT_EQ(panelCaption, " Zielordner wählen");
        for (const auto& [name, rect] : shared)
            EXPECT_EQ(seen[name], rect) << name.toStdString();
        EXPECT_EQ(seen["lab90"].topLeft(), QPoint(0, 0));
        EXPECT_EQ(seen["lab90"].height(), 300);
        if (allowNewDir) {
            EXPECT_EQ(seen["driveBox"], QRect(32, 5, 303, 25));
            EXPECT_EQ(seen["speed"], QRect(340, 5, 45, 25));
        } else {
            EXPECT_EQ(seen["driveBox"], QRect(32, 5, 353, 25));
            EXPECT_EQ(seen.count("speed"), 0u);
        }
    }
}

TEST_F(FolderDialog, OffersTheFolderPictureAndItsTooltip) {
    const QImage picture = QPixmap(":/ORDNERBILD").toImage();
    ASSERT_EQ(picture.size(), QSize(32, 16));
    EXPECT_EQ(picture.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(picture.pixel(15, 8), qRgb(255, 255, 0));
    EXPECT_EQ(picture.pixel(3, 8), qRgb(0, 0, 0));  // left dash
    EXPECT_EQ(picture.pixel(28, 8), qRgb(0, 0, 0)); // right dash
    QString tooltip;
    QSize iconSize;
    runDialog(m_dialog, {[&](QDialog& window) {
                  tooltip = child<QToolButton>(window, "speed").toolTip();
                  iconSize = child<QToolButton>(window, "speed").iconSize();
                  press(window, "CANCELButton");
              }});
    EXPECT_EQ(tooltip, "Neuen Ordner erstellen");
    EXPECT_EQ(iconSize, QSize(32, 16));
}

struct ConfirmCase {
    const char* name;
    QString initialDir; // "<root>" stands for the test's temporary folder
    QString expected;   // "<cwd>" for the current folder at the start
};

class FolderDialogConfirm : public FolderDialog,
                            public ::testing::WithParamInterface<ConfirmCase> {};

TEST_P(FolderDialogConfirm, ReturnsTheStartFolderWithOneFinalSlash) {
    const ConfirmCase& c = GetParam();
    QDir::setCurrent(m_root + "/Daten");
    QString initial = c.initialDir;
    m_dialog.setInitialDir(initial.replace("<root>", m_root));
    m_dialog.setDirectory("/vorher/");
    EXPECT_TRUE(runDialog(m_dialog, {[](QDialog& window) { press(window, "OKButton"); }}));
    QString expected = c.expected;
    expected.replace("<root>", m_root).replace("<cwd>", m_root + "/Daten");
    EXPECT_EQ(m_dialog.directory(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    StartFolders, FolderDialogConfirm,
    ::testing::Values(ConfirmCase{"Folder", "<root>/Programme", "<root>/Programme/"},
                      ConfirmCase{"FolderWithSlash", "<root>/Programme/", "<root>/Programme/"},
                      ConfirmCase{"Root", "/", "/"}, ConfirmCase{"Empty", "", "<cwd>/"},
                      ConfirmCase{"Missing", "<root>/fehlt", "<cwd>/"},
                      ConfirmCase{"AFile", "<root>/Daten/../Programme/../fehlt.txt", "<cwd>/"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FolderDialog, EnterPressesOkayAndEscapeCancels) {
    m_dialog.setInitialDir(m_root);
    EXPECT_TRUE(runDialog(m_dialog, {[](QDialog& window) {
                              QTest::keyClick(&child<QPushButton>(window, "OKButton"),
                                              Qt::Key_Return);
                          }}));
    EXPECT_EQ(m_dialog.directory(), m_root + "/");
    m_dialog.setInitialDir(m_root + "/Daten");
    EXPECT_FALSE(
        runDialog(m_dialog, {[](QDialog& window) { QTest::keyClick(&window, Qt::Key_Escape); }}));
    EXPECT_EQ(m_dialog.directory(), m_root + "/");
}

// Browsing changes the process's current folder even when the run is cancelled.
TEST_F(FolderDialog, CancelKeepsDirectoryButNotTheCurrentFolder) {
    m_dialog.setInitialDir(m_root);
    m_dialog.setDirectory("/vorher/");
    QString shown;
    EXPECT_FALSE(runDialog(m_dialog, {[&](QDialog& window) {
                               openInList(window, m_root + "/Programme");
                               shown = labText(window);
                               press(window, "CANCELButton");
                           }}));
    EXPECT_EQ(shown, m_root + "/Programme/");
    EXPECT_EQ(m_dialog.directory(), "/vorher/");
    EXPECT_EQ(QDir::currentPath(), m_root + "/Programme");
    // A later run without InitialDir starts there.
    m_dialog.setInitialDir("");
    EXPECT_TRUE(runDialog(m_dialog, {[](QDialog& window) { press(window, "OKButton"); }}));
    EXPECT_EQ(m_dialog.directory(), m_root + "/Programme/");
}

// The list holds the path from the root down, then the sub-folders; double-click and
// Enter open a line, Enter without closing the window.
TEST_F(FolderDialog, BrowsesDownAndUpThroughTheList) {
    m_dialog.setInitialDir(m_root + "/Programme");
    QStringList lines;
    EXPECT_TRUE(runDialog(m_dialog, {[&](QDialog& window) {
                              auto& list = child<TDirectoryListBox>(window, "directoryBox");
                              for (QTreeWidgetItemIterator it(&list); *it != nullptr; ++it)
                                  lines << TDirectoryListBox::pathOf(*it);
                              openInList(window, m_root + "/Programme/Alt");
                              openInList(window, m_root);
                              list.setCurrentItem(list.itemFor(m_root + "/Daten"));
                              QTest::keyClick(&list, Qt::Key_Return);
                              EXPECT_TRUE(window.isVisible());
                              press(window, "OKButton");
                          }}));
    QStringList expected{"/"};
    for (const QString& name : m_root.split('/', Qt::SkipEmptyParts))
        expected << (expected.last() == "/" ? "" : expected.last()) + "/" + name;
    expected << m_root + "/Programme" << m_root + "/Programme/Alt";
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(m_dialog.directory(), m_root + "/Daten/");
    EXPECT_EQ(QDir::currentPath(), m_root + "/Daten");
}

// Choosing the drive that holds the list's folder keeps that folder: each drive opens at
// the folder last shown on it.
TEST_F(FolderDialog, ListsTheRootDriveFirstAndSelectsTheDriveOfTheFolder) {
    m_dialog.setInitialDir(m_root + "/Programme");
    QString driveShown;
    QString afterChoice;
    EXPECT_TRUE(runDialog(m_dialog, {[&](QDialog& window) {
                              auto& drives = child<TDriveComboBox>(window, "driveBox");
                              EXPECT_EQ(drives.itemData(0).toString(), "/");
                              driveShown = drives.drive();
                              emit drives.activated(drives.currentIndex());
                              afterChoice = labText(window);
                              press(window, "OKButton");
                          }}));
    EXPECT_TRUE(m_root.startsWith(driveShown)) << driveShown.toStdString();
    EXPECT_EQ(afterChoice, m_root + "/Programme/");
}

// Fills in the new-folder window and presses one of its buttons.
Step nameFolder(const QString& name, const char* button) {
    return [name, button](QDialog& window) {
        EXPECT_EQ(window.windowTitle(), "Einen neuen Ordner erstellen...");
        EXPECT_EQ(window.size(), QSize(640, 110));
        auto& edit = child<QLineEdit>(window, "edit1");
        EXPECT_EQ(edit.text(), "Neuer Ordner");
        QStringList labels;
        for (const QLabel* label : window.findChildren<QLabel*>())
            labels << label->text();
        EXPECT_EQ(labels, QStringList{"Name des neuen Ordners"});
        EXPECT_EQ(edit.geometry().topLeft(), QPoint(5, 5));
        EXPECT_EQ(child<QPushButton>(window, "okbutton2").geometry(), QRect(5, 80, 105, 25));
        EXPECT_EQ(child<QPushButton>(window, "cancelbutton2").geometry(), QRect(115, 80, 75, 25));
        edit.clear();
        QTest::keyClicks(&edit, name);
        press(window, button);
    };
}

TEST_F(FolderDialog, CreatesANewFolderThatOutlivesACancelledRun) {
    m_dialog.setInitialDir(m_root + "/Programme");
    QString shown;
    EXPECT_FALSE(runDialog(m_dialog, {[&](QDialog& window) {
                                          // The new-folder window runs inside this click.
                                          press(window, "speed");
                                          shown = labText(window);
                                          press(window, "CANCELButton");
                                      },
                                      nameFolder("Neuer Ordner", "okbutton2")}));
    EXPECT_EQ(shown, m_root + "/Programme/Neuer Ordner/");
    EXPECT_TRUE(QDir(m_root + "/Programme/Neuer Ordner").exists());
    EXPECT_TRUE(m_boxes.boxes().empty());
    EXPECT_TRUE(m_dialog.directory().isEmpty());
    EXPECT_EQ(QDir::currentPath(), m_root + "/Programme/Neuer Ordner");
}

struct RefusedCase {
    const char* name;
    QString folderName;
    const char* button;
    bool errorBox;
};

class FolderDialogRefused : public FolderDialog,
                            public ::testing::WithParamInterface<RefusedCase> {};

// A folder that cannot be made shows the error box and leaves the list where it was;
// cancelling the new-folder window makes nothing.
TEST_P(FolderDialogRefused, LeavesTheListWhereItWas) {
    const RefusedCase& c = GetParam();
    m_dialog.setInitialDir(m_root);
    const QStringList before = QDir(m_root).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    QString shown;
    EXPECT_TRUE(runDialog(m_dialog, {[&](QDialog& window) {
                                         press(window, "speed");
                                         shown = labText(window);
                                         press(window, "OKButton");
                                     },
                                     nameFolder(c.folderName, c.button)}));
    EXPECT_EQ(shown, m_root + "/");
    EXPECT_EQ(m_dialog.directory(), m_root + "/");
    EXPECT_EQ(QDir(m_root).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    if (c.errorBox) {
        ASSERT_EQ(m_boxes.boxes().size(), 1u);
        EXPECT_EQ(m_boxes.boxes()[0].text, "Ordner konnte nicht angelegt werden!");
        EXPECT_EQ(m_boxes.boxes()[0].caption, "Fehler");
        EXPECT_EQ(m_boxes.boxes()[0].flags, mbIconError);
    } else {
        EXPECT_TRUE(m_boxes.boxes().empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Names, FolderDialogRefused,
                         ::testing::Values(RefusedCase{"Existing", "Daten", "okbutton2", true},
                                           RefusedCase{"Empty", "", "okbutton2", true},
                                           RefusedCase{"MissingParent", "fehlt/neu", "okbutton2",
                                                       true},
                                           RefusedCase{"Cancelled", "Neu", "cancelbutton2", false}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace orvane::test
