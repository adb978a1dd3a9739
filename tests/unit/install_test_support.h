// Helpers for the installation tests: file contents and modes, Base64 text, packages, and
// a file-size limit that makes writes fail as on a full disk.
#pragma once

#include "registry_test_support.h" // readFile, TempFolderTest, TempRegistryTest
#include "script_error.h"

#include <csignal>
#include <cstdint>
#include <set>
#include <sys/resource.h>
#include <sys/stat.h>

namespace orvane::test {

inline void writeFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

inline unsigned fileMode(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// The names in `folder`, sorted (a temporary file left behind shows up here).
inline std::set<std::string> entriesOf(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

// Base64 of `bytes`, wrapped into lines of 76 characters as encoders write it.
inline std::string base64Lines(const std::string& bytes) {
    static const char* alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (std::size_t k = 0; k < bytes.size(); k += 3) {
        std::uint32_t group = static_cast<unsigned char>(bytes[k]) << 16;
        if (k + 1 < bytes.size())
            group |= static_cast<unsigned char>(bytes[k + 1]) << 8;
        if (k + 2 < bytes.size())
            group |= static_cast<unsigned char>(bytes[k + 2]);
        text += alphabet[group >> 18];
        text += alphabet[(group >> 12) & 63];
        text += k + 1 < bytes.size() ? alphabet[(group >> 6) & 63] : '=';
        text += k + 2 < bytes.size() ? alphabet[group & 63] : '=';
        if (text.size() % 77 == 76)
            text += '\n';
    }
    return text;
}

// The message of the ScriptError that `action` raises, "no error" when it raises none.
template <class Action> std::string scriptErrorOf(Action&& action) {
    try {
        action();
    } catch (const ScriptError& e) {
        return e.what();
    }
    return "no error";
}

// The message for a file that cannot be written.
inline std::string cannotCreate(const std::string& path, const std::string& reason) {
    return "Datei " + path + " kann nicht erstellt werden. " + reason;
}

// A package whose binfiles[k].bin hold the Base64 `texts` in order.
inline std::string binfilesJson(const std::vector<std::string>& texts) {
    std::string json = R"({"binfiles": [)";
    for (std::size_t k = 0; k < texts.size(); ++k) {
        json += k > 0 ? R"(, {"bin": ")" : R"({"bin": ")";
        for (const char c : texts[k])
            json += c == '\n' ? std::string("\\n") : std::string(1, c);
        json += "\"}";
    }
    return json + "]}";
}

// `size` bytes of a repeating pattern that no piece boundary can hide a shift in.
inline std::string patternBytes(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t k = 0; k < size; ++k)
        bytes[k] = static_cast<char>((k * 7 + k / 251) & 0xFF);
    return bytes;
}

// Lets this process write files of at most `bytes` bytes while it lives: a longer write fails
// with EFBIG, as one on a full disk fails with ENOSPC, without filling a disk.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, m_old.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

} // namespace orvane::test
