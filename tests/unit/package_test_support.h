// Helpers for the package tests: documents from text, files in a temporary folder.
#pragma once

#include "json_reader.h"
#include "package_document.h"
#include "script_error.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <ostream>
#include <string>
#include <unistd.h>

namespace orvane::test {

// A package document parsed from JSON text; the text must be valid.
inline PackageDocument packageFrom(std::string_view json) {
    LoadedJson loaded = readJson(json);
    EXPECT_TRUE(loaded.document.has_value()) << loaded.error;
    return PackageDocument(std::move(loaded.document));
}

// The German message of the ScriptError that `action` throws, or "" when it throws none.
inline std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const ScriptError& error) {
        return error.what();
    }
    return "";
}

// `text` with bytes outside printable ASCII as \xNN, for test names.
inline std::string printable(std::string_view text) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F)
            out += c;
        else
            out += {'\\', 'x', hex[byte >> 4], hex[byte & 0xF]};
    }
    return out;
}

// A path in the temporary folder, unique to this process: the dev and sanitizer
// builds may run the same test at the same time.
inline std::string tempPath(const std::string& name) {
    return ::testing::TempDir() + "orvane-" + std::to_string(::getpid()) + "-" + name;
}

// A temporary file holding `bytes`, removed again at the end of its scope.
class TempFile {
  public:
    TempFile(const std::string& name, std::string_view bytes) : m_path(tempPath(name)) {
        std::ofstream(m_path, std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    ~TempFile() { std::remove(m_path.c_str()); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::string& path() const { return m_path; }

  private:
    std::string m_path;
};

} // namespace orvane::test
