// Helpers for the package tests: documents from text, files in a temporary folder.
#pragma once

#include "json_reader.h"
#include "package_document.h"
#include "script_error.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>

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

// Writes `bytes` to a file of the test's temporary folder and returns its path.
inline std::string writeTempFile(const std::string& name, std::string_view bytes) {
    const std::string path = ::testing::TempDir() + name;
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<long>(bytes.size()));
    return path;
}

} // namespace orvane::test
