// Helpers for registry and uninstall tests: temporary folders, environment variables, reading back.
#pragma once

#include "registry_store.h"
#include "uninstall_list.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace orvane::test {

namespace fs = std::filesystem;

// A fresh folder for one test, removed afterwards, and environment variables restored afterwards.
class TempFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "orvane-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
    }
    void TearDown() override {
        for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it)
            assign(it->first, it->second);
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
    }
    const std::string& dir() const { return m_dir; }
    std::string path(const std::string& name) const { return m_dir + "/" + name; }

    // Sets (or with nullopt removes) `name` until the test ends.
    void setVariable(const std::string& name, const std::optional<std::string>& value) {
        const char* old = std::getenv(name.c_str());
        m_saved.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        assign(name, value);
    }

  private:
    static void assign(const std::string& name, const std::optional<std::string>& value) {
        value ? ::setenv(name.c_str(), value->c_str(), 1) : ::unsetenv(name.c_str());
    }

    std::string m_dir;
    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

// A fresh folder set as ORVANE_REGISTRY_DIR for one test.
class TempRegistryTest : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        setVariable("ORVANE_REGISTRY_DIR", dir());
    }
};

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

// The value's data, nullopt when missing, or "error: " and the reason when the store failed.
inline std::optional<std::string> readValue(RegistryStore& store, Hive hive, std::string_view key,
                                            std::string_view name) {
    auto result = store.readString(hive, key, name);
    return result.ok() ? *result.value : "error: " + result.error;
}

// The uninstall list's lines below its header, with `dir` at a line's start written as "T".
inline std::vector<std::string> entriesBelowHeader(const UninstallList& list,
                                                   const std::string& dir = "") {
    std::vector<std::string> lines(list.lines().begin() + kUninstallHeaderLines.size(),
                                   list.lines().end());
    for (std::string& line : lines)
        if (!dir.empty() && line.starts_with(dir))
            line.replace(0, dir.size(), "T");
    return lines;
}

} // namespace orvane::test
