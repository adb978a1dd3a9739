// Runs every script under tests/scripts and compares its transcript with the .out file beside it.
//
// NAME.ovs is the script, NAME.out the expected transcript (one JSON line per message
// box, then the exit line), and an optional NAME.answers holds "yes" or "no" per line
// for the Yes/No boxes in order.
#include "recording_dialog.h"
#include "script_session.h"
#include "transcript.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

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

std::string runScript(const std::string& name) {
    RecordingDialog dialog;
    std::istringstream answers(readFile(kScriptsRoot / (name + ".answers")));
    for (std::string line; std::getline(answers, line);)
        dialog.queueAnswer(line == "yes" ? idYes : idNo);
    std::string transcriptText;
    dialog.setObserver(
        [&](const RecordedBox& box) { transcriptText += transcript::messageBoxEvent(box) + "\n"; });
    ScriptSession session(dialog, nullptr);
    const RunOutcome outcome = session.run(readFile(kScriptsRoot / (name + ".ovs")));
    return transcriptText + transcript::exitEvent(static_cast<int>(outcome)) + "\n";
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
