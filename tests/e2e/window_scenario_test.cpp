// Script windows driven through `orvane run`: golden transcripts of scenarios, and the
// scenario problems that end a run with code 3.
//
// windows/NAME.ovs runs with windows/NAME.scenario; windows/NAME.out is the expected
// transcript. ORVANE_REGENERATE=1 rewrites the .out files (review them before committing).
#include "e2e_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using orvane::e2e::readFile;

const fs::path kScenarios = ORVANE_WINDOW_SCENARIOS;

struct RunResult : orvane::e2e::CommandResult {
    std::string err;
};

class WindowRun : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '_');
        m_dir = fs::temp_directory_path() /
                ("orvane_windows_" + std::to_string(::getpid()) + "_" + name);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string write(const std::string& name, const std::string& content) {
        std::ofstream(m_dir / name, std::ios::binary) << content;
        return (m_dir / name).string();
    }

    // Runs `orvane run ARGUMENTS` in the test's own folder (pictures land there).
    RunResult run(const std::string& arguments) {
        const std::string command = "cd '" + m_dir.string() + "' && ORVANE_REGISTRY_DIR='" +
                                    m_dir.string() + "' " + ORVANE_TOOL + " run " + arguments +
                                    " 2>'" + (m_dir / "stderr").string() + "'";
        return {orvane::e2e::runCommand(command), readFile(m_dir / "stderr")};
    }

    fs::path m_dir;
};

std::vector<std::string> scenarioNames() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(kScenarios)) {
        if (entry.path().extension() == ".ovs")
            names.push_back(entry.path().stem().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class WindowScenario : public WindowRun, public ::testing::WithParamInterface<std::string> {};

TEST_P(WindowScenario, TranscriptMatches) {
    const fs::path base = kScenarios / GetParam();
    const RunResult result =
        run("--scenario '" + base.string() + ".scenario' --script '" + base.string() + ".ovs'");
    EXPECT_EQ(result.err.find("orvane run:"), std::string::npos) << result.err;
    if (std::getenv("ORVANE_REGENERATE") != nullptr)
        std::ofstream(base.string() + ".out", std::ios::binary) << result.out;
    EXPECT_EQ(result.out, readFile(base.string() + ".out"));
    // Every picture the scenario takes is a PNG file.
    std::istringstream lines(readFile(base.string() + ".scenario"));
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("shot ", 0) == 0) {
            EXPECT_EQ(readFile(m_dir / line.substr(5)).substr(0, 4), "\x89PNG") << line;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Scenarios, WindowScenario, ::testing::ValuesIn(scenarioNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             return info.param;
                         });

// One form with a button, a field, a list and a second form shown from the button.
const char* const kForms = R"(
    void onOpen(string s) { showModal("g"); }
    void main() {
        createForm("f", 0, 0, 300, 200, "F");
        createButton("open", 10, 10, 80, 25, "f", "Öffnen", "onOpen");
        createTextedit("field", false, 10, 40, 100, 22, "f", "");
        createListBox("list", 10, 70, 100, 60, "f");
        createLabel("hidden", 10, 140, 100, 20, "f", "x");
        createForm("g", 0, 0, 200, 100, "G");
        createButton("inner", 10, 10, 80, 25, "g", "Innen", "");
        showModal("f");
    })";

// showFolderDialog from a button's handler inside a modal form: a stop while the dialog
// waits closes the dialog and the form and ends the run.
const char* const kFolder = R"(
    void onChoose(string s) { messageBox("[" + showFolderDialog() + "]"); }
    void main() {
        createForm("f", 0, 0, 300, 200, "F");
        createButton("choose", 10, 10, 80, 25, "f", "Wählen", "onChoose");
        showModal("f");
    })";

struct MisfitCase {
    const char* name;
    const char* script;
    const char* scenario;
    const char* problem; // part of the message on stderr
};

void PrintTo(const MisfitCase& row, std::ostream* out) {
    *out << row.name;
}

class Misfit : public WindowRun, public ::testing::WithParamInterface<MisfitCase> {};

// No message box is shown: a scenario problem ends the run before any handler's box.
TEST_P(Misfit, EndsTheRunWithCodeThree) {
    const RunResult result = run("--scenario '" + write("s", GetParam().scenario) + "' --script '" +
                                 write("m.ovs", GetParam().script) + "'");
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_NE(result.err.find(GetParam().problem), std::string::npos) << result.err;
    EXPECT_EQ(result.out.find("\"event\":\"msgbox\""), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("{\"event\":\"exit\",\"code\":3}"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Actions, Misfit,
    ::testing::Values(
        // An answer file written by another editor: byte-order mark, CR LF and CR line ends,
        // several blanks between an action and its arguments.
        MisfitCase{"UnknownObject", kForms,
                   "\xEF\xBB\xBF"
                   "click nix\n",
                   "no object is registered as 'nix'"},
        MisfitCase{"TypeIntoAButton", kForms, "type open abc\n", "'open' is a button"},
        MisfitCase{"ClickAForm", kForms, "click f\n", "'f' is a form"},
        MisfitCase{"CloseAButton", kForms, "close open\n", "'open' is a button"},
        MisfitCase{"RowOutOfRange", kForms, "select list 0\n", "no row '0' in a list of 0"},
        MisfitCase{"RowNotANumber", kForms, "select list eins\n", "no row 'eins'"},
        MisfitCase{"NoCurrentItem", kForms, "dblclick list\n", "'list' has no current item"},
        MisfitCase{"BlockedByAModalForm", kForms, "click  \t open\r\nclick field\r",
                   "'field' is not shown or its window is blocked"},
        MisfitCase{"HiddenForm", kForms, "click inner\n", "'inner' is not shown"},
        MisfitCase{"AnswerWithoutQuestion", kForms, "yes\n",
                   "'yes' does not fit: no Yes/No box is open, form 'f' waits"},
        MisfitCase{"UnknownVerb", kForms, "drag open\n", "unknown action"},
        MisfitCase{"RanOut", kForms, "dump\n", "no answer left while form 'f' waits: expected"},
        MisfitCase{"RanOutInside", kForms, "click open\n", "no answer left while form 'g' waits"},
        MisfitCase{"PictureWithoutName", kForms, "shot\n", "cannot save ''"},
        MisfitCase{"FolderRanOut", kFolder, "click choose\n",
                   "no answer left while the folder dialog waits: expected 'folder PATH'"},
        MisfitCase{"FolderRanOutAfterNewFolder", kFolder, "click choose\nnewfolder Neu\n",
                   "no answer left while the folder dialog waits"},
        MisfitCase{"FolderScriptObjectBlocked", kFolder, "click choose\nclick choose\n",
                   "scenario line 2: 'click' does not fit: the folder dialog waits"},
        MisfitCase{"FolderAnswerWithoutQuestion", kFolder, "click choose\nyes\n",
                   "'yes' does not fit"},
        MisfitCase{"FolderMissing", kFolder, "click choose\nfolder fehlt\n",
                   "scenario line 2: folder: no folder "},
        MisfitCase{"FolderActionOutsideTheDialog", kFolder, "cancel\n",
                   "'cancel' does not fit: the folder dialog is not open, form 'f' waits"}),
    [](const ::testing::TestParamInfo<MisfitCase>& info) { return info.param.name; });

} // namespace
