// The package-name rule and the path the executable was started as.
#include "package_location.h"

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane {

namespace {

bool isExecutableFile(const std::string& path, struct stat& info) {
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

// The first executable file called `name` in the folders of `searchPath`, "" when none.
std::string findOnSearchPath(std::string_view name, std::string_view searchPath,
                             struct stat& info) {
    while (true) {
        const std::size_t colon = searchPath.find(':');
        std::string folder(searchPath.substr(0, colon));
        const std::string candidate = (folder.empty() ? "." : folder) + "/" + std::string(name);
        if (isExecutableFile(candidate, info))
            return candidate;
        if (colon == std::string_view::npos)
            return {};
        searchPath.remove_prefix(colon + 1);
    }
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

std::string packagePathForExecutable(const std::string& executablePath) {
    const std::size_t slash = executablePath.rfind('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : executablePath.substr(0, slash + 1);
    const std::string name =
        slash == std::string::npos ? executablePath : executablePath.substr(slash + 1);
    const std::size_t dot = name.find('.');
    const std::string base = dot == std::string::npos ? name + "." : name.substr(0, dot + 1);
    return folder + base + "ovsp";
}

bool packageFileExists(const std::string& path) noexcept {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string absolutePath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

std::string startedExecutablePath(std::string_view argv0, std::string_view searchPath,
                                  const std::string& self) {
    if (argv0.find('/') != std::string_view::npos)
        return absolutePath(std::string(argv0));
    struct stat found {};
    struct stat ran {};
    if (!argv0.empty() && ::stat(self.c_str(), &ran) == 0) {
        const std::string candidate = findOnSearchPath(argv0, searchPath, found);
        if (!candidate.empty() && sameFile(found, ran))
            return absolutePath(candidate);
    }
    std::error_code error;
    const std::filesystem::path target = std::filesystem::read_symlink(self, error);
    return error ? self : target.string();
}

} // namespace orvane
