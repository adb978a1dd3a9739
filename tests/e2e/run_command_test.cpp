// Whole runs through `orvane run`: transcripts, exit codes and scenario handling.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;

struct RunResult {
    int exitCode = -1;
    std::string out;
};

class OrvaneRun : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() /
                ("orvane_e2e_" + std::to_string(::getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string write(const std::string& name, const std::string& content) {
        const fs::path path = m_dir / name;
        std::ofstream(path, std::ios::binary) << content;
        return path.string();
    }

    // Runs the tool with `arguments`; stdout only, stderr goes to the test log.
    RunResult run(const std::string& arguments) {
        RunResult result;
        const std::string command = "ORVANE_REGISTRY_DIR='" + m_dir.string() + "' " + ORVANE_TOOL +
                                    std::string(" run ") + arguments;
        FILE* pipe = ::popen(command.c_str(), "r");
        std::array<char, 4096> buffer{};
        for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
            result.out.append(buffer.data(), n);
        const int status = ::pclose(pipe);
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return result;
    }

    fs::path m_dir;
};

TEST_F(OrvaneRun, PackageWithEmbeddedFilesAndScenario) {
    const std::string package =
        write("setup.ovsp",
              R"({"programfile": "void main() {\r\n  if (askYesNo(\"Dateien zählen?\"))\r\n)"
              R"(    messageBox(inttostr(getTokenNumber(\"binfiles\")));\r\n}",)"
              R"( "binfiles": [{"id": "a", "bin": "QUJD"}, {"id": "b", "bin": ""}]})");
    const std::string scenario = write("answers", "# answer the one question\n\nyes\n");
    const RunResult result = run("--scenario " + scenario + " " + package);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out,
              "{\"event\":\"msgbox\",\"flags\":36,\"caption\":\"Frage\",\"text\":\"Dateien "
              "zählen?\"}\n"
              "{\"event\":\"msgbox\",\"flags\":0,\"caption\":\"Messagebox\",\"text\":\"2\"}\n"
              "{\"event\":\"exit\",\"code\":0}\n");
}

TEST_F(OrvaneRun, ScenarioProblemsEndWithCodeThree) {
    const std::string script = write("ask.ovs", "void main() { askYesNo(\"Frage?\"); }");
    EXPECT_EQ(run("--script " + script).exitCode, 3); // no answer left
    EXPECT_EQ(run("--scenario " + write("s1", "click ok\n") + " --script " + script).exitCode, 3);
    EXPECT_EQ(run("--scenario " + write("s2", "yes\nno\n") + " --script " + script).exitCode, 3);
    const RunResult answered = run("--yes --script " + script);
    EXPECT_EQ(answered.exitCode, 0);
    EXPECT_EQ(answered.out,
              "{\"event\":\"msgbox\",\"flags\":36,\"caption\":\"Frage\",\"text\":\"Frage?\"}\n"
              "{\"event\":\"exit\",\"code\":0}\n");
}

TEST_F(OrvaneRun, RegistryWritesAppearInTheTranscript) {
    const std::string script = write(
        "reg.ovs", "void main() { writeRegistryString(\"HKEY_CURRENT_USER\\Software\\Demo\\Pfad\", "
                   "\"/opt/demo\"); }");
    const RunResult result = run("--script " + script);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "{\"event\":\"registry\",\"path\":\"HKEY_CURRENT_USER\\\\Software\\\\Demo"
                          "\\\\Pfad\",\"value\":\"/opt/demo\"}\n{\"event\":\"exit\",\"code\":0}\n");
}

TEST_F(OrvaneRun, BrokenPackagesEndWithTheDriversMessages) {
    const std::string missing = (m_dir / "missing.ovsp").string();
    EXPECT_EQ(run(missing).out,
              "{\"event\":\"msgbox\",\"flags\":16,\"caption\":\"Kritischer Fehler\",\"text\":"
              "\"Install Script " +
                  missing + " nicht gefunden.\"}\n{\"event\":\"exit\",\"code\":1}\n");
    for (const char* content : {"", "[]", "{\"programfile\": ", "{\"other\": 1}"}) {
        const RunResult result = run(write("broken.ovsp", content));
        EXPECT_EQ(result.exitCode, 1) << content;
        EXPECT_NE(result.out.find("\"caption\":\"Installer\",\"text\":\"Wert 'programfile' nicht "
                                  "gefunden"),
                  std::string::npos)
            << result.out;
    }
}

TEST_F(OrvaneRun, ScriptFailuresShowTheirBoxesInOrder) {
    const RunResult syntax = run("--script " + write("bad.ovs", "void main() { x = ; }"));
    EXPECT_EQ(syntax.exitCode, 1);
    EXPECT_EQ(syntax.out,
              "{\"event\":\"msgbox\",\"flags\":0,\"caption\":\"Fehler\",\"text\":\"Es ist ein "
              "Fehler aufgetreten:\\r\\rAusdruck erwartet\\rZeile: 1, Spalte: 17\"}\n"
              "{\"event\":\"msgbox\",\"flags\":16,\"caption\":\"Fatal Error\",\"text\":\"Parsing "
              "failed\"}\n{\"event\":\"exit\",\"code\":1}\n");
    const RunResult precheck =
        run("--script " + write("pre.ovs", "void unused() { mesageBox(\"x\"); } void main() { }"));
    EXPECT_EQ(precheck.out,
              "{\"event\":\"msgbox\",\"flags\":16,\"caption\":\"Installer\",\"text\":"
              "\"Funktion \\\"mesageBox\\\" nicht gefunden!\"}\n{\"event\":\"exit\",\"code\":1}\n");
    const RunResult nested = run(
        "--script " + write("nested.ovs", "int f(int x) { return x % 0; } void main() { f(1); }"));
    EXPECT_EQ(nested.out, "{\"event\":\"msgbox\",\"flags\":16,\"caption\":\"Installer\",\"text\":"
                          "\"Fehler in TCInterpreterEx.callFunction (Name: main): Fehler in "
                          "TCInterpreterEx.callFunction (Name: f): Division durch Null.\"}\n"
                          "{\"event\":\"exit\",\"code\":1}\n");
    const RunResult noMain = run("--script " + write("nomain.ovs", "void Main() { }"));
    EXPECT_EQ(noMain.out,
              "{\"event\":\"msgbox\",\"flags\":16,\"caption\":\"Fataler Fehler\","
              "\"text\":\"Main-Funktion nicht gefunden\"}\n{\"event\":\"exit\",\"code\":1}\n");
}

TEST_F(OrvaneRun, UsageErrorsExitTwo) {
    EXPECT_EQ(run("").exitCode, 2);
    EXPECT_EQ(run("--script").exitCode, 2);
    EXPECT_EQ(run("a.ovsp --script b.ovs").exitCode, 2);
    EXPECT_EQ(run("--scenario /nonexistent/file a.ovsp").exitCode, 2);
}

} // namespace
