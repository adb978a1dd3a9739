// TDirectoryListBox: the folder list of the folder dialog.
//
// It shows the path from the root down to its current folder, one level per line, and
// below that the current folder's sub-folders. Opening a line (double-click or Enter)
// makes that folder current. The current folder is the process's current folder too:
// browsing changes it, so relative paths used later start where the user last looked.
#pragma once

#include <QString>
#include <QTreeWidget>

namespace orvane {

class TDirectoryListBox : public QTreeWidget {
    Q_OBJECT
  public:
    explicit TDirectoryListBox(QWidget* parent = nullptr);

    // The current folder: absolute, with "/" between folders and no "/" at the end
    // (except the root "/").
    QString directory() const { return m_directory; }
    // Makes `path` (absolute, or relative to the current folder) the current folder and
    // the process's current folder. Returns false and changes nothing when `path` is not
    // a folder that can be entered.
    bool setDirectory(const QString& path);

    // The line that opens `path`, or nullptr when the list does not show it.
    QTreeWidgetItem* itemFor(const QString& path) const;
    // The folder a line opens.
    static QString pathOf(const QTreeWidgetItem* item);

  signals:
    // The current folder changed (by opening a line or through setDirectory).
    void directoryChanged(const QString& directory);

  protected:
    // Enter opens the selected line instead of reaching the window's default button.
    void keyPressEvent(QKeyEvent* event) override;
    // Lines are not folded: no expand marks.
    void drawBranches(QPainter* painter, const QRect& rect,
                      const QModelIndex& index) const override;

  private:
    void openItem(QTreeWidgetItem* item);
    void rebuild();
    QTreeWidgetItem* addLine(QTreeWidgetItem* parent, const QString& text, const QString& path,
                             bool open);

    QString m_directory;
};

} // namespace orvane
