// Whole-file reads with the system's error text.
#include "file_text.h"

#include "text_encoding.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace orvane {

std::optional<std::string> readWholeFile(const std::string& path, std::string& error) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        error = std::strerror(errno);
        return std::nullopt;
    }
    if (S_ISDIR(info.st_mode)) {
        error = std::strerror(EISDIR);
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = std::strerror(errno);
        return std::nullopt;
    }
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::optional<std::string> readScriptFile(const std::string& path, std::string& error) {
    const std::optional<std::string> bytes = readWholeFile(path, error);
    if (!bytes)
        return std::nullopt;
    return decodeTextFile(*bytes);
}

} // namespace orvane
