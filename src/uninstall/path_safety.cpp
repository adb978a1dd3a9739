// Protected folders and link checks for uninstalling.
#include "path_safety.h"

#include "shell.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>

namespace orvane {

namespace {

// The top-level folders of a Linux system and the folders programs are installed beside.
constexpr std::array<std::string_view, 27> kSystemFolders = {
    "/",        "/bin",       "/boot",      "/dev", "/etc",     "/home",         "/lib",
    "/lib32",   "/lib64",     "/media",     "/mnt", "/opt",     "/proc",         "/root",
    "/run",     "/sbin",      "/srv",       "/sys", "/tmp",     "/usr",          "/usr/bin",
    "/usr/lib", "/usr/local", "/usr/share", "/var", "/var/lib", "/usr/local/bin"};

std::string withoutTrailingSlashes(std::string_view path) {
    while (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    return std::string(path);
}

void addUserFolders(std::vector<std::string>& folders) {
    ::setpwent();
    while (const passwd* entry = ::getpwent()) {
        if (entry->pw_dir != nullptr && entry->pw_dir[0] == '/')
            folders.push_back(withoutTrailingSlashes(entry->pw_dir));
    }
    ::endpwent();
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        folders.push_back(withoutTrailingSlashes(home));
        for (const char* below : {"/.local", "/.local/share", "/.config"})
            folders.push_back(withoutTrailingSlashes(home) + below);
    }
    for (const char* variable : {"XDG_DATA_HOME", "XDG_CONFIG_HOME"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && value[0] == '/')
            folders.push_back(withoutTrailingSlashes(value));
    }
}

bool hasDotComponent(std::string_view path) {
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        const std::string_view part = path.substr(start, end - start);
        if (part == "." || part == "..")
            return true;
        start = end + 1;
    }
    return false;
}

bool isSymbolicLink(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

} // namespace

std::vector<std::string> protectedFolders(Shell& shell) {
    std::vector<std::string> folders(kSystemFolders.begin(), kSystemFolders.end());
    addUserFolders(folders);
    for (const ShellFolder folder :
         {ShellFolder::Desktop, ShellFolder::Documents, ShellFolder::Programs}) {
        const std::string path = shell.folderPath(folder);
        if (!path.empty())
            folders.push_back(withoutTrailingSlashes(path));
    }
    return folders;
}

std::string refusalReason(std::string_view path, const std::vector<std::string>& protectedFolders) {
    if (!path.starts_with('/'))
        return "kein absoluter Pfad";
    if (hasDotComponent(path))
        return "enthält \".\" oder \"..\"";
    const std::string bare = withoutTrailingSlashes(path);
    const auto same = [&](const std::string& folder) { return folder == bare; };
    if (bare == "/" || std::any_of(protectedFolders.begin(), protectedFolders.end(), same))
        return "geschützter Ordner";
    return {};
}

bool passesThroughInstalledLink(std::string_view path,
                                const std::vector<std::string>& installedFolders) {
    // Every folder on the way that lies inside an installed folder, or is one.
    for (std::size_t slash = path.find('/', 1); slash != std::string_view::npos;
         slash = path.find('/', slash + 1)) {
        const std::string_view folder = path.substr(0, slash + 1);
        const auto inside = [&](const std::string& installed) {
            return folder.starts_with(installed);
        };
        if (std::any_of(installedFolders.begin(), installedFolders.end(), inside) &&
            isSymbolicLink(std::string(path.substr(0, slash))))
            return true;
    }
    return false;
}

} // namespace orvane
