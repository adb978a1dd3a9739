// LinuxShell on Qt Core.
#include "linux_shell.h"

#include "desktop_entry.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <cctype>

#include <sys/stat.h>
#include <unistd.h>

namespace orvane {

namespace {

QStandardPaths::StandardLocation locationOf(ShellFolder folder) {
    switch (folder) {
    case ShellFolder::Programs:
        return QStandardPaths::ApplicationsLocation;
    case ShellFolder::Desktop:
        return QStandardPaths::DesktopLocation;
    case ShellFolder::Documents:
        break;
    }
    return QStandardPaths::DocumentsLocation;
}

bool isExecutableFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

QString programFor(const std::string& file) {
    if (file.find('/') != std::string::npos)
        return QString::fromStdString(file);
    return QStandardPaths::findExecutable(QString::fromStdString(file));
}

// An address with a scheme ("https:", "mailto:"); a single letter before ":" is a drive.
bool isAddress(const std::string& file) {
    const std::size_t colon = file.find(':');
    if (colon == std::string::npos || colon < 2 ||
        !std::isalpha(static_cast<unsigned char>(file[0])))
        return false;
    for (std::size_t k = 1; k < colon; ++k) {
        const char c = file[k];
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.')
            return false;
    }
    return true;
}

bool exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

} // namespace

OpenAction openActionFor(const std::string& file) {
    if (file.empty())
        return OpenAction::ignore;
    const bool bareName = file.find('/') == std::string::npos;
    if (bareName ? !programFor(file).isEmpty() : isExecutableFile(file))
        return OpenAction::startProgram;
    return exists(file) || isAddress(file) ? OpenAction::openWithDefault : OpenAction::ignore;
}

std::string fileInFolder(const std::string& file, const std::string& directory) {
    if (file.empty() || file.front() == '/' || directory.empty() || isAddress(file))
        return file;
    const std::string inFolder = directory + (directory.back() == '/' ? "" : "/") + file;
    return exists(inFolder) ? inFolder : file;
}

std::string LinuxShell::folderPath(ShellFolder folder) {
    // Cleaned, since the XDG variables may end in "/" or hold "//" and "..".
    return QDir::cleanPath(QStandardPaths::writableLocation(locationOf(folder))).toStdString();
}

bool LinuxShell::saveLink(const ShellLink& link, std::string& reason) {
    return writeDesktopEntry(link, reason);
}

void LinuxShell::open(const std::string& given, const std::string& parameters,
                      const std::string& directory) {
    const QString folder = QString::fromStdString(directory);
    const std::string file = fileInFolder(given, directory);
    switch (openActionFor(file)) {
    case OpenAction::startProgram:
        QProcess::startDetached(programFor(file),
                                QProcess::splitCommand(QString::fromStdString(parameters)), folder);
        break;
    case OpenAction::openWithDefault:
        QProcess::startDetached("xdg-open", {QString::fromStdString(file)}, folder);
        break;
    case OpenAction::ignore:
        break;
    }
}

} // namespace orvane
