// What the whole-run tests share: reading files whole and running shell commands.
#pragma once

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>

namespace orvane::e2e {

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

// `text` with every occurrence of `path` (a test's folder) written as `name`, so expected
// output reads the same wherever the test runs.
inline std::string withPathNamed(std::string text, const std::string& path,
                                 const std::string& name) {
    for (auto at = text.find(path); at != std::string::npos; at = text.find(path, at + name.size()))
        text.replace(at, path.size(), name);
    return text;
}

struct CommandResult {
    int exitCode = -1;
    std::string out;
};

// Runs `command` through the shell; its stdout and exit code (-1 when it did not exit).
inline CommandResult runCommand(const std::string& command) {
    CommandResult result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return result;
    std::array<char, 4096> buffer{};
    for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
        result.out.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

} // namespace orvane::e2e
