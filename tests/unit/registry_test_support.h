// Helpers for registry and uninstall tests: a temporary store folder and reading back.
#pragma once

#include "registry_store.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace orvane::test {

// A fresh folder set as ORVANE_REGISTRY_DIR for one test, removed afterwards.
class TempRegistryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "orvane-registry-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        ::setenv("ORVANE_REGISTRY_DIR", m_dir.c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("ORVANE_REGISTRY_DIR");
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }
    const std::string& dir() const { return m_dir; }
    std::string path(const std::string& name) const { return m_dir + "/" + name; }

  private:
    std::string m_dir;
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

} // namespace orvane::test
