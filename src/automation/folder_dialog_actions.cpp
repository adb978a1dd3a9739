// The folder dialog's scenario actions, through mouse and key events on its controls.
#include "folder_dialog_actions.h"

#include "directory_list_box.h"

#include <QAbstractButton>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>

namespace orvane {

namespace {

// Object names the dialog gives its two windows.
constexpr const char* kMainWindow = "f";
constexpr const char* kNewFolderWindow = "f2";

bool isBelow(const QString& path, const QString& folder) {
    return path == folder || folder == QLatin1String("/") || path.startsWith(folder + '/');
}

// The line of the folder list that leads furthest towards `target`: an ancestor of the
// current folder, or one of its sub-folders.
QTreeWidgetItem* stepTowards(const TDirectoryListBox& list, const QString& target) {
    QTreeWidgetItem* best = nullptr;
    for (QTreeWidgetItemIterator it(const_cast<TDirectoryListBox*>(&list)); *it != nullptr; ++it) {
        const QString path = TDirectoryListBox::pathOf(*it);
        if (isBelow(target, path) &&
            (best == nullptr || path.size() > TDirectoryListBox::pathOf(best).size()))
            best = *it;
    }
    return best;
}

void doubleClick(TDirectoryListBox& list, QTreeWidgetItem* item) {
    list.scrollToItem(item);
    const QPoint at = list.visualItemRect(item).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, at);
}

// Types `text` key by key; QTest::keyClicks would lose characters outside Latin-1.
void typeText(QWidget* widget, const QString& text) {
    for (const uint codePoint : text.toUcs4()) {
        const QString character =
            QString::fromUcs4(reinterpret_cast<const char32_t*>(&codePoint), 1);
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, character, Qt::NoModifier);
    }
}

bool press(QDialog& window, const char* button) {
    auto* found = window.findChild<QAbstractButton*>(button);
    if (found == nullptr)
        return false;
    QTest::mouseClick(found, Qt::LeftButton);
    return true;
}

} // namespace

bool FolderDialogActions::handles(std::string_view verb) {
    return verb == "folder" || verb == "cancel" || verb == "newfolder";
}

bool FolderDialogActions::continuePending(QDialog& window) {
    if (!m_pendingName || window.objectName() != kNewFolderWindow)
        return false;
    auto* edit = window.findChild<QLineEdit*>("edit1");
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    typeText(edit, *m_pendingName);
    m_pendingName.reset();
    press(window, "okbutton2");
    return true;
}

std::string FolderDialogActions::perform(QDialog& window, std::string_view verb,
                                         const std::string& arguments) {
    if (window.objectName() != kMainWindow)
        return "'" + std::string(verb) + "' does not fit the folder dialog's new-folder window";
    if (verb == "folder")
        return openFolder(window, arguments);
    if (verb == "newfolder")
        return newFolder(window, arguments);
    if (verb == "cancel") {
        press(window, "CANCELButton");
        return {};
    }
    return "'" + std::string(verb) + "' is not an action of the folder dialog";
}

// Walks the folder list one double-click at a time: up to the nearest common folder,
// then down to the target.
std::string FolderDialogActions::openFolder(QDialog& window, const std::string& path) {
    if (path.empty())
        return "'folder' needs the path of a folder";
    const QString target =
        QDir::cleanPath(QDir::current().absoluteFilePath(QString::fromStdString(path)));
    if (!QFileInfo(target).isDir())
        return "no folder " + target.toStdString();
    auto& list = *window.findChild<TDirectoryListBox*>("directoryBox");
    while (list.directory() != target) {
        const QString before = list.directory();
        QTreeWidgetItem* step = stepTowards(list, target);
        if (step == nullptr || TDirectoryListBox::pathOf(step) == before)
            return "the folder list cannot open " + target.toStdString();
        doubleClick(list, step);
        if (list.directory() == before)
            return "the folder list cannot open " + TDirectoryListBox::pathOf(step).toStdString();
    }
    press(window, "OKButton");
    return {};
}

std::string FolderDialogActions::newFolder(QDialog& window, const std::string& name) {
    m_pendingName = QString::fromStdString(name);
    const bool pressed = press(window, "speed");
    const bool finished = !m_pendingName;
    m_pendingName.reset();
    if (!pressed)
        return "the folder dialog offers no new-folder button";
    if (!finished)
        return "the new-folder window did not wait for the name";
    return {};
}

} // namespace orvane
