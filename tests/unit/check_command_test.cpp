// `orvane check`: exit codes and the exact outputs for script authors.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>

namespace {

struct RunResult {
    int exitCode = -1;
    std::string out; // stdout followed by stderr
};

RunResult runTool(const std::string& arguments) {
    RunResult result;
    FILE* pipe = ::popen((std::string(ORVANE_TOOL) + " " + arguments + " 2>&1").c_str(), "r");
    if (pipe == nullptr)
        return result;
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        result.out.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

class CheckCommand : public ::testing::Test {
  protected:
    std::string writeScript(const std::string& text) {
        std::ofstream(m_path, std::ios::binary) << text;
        return m_path.string();
    }
    void TearDown() override { std::filesystem::remove(m_path); }

    std::filesystem::path m_path = std::filesystem::temp_directory_path() /
                                   ("check_test_" + std::to_string(::getpid()) + ".ovs");
};

TEST_F(CheckCommand, ValidScriptPrintsNothing) {
    const auto result = runTool("check " + writeScript("\xEF\xBB\xBFvoid main() { x = 1; }"));
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "");
}

TEST_F(CheckCommand, SyntaxErrorNamesFileLineAndColumn) {
    const std::string path = writeScript("void main()\n{\n  x = 1\n}\n");
    const auto result = runTool("check " + path);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, path + ":4:1: Semikolon erwartet\n");
}

TEST_F(CheckCommand, ScanErrorIsReported) {
    const auto result = runTool("check " + writeScript("// nothing but a comment\n"));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "Fehler in scan an Pos 20: Fehler: Keine Tokens\n");
}

TEST_F(CheckCommand, TokensArePrintedEvenWhenTheParseFails) {
    const std::string path = writeScript("x = #13;");
    const auto result = runTool("check --tokens " + path);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "1:2 ttVarID \"x\"\n1:3 ttGleich \"=\"\n1:8 ttStringConst \"\\r\"\n"
                          "1:8 ttSemikolon \";\"\n0:0 ttEndOfFile \"\"\n" +
                              path + ":1:2: Rückgabetyp erwartet\n");
}

TEST_F(CheckCommand, TreeIsIndentedByLevel) {
    const auto result = runTool("check --tree " + writeScript("int f(int a) return a;"));
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "ttStart \"\" 0:0\n"
                          "  ttFuncDekl \"f\" 1:6\n"
                          "    ttGenTypeInt \"\" 1:1\n"
                          "    ttParameters \"\" 0:0\n"
                          "      ttVarDekl \"\" 0:0\n"
                          "        ttGenTypeInt \"\" 1:7\n"
                          "        ttVarID \"a\" 1:12\n"
                          "    ttBlock \"\" 0:0\n"
                          "      ttReturn \"\" 1:14\n"
                          "        ttVarID \"a\" 1:22\n");
}

TEST_F(CheckCommand, UsageAndFileErrorsExitTwo) {
    EXPECT_EQ(runTool("").exitCode, 2);
    EXPECT_EQ(runTool("check").exitCode, 2);
    EXPECT_EQ(runTool("check --bogus x").exitCode, 2);
    const auto missing = runTool("check /nonexistent/dir/file.ovs");
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.out.find("No such file or directory"), std::string::npos);
    EXPECT_EQ(runTool("check /").exitCode, 2);
}

} // namespace
