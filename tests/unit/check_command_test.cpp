// `orvane check`: exit codes and the exact outputs for script authors.
#include "../e2e/e2e_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

struct CheckCase {
    const char* options;
    const char* script;
    int exitCode;
    const char* out; // stdout followed by stderr; "$F" stands for the script's path
};

void PrintTo(const CheckCase& c, std::ostream* os) {
    *os << c.options << c.script;
}

class CheckCommand : public ::testing::TestWithParam<CheckCase> {
  protected:
    void TearDown() override { std::filesystem::remove(m_path); }

    std::filesystem::path m_path = std::filesystem::temp_directory_path() /
                                   ("check_test_" + std::to_string(::getpid()) + ".ovs");
};

orvane::e2e::CommandResult runTool(const std::string& arguments) {
    return orvane::e2e::runCommand(std::string(ORVANE_TOOL) + " " + arguments + " 2>&1");
}

TEST_P(CheckCommand, ExitCodeAndOutput) {
    const CheckCase& c = GetParam();
    std::ofstream(m_path, std::ios::binary) << c.script;
    std::string expected = c.out;
    if (const auto at = expected.find("$F"); at != std::string::npos)
        expected.replace(at, 2, m_path.string());
    const auto result = runTool(std::string("check ") + c.options + m_path.string());
    EXPECT_EQ(result.exitCode, c.exitCode);
    EXPECT_EQ(result.out, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, CheckCommand,
    ::testing::Values(
        // A valid script prints nothing, even after a byte-order mark.
        CheckCase{"", "\xEF\xBB\xBFvoid main() { int x; x = 1; }", 0, ""},
        CheckCase{"", "void main()\n{\n  x = 1\n}\n", 1, "$F:4:1: Semikolon erwartet\n"},
        CheckCase{"", "// nothing but a comment\n", 1,
                  "Fehler in scan an Pos 20: Fehler: Keine Tokens\n"},
        // The tokens are printed even when the parse fails.
        CheckCase{"--tokens ", "x = #13;", 1,
                  "1:2 ttVarID \"x\"\n1:3 ttGleich \"=\"\n1:8 ttStringConst \"\\r\"\n"
                  "1:8 ttSemikolon \";\"\n0:0 ttEndOfFile \"\"\n$F:1:2: Rückgabetyp erwartet\n"},
        // Warnings leave the exit status at 0; --json puts errors and warnings into one array.
        CheckCase{"", "void main() { int b; if (b + 1 == 3) b = 0; }", 0,
                  "$F:1:28: warning: 'b + 1 == 3' means 'b + (1 == 3)': comparisons and logical "
                  "operators bind tighter than '+', and arithmetic on their bool fails at run "
                  "time\n    hint: write '(b + 1) == 3'\n"},
        CheckCase{
            "--json ", "void main() { int b; b = \"1\"; }", 0,
            "[\n{\"file\":\"$F\",\"line\":1,\"column\":24,\"severity\":\"warning\","
            "\"kind\":\"type\",\"message\":\"'b' is an int but is assigned a string\","
            "\"hint\":\"convert with inttostr or strtoint, or compare to make a bool\"}\n]\n"},
        CheckCase{"--json ", "void main() { x = 1 }", 1,
                  "[\n{\"file\":\"$F\",\"line\":1,\"column\":21,\"severity\":\"error\","
                  "\"kind\":\"syntax\",\"message\":\"Semikolon erwartet\",\"hint\":\"\"}\n]\n"},
        CheckCase{"--tree ", "int f(int a) return a;", 0,
                  "ttStart \"\" 0:0\n"
                  "  ttFuncDekl \"f\" 1:6\n"
                  "    ttGenTypeInt \"\" 1:1\n"
                  "    ttParameters \"\" 0:0\n"
                  "      ttVarDekl \"\" 0:0\n"
                  "        ttGenTypeInt \"\" 1:7\n"
                  "        ttVarID \"a\" 1:12\n"
                  "    ttBlock \"\" 0:0\n"
                  "      ttReturn \"\" 1:14\n"
                  "        ttVarID \"a\" 1:22\n"}));

// 50,000 terms nest 49,999 operators deep: the dump needs no recursion, and lines deeper than 100
// levels keep 200 spaces of indentation and name their depth.
TEST(CheckCommandTree, AFlatChainOfFiftyThousandTerms) {
    constexpr int kTerms = 50000;
    std::string script = "int x; void main() { x = 1";
    for (int k = 1; k < kTerms; ++k)
        script += "+1";
    const auto file = std::filesystem::temp_directory_path() /
                      ("check_chain_" + std::to_string(::getpid()) + ".ovs");
    std::ofstream(file, std::ios::binary) << script << "; }";
    const auto result = runTool("check --tree " + file.string());
    std::filesystem::remove(file);
    EXPECT_EQ(result.exitCode, 0);
    // Start, declaration (3 lines), function, type, block, assignment, target, then the
    // operators and the terms.
    EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 9 + (kTerms - 1) + kTerms);
    EXPECT_NE(result.out.find("\n" + std::string(200, ' ') + "[50003] ttNumber \"1\" 1:27\n"),
              std::string::npos);
}

