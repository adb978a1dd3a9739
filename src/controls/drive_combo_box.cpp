// The drive selector: mounted volumes and the link to the folder list.
#include "drive_combo_box.h"

#include "directory_list_box.h"

#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>

namespace orvane {

namespace {

struct Volume {
    QString root;
    QString text;
};

// Mounted folders only (containers also mount single files), each root once, "/" first.
std::vector<Volume> mountedFolders() {
    std::vector<Volume> volumes{{QStringLiteral("/"), QStringLiteral("/")}};
    for (const QStorageInfo& storage : QStorageInfo::mountedVolumes()) {
        const QString root = storage.rootPath();
        const bool known = std::any_of(volumes.begin(), volumes.end(),
                                       [&](const Volume& v) { return v.root == root; });
        if (known || !storage.isValid() || !storage.isReady() || !QFileInfo(root).isDir())
            continue;
        const QString name = storage.name();
        volumes.push_back({root, name.isEmpty() ? root : root + " [" + name + "]"});
    }
    std::sort(volumes.begin() + 1, volumes.end(),
              [](const Volume& a, const Volume& b) { return a.root < b.root; });
    return volumes;
}

bool isInside(const QString& folder, const QString& root) {
    if (root == QLatin1String("/"))
        return folder.startsWith('/');
    return folder == root || folder.startsWith(root + '/');
}

} // namespace

TDriveComboBox::TDriveComboBox(QWidget* parent) : QComboBox(parent) {
    refresh();
    connect(this, &QComboBox::activated, this, &TDriveComboBox::chooseDrive);
}

void TDriveComboBox::refresh() {
    clear();
    for (const Volume& volume : mountedFolders())
        addItem(volume.text, volume.root);
}

void TDriveComboBox::setDirList(TDirectoryListBox* list) {
    m_dirList = list;
    connect(list, &TDirectoryListBox::directoryChanged, this, &TDriveComboBox::followFolder);
    followFolder(list->directory());
}

// A volume that cannot be entered leaves the list where it was, and the selection with it.
void TDriveComboBox::chooseDrive(int index) {
    if (m_dirList == nullptr)
        return;
    const QString root = itemData(index).toString();
    if (!m_dirList->setDirectory(m_lastFolder.value(root, root)) && !m_dirList->setDirectory(root))
        followFolder(m_dirList->directory());
}

QString TDriveComboBox::volumeOf(const QString& folder) const {
    QString best = QStringLiteral("/");
    for (int k = 0; k < count(); ++k) {
        const QString root = itemData(k).toString();
        if (root.size() > best.size() && isInside(folder, root))
            best = root;
    }
    return best;
}

void TDriveComboBox::followFolder(const QString& folder) {
    const QString root = volumeOf(folder);
    m_lastFolder.insert(root, folder);
    setCurrentIndex(findData(root));
}

} // namespace orvane
