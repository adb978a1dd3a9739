// The folder dialog, run for real: its window's geometry, confirming and cancelling,
// browsing the folder list and the drive selector, and the new-folder window.
#include "drive_combo_box.h"
#include "folder_dialog_driver.h"
#include "label90.h"
#include "recording_dialog.h"

#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <utility>

namespace orvane::test {
namespace {

class FolderDialog : public ::testing::Test {
  protected:
    FolderDialog() {
        m_dialog.setTitle("Zielordner wählen");
        m_dialog.setMessageDialog(&m_boxes);
    }

    FolderTree m_tree{"Programme/Alt", "Daten"};
    const QString m_root = m_tree.root;
    RecordingDialog m_boxes;
    TOrvaneOrdnerDialog m_dialog;
};

Step pressOk() {
    return [](QDialog& window) { press(window, "OKButton"); };
}

// Positions come from the caption panel's initial width 17 in a client area of 400 x 300.
TEST_F(FolderDialog, LaysOutItsWindowWithAndWithoutTheNewFolderButton) {
    const std::pair<const char*, QRect> shared[] = {{"OKButton", {32, 270, 75, 25}},
                                                    {"CANCELButton", {112, 270, 75, 25}},
                                                    {"bev", {32, 260, 353, 5}},
                                                    {"directoryBox", {32, 35, 353, 180}}};
    for (const bool allowNewDir : {true, false}) {
        SCOPED_TRACE(allowNewDir ? "new folders allowed" : "no new folders");
        m_dialog.setAllowNewDir(allowNewDir);
        runDialog(m_dialog, {[&](QDialog& window) {
                      EXPECT_EQ(window.size(), QSize(400, 300));
                      EXPECT_EQ(window.windowTitle(), "Zielordner wählen");
                      auto& panel = child<TLabel90>(window, "lab90");
                      EXPECT_EQ(panel.caption(), " Zielordner wählen");
                      EXPECT_EQ(panel.pos(), QPoint(0, 0));
                      EXPECT_EQ(panel.height(), 300);
                      for (const auto& [name, rect] : shared)
                          EXPECT_EQ(child<QWidget>(window, name).geometry(), rect) << name;
                      EXPECT_EQ(child<QLabel>(window, "Lab").pos(), QPoint(32, 220));
                      const QRect drives = child<QWidget>(window, "driveBox").geometry();
                      auto* speed = window.findChild<QToolButton*>("speed");
                      if (allowNewDir) {
                          EXPECT_EQ(drives, QRect(32, 5, 303, 25));
                          ASSERT_NE(speed, nullptr);
                          EXPECT_EQ(speed->geometry(), QRect(340, 5, 45, 25));
                          EXPECT_EQ(speed->toolTip(), "Neuen Ordner erstellen");
                          EXPECT_EQ(speed->iconSize(), QSize(32, 16));
                      } else {
                          EXPECT_EQ(drives, QRect(32, 5, 353, 25));
                          EXPECT_EQ(speed, nullptr);
                      }
                      press(window, "CANCELButton");
                  }});
    }
}

TEST_F(FolderDialog, OffersTheFolderPicture) {
    const QImage picture = QPixmap(":/ORDNERBILD").toImage();
    ASSERT_EQ(picture.size(), QSize(32, 16));
    EXPECT_EQ(picture.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(picture.pixel(15, 8), qRgb(255, 255, 0));
    EXPECT_EQ(picture.pixel(3, 8), qRgb(0, 0, 0));  // left dash
    EXPECT_EQ(picture.pixel(28, 8), qRgb(0, 0, 0)); // right dash
}

// An InitialDir that is empty or no folder starts at the current folder.
TEST_F(FolderDialog, ConfirmingReturnsTheStartFolderWithOneFinalSlash) {
    const QString cwd = m_root + "/Daten/";
    const std::pair<QString, QString> cases[] = {
        {m_root + "/Programme", m_root + "/Programme/"},
        {m_root + "/Programme/", m_root + "/Programme/"},
        {"/", "/"},
        {"", cwd},
        {m_root + "/fehlt", cwd},
        {m_root + "/Daten/../Programme/../fehlt.txt", cwd}};
    for (const auto& [initial, expected] : cases) {
        SCOPED_TRACE(initial.toStdString());
        QDir::setCurrent(cwd);
        m_dialog.setInitialDir(initial);
        m_dialog.setDirectory("/vorher/");
        EXPECT_TRUE(runDialog(m_dialog, {pressOk()}));
        EXPECT_EQ(m_dialog.directory(), expected);
    }
}

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
    EXPECT_FALSE(runDialog(m_dialog, {[&](QDialog& window) {
                               openInList(window, m_root + "/Programme");
                               EXPECT_EQ(labText(window), m_root + "/Programme/");
                               press(window, "CANCELButton");
                           }}));
    EXPECT_EQ(m_dialog.directory(), "/vorher/");
    EXPECT_EQ(QDir::currentPath(), m_root + "/Programme");
    // A later run without InitialDir starts there.
    m_dialog.setInitialDir("");
    EXPECT_TRUE(runDialog(m_dialog, {pressOk()}));
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
    EXPECT_TRUE(runDialog(m_dialog, {[&](QDialog& window) {
                              auto& drives = child<TDriveComboBox>(window, "driveBox");
                              EXPECT_EQ(drives.itemData(0).toString(), "/");
                              EXPECT_TRUE(m_root.startsWith(drives.drive()))
                                  << drives.drive().toStdString();
                              emit drives.activated(drives.currentIndex());
                              EXPECT_EQ(labText(window), m_root + "/Programme/");
                              press(window, "OKButton");
                          }}));
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

// The new-folder window runs inside the click on "speed"; the label shows its outcome.
Step makeFolderThen(const QString& shown, const char* button) {
    return [shown, button](QDialog& window) {
        press(window, "speed");
        EXPECT_EQ(labText(window), shown);
        press(window, button);
    };
}

TEST_F(FolderDialog, CreatesANewFolderThatOutlivesACancelledRun) {
    m_dialog.setInitialDir(m_root + "/Programme");
    EXPECT_FALSE(
        runDialog(m_dialog, {makeFolderThen(m_root + "/Programme/Neuer Ordner/", "CANCELButton"),
                             nameFolder("Neuer Ordner", "okbutton2")}));
    EXPECT_TRUE(QDir(m_root + "/Programme/Neuer Ordner").exists());
    EXPECT_TRUE(m_boxes.boxes().empty());
    EXPECT_TRUE(m_dialog.directory().isEmpty());
    EXPECT_EQ(QDir::currentPath(), m_root + "/Programme/Neuer Ordner");
}

// A folder that cannot be made shows the error box and leaves the list where it was;
// cancelling the new-folder window makes nothing.
TEST_F(FolderDialog, AFolderNotMadeLeavesTheListWhereItWas) {
    const struct {
        QString name;
        const char* button;
        bool errorBox;
    } cases[] = {{"Daten", "okbutton2", true},
                 {"", "okbutton2", true},
                 {"fehlt/neu", "okbutton2", true},
                 {"Neu", "cancelbutton2", false}};
    const auto entries = [&] {
        return QDir(m_root).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    };
    const QStringList before = entries();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.toStdString() + " " + c.button);
        m_boxes.clear();
        m_dialog.setInitialDir(m_root);
        EXPECT_TRUE(runDialog(
            m_dialog, {makeFolderThen(m_root + "/", "OKButton"), nameFolder(c.name, c.button)}));
        EXPECT_EQ(m_dialog.directory(), m_root + "/");
        EXPECT_EQ(entries(), before);
        if (!c.errorBox) {
            EXPECT_TRUE(m_boxes.boxes().empty());
            continue;
        }
        ASSERT_EQ(m_boxes.boxes().size(), 1u);
        EXPECT_EQ(m_boxes.boxes()[0].text, "Ordner konnte nicht angelegt werden!");
        EXPECT_EQ(m_boxes.boxes()[0].caption, "Fehler");
        EXPECT_EQ(m_boxes.boxes()[0].flags, mbIconError);
    }
}

} // namespace
} // namespace orvane::test