// Under a small stack, deep nesting is refused before it can exhaust the stack.
TEST(CheckCommandTree, NestingIsBoundedByTheStackLimit) {
    const auto file = std::filesystem::temp_directory_path() /
                      ("check_nested_" + std::to_string(::getpid()) + ".ovs");
    std::ofstream(file, std::ios::binary)
        << "void main() { x = " << std::string(5000, '(') << '1' << std::string(5000, ')') << "; }";
    const auto result = orvane::e2e::runCommand("ulimit -s 1024 && " + std::string(ORVANE_TOOL) +
                                                " check " + file.string() + " 2>&1");
    std::filesystem::remove(file);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.out.ends_with(": Verschachtelung zu tief\n")) << result.out;
}

// Trees far deeper than recursion could follow are analysed to the bottom: each script has its
// fault at the deepest point, on line 2, and the messages quoting a long chain stay short.
TEST(CheckCommandAnalysis, ReachesTheBottomOfDeepTrees) {
    const auto repeat = [](const std::string& text, int times) {
        std::string out;
        for (int k = 0; k < times; ++k)
            out += text;
        return out;
    };
    const std::pair<std::string, std::string> cases[] = {
        {"int x; void main() { x = \ny" + repeat("+1", 49999) + "; }",
         ":2:2: warning: 'y' is declared nowhere"},
        {"int x; void main() { x = " + repeat("(1 + ", 1000) + "\ny" + repeat(")", 1000) + "; }",
         ":2:2: warning: 'y' is declared nowhere"},
        {"int x; void main() { " + repeat("if (x < 1) { ", 4000) + "\ny = 1;" + repeat(" }", 4000) +
             " }",
         ":2:2: warning: 'y' is declared nowhere"},
        {"int x; void main() {\nx = 1" + repeat("+1", 49999) + " + x == 1; }",
         "hint: write '(... + 1 + 1 + 1 + 1 + 1 + 1 + 1 + 1 + 1 + 1 + 1 + 1 + 1 + x) == 1'\n"},
    };
    const auto file = std::filesystem::temp_directory_path() /
                      ("check_deep_" + std::to_string(::getpid()) + ".ovs");
    for (const auto& [script, expected] : cases) {
        std::ofstream(file, std::ios::binary) << script;
        const auto result = runTool("check " + file.string());
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_NE(result.out.find(expected), std::string::npos) << result.out;
        EXPECT_LT(result.out.size(), 1000u);
    }
    std::filesystem::remove(file);
}

TEST(CheckCommandUsage, FileErrorsExitTwo) {
    const auto missing = runTool("check /nonexistent/dir/file.ovs");
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.out.find("No such file or directory"), std::string::npos);
    EXPECT_EQ(runTool("check /").exitCode, 2);
}

struct CommandLineCase {
    const char* arguments;
    int exitCode;
    const char* expected; // the start of the text on stdout (exit 0) or the line after the error
};

// Help and version go to stdout; a usage error is a message and the usage on stderr, stdout empty.
TEST(OrvaneCommandLine, HelpVersionAndUsageErrors) {
    const CommandLineCase cases[] = {
        {"--help", 0, "Tools for writing"},
        {"help", 0, "Tools for writing"},
        {"--version", 0, "orvane " ORVANE_VERSION "\n"},
        {"help pack", 0, "Build an install package"},
        {"run --help", 0, "Run an install package"},
        {"", 2, "Tools for writing"},
        {"bogus", 2, "Tools for writing"},
        {"--bogus", 2, "Tools for writing"},
        {"help bogus", 2, "Show the help"},
        {"help help", 0, "Show the help"},
        {"check", 2, "Check a script"},
        {"check --bogus x", 2, "Check a script"},
        {"reg find HKCU", 2, "Look at and clean up"},
    };
    for (const auto& c : cases) {
        const auto out =
            orvane::e2e::runCommand(std::string(ORVANE_TOOL) + " " + c.arguments + " 2>/dev/null");
        const auto err = orvane::e2e::runCommand(std::string(ORVANE_TOOL) + " " + c.arguments +
                                                 " 2>&1 >/dev/null");
        EXPECT_EQ(out.exitCode, c.exitCode) << c.arguments;
        const std::string& text = c.exitCode == 0 ? out.out : err.out;
        const auto start = c.exitCode == 0 ? 0 : text.find("\n\n") + 2;
        EXPECT_EQ(text.substr(start, std::string(c.expected).size()), c.expected) << c.arguments;
        EXPECT_TRUE(c.exitCode == 0 ? err.out.empty() : out.out.empty()) << c.arguments;
    }
}

} // namespace
