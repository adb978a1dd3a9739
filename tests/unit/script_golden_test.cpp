// Runs every script under tests/scripts and compares its transcript with the .out file beside it.
//
// NAME.ovs is the script, NAME.out the expected transcript (one JSON line per message
// box, installed file, shortcut and registry write, then the uninstall list's lines when
// the script added any, then the exit line), an optional NAME.answers holds "yes" or "no"
// per line for the Yes/No boxes in order, and an optional NAME.json is the install
// package the script reads (its "programfile" is not used).
//
// Each script runs in a fresh sandbox folder that is its HOME, XDG_DATA_HOME,
// XDG_CONFIG_HOME and registry folder, with the program-files folder "$SANDBOX/Programme";
// the transcript writes the sandbox's path as "$SANDBOX".
#include "json_output.h"
#include "json_reader.h"
#include "package_lookup.h"
#include "recording_dialog.h"
#include "script_session.h"
#include "transcript.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <utility>
#include <vector>

namespace orvane::test {
namespace {

namespace fs = std::filesystem;

const fs::path kScriptsRoot = ORVANE_SCRIPTS_DIR;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::vector<std::string> scriptNames() {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(kScriptsRoot)) {
        if (entry.path().extension() == ".ovs")
            names.push_back(fs::relative(entry.path(), kScriptsRoot).replace_extension().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A temporary folder holding everything a script may create, set as its home and data folders.
class Sandbox {
  public:
    Sandbox() {
        std::string pattern = (fs::temp_directory_path() / "orvane-golden-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot create a sandbox folder");
        m_path = pattern;
        for (const char* folder : {"home", "data", "config", "registry"})
            fs::create_directory(m_path / folder);
        setVariable("HOME", "home");
        setVariable("XDG_DATA_HOME", "data");
        setVariable("XDG_CONFIG_HOME", "config");
        setVariable("ORVANE_REGISTRY_DIR", "registry");
        RegistryStore store(registryFilesFromEnvironment());
        store.writeString(Hive::LocalMachine, kCurrentVersionKey, kProgramFilesDirValue,
                          (m_path / "Programme").string());
    }
    ~Sandbox() {
        for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "ORVANE_REGISTRY_DIR"})
            restore(name);
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    // `text` with the sandbox's path written as "$SANDBOX".
    std::string masked(std::string text) const {
        const std::string path = m_path.string();
        for (std::size_t at = text.find(path); at != std::string::npos; at = text.find(path, at))
            text.replace(at, path.size(), "$SANDBOX");
        return text;
    }

  private:
    void setVariable(const char* name, const char* folder) {
        if (const char* old = std::getenv(name))
            m_saved.emplace_back(name, old);
        ::setenv(name, (m_path / folder).c_str(), 1);
    }
    void restore(const char* name) {
        for (const auto& [saved, value] : m_saved) {
            if (saved == name) {
                ::setenv(name, value.c_str(), 1);
                return;
            }
        }
        ::unsetenv(name);
    }

    fs::path m_path;
    std::vector<std::pair<std::string, std::string>> m_saved;
};

// Writes installed files, shortcuts and registry values into the transcript.
class TranscriptLines : public InstallObserver {
  public:
    explicit TranscriptLines(std::string& text) : m_text(text) {}
    void registryWritten(std::string_view path, std::string_view value) override {
        m_text += transcript::registryEvent(path, value) + "\n";
    }
    void fileInstalled(std::string_view path, std::uint64_t bytes) override {
        m_text += transcript::fileEvent(path, bytes) + "\n";
    }
    void linkCreated(std::string_view path, std::string_view target) override {
        m_text += transcript::linkEvent(path, target) + "\n";
    }

  private:
    std::string& m_text;
};

// The uninstall list's lines below its header, one transcript line each.
std::string uninstallLines(const UninstallList* list) {
    std::string text;
    if (list == nullptr)
        return text;
    for (std::size_t k = kUninstallHeaderLines.size(); k < list->lines().size(); ++k)
        text += "{\"event\":\"uninstall\",\"line\":" + jsonString(list->lines()[k]) + "}\n";
    return text;
}

PackageDocument packageFor(const std::string& name) {
    const fs::path path = kScriptsRoot / (name + ".json");
    if (!fs::exists(path))
        return PackageDocument();
    return PackageDocument(readJson(readFile(path)).document);
}

std::string runScript(const std::string& name, bool fastFunctions = true) {
    const Sandbox sandbox;
    RecordingDialog dialog;
    std::istringstream answers(readFile(kScriptsRoot / (name + ".answers")));
    for (std::string line; std::getline(answers, line);)
        dialog.queueAnswer(line == "yes" ? idYes : idNo);
    std::string transcriptText;
    dialog.setObserver(
        [&](const RecordedBox& box) { transcriptText += transcript::messageBoxEvent(box) + "\n"; });
    const PackageDocument package = packageFor(name);
    const PackageLookup lookup(package);
    TranscriptLines observer(transcriptText);
    ScriptSession session(dialog, &lookup, &observer);
    session.interpreter().setFastFunctions(fastFunctions);
    const RunOutcome outcome = session.run(readFile(kScriptsRoot / (name + ".ovs")));
    transcriptText += uninstallLines(session.uninstallList());
    return sandbox.masked(transcriptText + transcript::exitEvent(session.exitStatus(outcome)) +
                          "\n");
}

class GoldenScript : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenScript, TranscriptMatches) {
    const std::string name = GetParam();
    const std::string actual = runScript(name);
    // ORVANE_REGENERATE=1 writes the transcripts instead; review the diff before committing.
    if (std::getenv("ORVANE_REGENERATE") != nullptr)
        std::ofstream(kScriptsRoot / (name + ".out"), std::ios::binary) << actual;
    EXPECT_EQ(actual, readFile(kScriptsRoot / (name + ".out")));
}

// Functions compiled for speed behave exactly as the tree walk does.
TEST_P(GoldenScript, TreeWalkAloneGivesTheSameTranscript) {
    EXPECT_EQ(runScript(GetParam(), false), readFile(kScriptsRoot / (GetParam() + ".out")));
}

INSTANTIATE_TEST_SUITE_P(Scripts, GoldenScript, ::testing::ValuesIn(scriptNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string id = info.param;
                             std::replace_if(
                                 id.begin(), id.end(), [](char c) { return !std::isalnum(c); },
                                 '_');
                             return id;
                         });

} // namespace
} // namespace orvane::test
