// The folder list: the path down to the current folder, then its sub-folders.
#include "directory_list_box.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStyle>

namespace orvane {

namespace {

constexpr int kPathRole = Qt::UserRole;
// Pixels each level is shifted right, enough to show the nesting at a glance.
constexpr int kIndentation = 12;

QString joinPath(const QString& folder, const QString& name) {
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

QStringList subFolders(const QString& folder) {
    return QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot,
                                  QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
}

} // namespace

TDirectoryListBox::TDirectoryListBox(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setIndentation(kIndentation);
    connect(this, &QTreeWidget::itemDoubleClicked, this, &TDirectoryListBox::openItem);
    m_directory = QDir::currentPath();
    if (m_directory.isEmpty())
        m_directory = QStringLiteral("/");
    rebuild();
}

bool TDirectoryListBox::setDirectory(const QString& path) {
    const QString absolute = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    if (!QFileInfo(absolute).isDir() || !QDir::setCurrent(absolute))
        return false;
    m_directory = absolute;
    rebuild();
    emit directoryChanged(m_directory);
    return true;
}

QString TDirectoryListBox::pathOf(const QTreeWidgetItem* item) {
    return item != nullptr ? item->data(0, kPathRole).toString() : QString();
}

QTreeWidgetItem* TDirectoryListBox::itemFor(const QString& path) const {
    for (QTreeWidgetItemIterator it(const_cast<TDirectoryListBox*>(this)); *it != nullptr; ++it) {
        if (pathOf(*it) == path)
            return *it;
    }
    return nullptr;
}

void TDirectoryListBox::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        currentItem() != nullptr) {
        openItem(currentItem());
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void TDirectoryListBox::drawBranches(QPainter* /*painter*/, const QRect& /*rect*/,
                                     const QModelIndex& /*index*/) const {}

// A folder that vanished or may not be entered leaves the list where it was.
void TDirectoryListBox::openItem(QTreeWidgetItem* item) {
    if (item != nullptr)
        setDirectory(pathOf(item));
}

QTreeWidgetItem* TDirectoryListBox::addLine(QTreeWidgetItem* parent, const QString& text,
                                            const QString& path, bool open) {
    auto* line = parent != nullptr ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    line->setText(0, text);
    line->setData(0, kPathRole, path);
    line->setIcon(0,
                  style()->standardIcon(open ? QStyle::SP_DirOpenIcon : QStyle::SP_DirClosedIcon));
    return line;
}

void TDirectoryListBox::rebuild() {
    clear();
    QString path = QStringLiteral("/");
    QTreeWidgetItem* current = addLine(nullptr, path, path, true);
    for (const QString& name : m_directory.split('/', Qt::SkipEmptyParts)) {
        path = joinPath(path, name);
        current = addLine(current, name, path, true);
    }
    for (const QString& name : subFolders(m_directory))
        addLine(current, name, joinPath(m_directory, name), false);
    expandAll();
    setCurrentItem(current);
    // The path down from the root stays in sight as far as the current line allows.
    scrollToTop();
    scrollToItem(current);
}

} // namespace orvane
