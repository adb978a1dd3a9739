// TDriveComboBox: the drive selector of the folder dialog, listing the mounted volumes.
#pragma once

#include <QComboBox>
#include <QHash>
#include <QString>

namespace orvane {

class TDirectoryListBox;

// Lists the mounted volumes, "/" first. Linked to a folder list, choosing a volume opens
// the folder last shown on it (its root at first), and every change of the list's folder
// selects the volume that holds it.
class TDriveComboBox : public QComboBox {
    Q_OBJECT
  public:
    explicit TDriveComboBox(QWidget* parent = nullptr);

    // Reads the mounted volumes again.
    void refresh();
    void setDirList(TDirectoryListBox* list);
    // Root of the selected volume.
    QString drive() const { return currentData().toString(); }

  private:
    void chooseDrive(int index);
    void followFolder(const QString& folder);
    QString volumeOf(const QString& folder) const;

    TDirectoryListBox* m_dirList = nullptr;
    QHash<QString, QString> m_lastFolder; // volume root -> folder last shown on it
};

} // namespace orvane
