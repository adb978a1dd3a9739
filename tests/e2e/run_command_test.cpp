// Whole runs through `orvane run`: transcripts, exit codes and scenario handling.
#include "e2e_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

using RunResult = orvane::e2e::CommandResult;

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
        const std::string command = "ORVANE_REGISTRY_DIR='" + m_dir.string() + "' " + ORVANE_TOOL +
                                    std::string(" run ") + arguments;
        return orvane::e2e::runCommand(command);
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

// A package with two embedded files, run with the test folder as home and data folder.
class OrvaneInstall : public OrvaneRun {
  protected:
    void SetUp() override {
        OrvaneRun::SetUp();
        for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME"}) {
            const char* old = std::getenv(name);
            m_saved.emplace_back(name, old ? old : "");
        }
        ::setenv("HOME", (m_dir / "home").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (m_dir / "data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (m_dir / "config").c_str(), 1);
    }
    void TearDown() override {
        for (const auto& [name, value] : m_saved) {
            if (value.empty())
                ::unsetenv(name.c_str());
            else
                ::setenv(name.c_str(), value.c_str(), 1);
        }
        OrvaneRun::TearDown();
    }

    // "programfile" holding `script`, binfiles[0] 3,000 bytes ("ABC" repeated, Base64 in lines
    // of 76 characters) and binfiles[1] the four bytes 00 01 02 FF.
    std::string package(const std::string& script) {
        std::string lines;
        for (int k = 0; k < 1000; ++k)
            lines += (k > 0 && k % 19 == 0 ? "\\n" : "") + std::string("QUJD");
        std::string escaped;
        for (const char c : script)
            escaped += c == '"'    ? std::string("\\\"")
                       : c == '\\' ? std::string("\\\\")
                       : c == '\n' ? std::string("\\n")
                                   : std::string(1, c);
        return write("setup.ovsp", "{\"programfile\": \"" + escaped +
                                       "\", \"binfiles\": [{\"id\": \"abc\", \"bin\": \"" + lines +
                                       "\"}, {\"id\": \"bin\", \"bin\": \"AAEC/w==\"}]}");
    }
    std::string read(const fs::path& path) { return orvane::e2e::readFile(path); }

  private:
    std::vector<std::pair<std::string, std::string>> m_saved;
};

TEST_F(OrvaneInstall, InstallsFilesAShortcutAndTheUninstallData) {
    const std::string ziel = (m_dir / "Programme").string();
    const RunResult result =
        run(package("void main() {\n"
                    "  string ziel;\n"
                    "  ziel = \"" +
                    ziel +
                    "\\Demo\";\n"
                    "  installFile(\"binfiles[0].bin\", ziel + \"\\abc.txt\");\n"
                    "  installFile(\"binfiles[1].bin\", ziel + \"\\lib\\daten.bin\");\n"
                    "  createLink(getDesktopDir() + \"\\Demo.desktop\", ziel + \"\\abc.txt\");\n"
                    "  writeRegistryString(\"HKEY_CURRENT_USER\\Software\\Demo\\Pfad\", ziel);\n"
                    "  saveUninstallData(ziel + \"\\uninstall.dat\");\n"
                    "}\n"));
    const std::string demo = ziel + "/Demo";
    const std::string desktop = (m_dir / "home/Desktop").string();
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "{\"event\":\"file\",\"path\":\"" + demo +
                              "/abc.txt\",\"bytes\":3000}\n"
                              "{\"event\":\"file\",\"path\":\"" +
                              demo +
                              "/lib/daten.bin\",\"bytes\":4}\n"
                              "{\"event\":\"link\",\"path\":\"" +
                              desktop +
                              "/Demo.desktop\","
                              "\"target\":\"" +
                              demo +
                              "/abc.txt\"}\n"
                              "{\"event\":\"registry\",\"path\":\"HKEY_CURRENT_USER\\\\Software\\\\"
                              "Demo\\\\Pfad\",\"value\":\"" +
                              ziel +
                              "\\\\Demo\"}\n"
                              "{\"event\":\"exit\",\"code\":0}\n");
    std::string abc;
    for (int k = 0; k < 1000; ++k)
        abc += "ABC";
    EXPECT_EQ(read(demo + "/abc.txt"), abc);
    EXPECT_EQ(read(demo + "/lib/daten.bin"), std::string("\x00\x01\x02\xFF", 4));
    EXPECT_EQ(read(desktop + "/Demo.desktop"),
              "[Desktop Entry]\nType=Application\nName=Demo\nExec=\"" + demo +
                  "/abc.txt\"\n"
                  "Path=" +
                  demo + "/\nComment=Verknüpfung\n");
    EXPECT_EQ(read(demo + "/uninstall.dat"),
              "// Informationen zur Deinstallation\r\n"
              "// Automatisch erzeugt von Orvane-Setup 3.7\r\n\r\n"
              "[ordner]\r\n" +
                  desktop + "/\r\n" + (m_dir / "home").string() + "/\r\n" + demo + "/lib/\r\n" +
                  demo + "/\r\n" + ziel + "/\r\n[dateien]\r\n" + desktop + "/Demo.desktop\r\n" +
                  demo + "/lib/daten.bin\r\n" + demo +
                  "/abc.txt\r\n[registry]\r\nHKEY_CURRENT_USER\\\\Software\\Demo\r\n"
                  "HKEY_CURRENT_USER\\\\Software\r\n");
}

TEST_F(OrvaneInstall, AFailedWriteEndsTheRunWithTheFileError) {
    write("im-weg", "");
    const std::string blocked = (m_dir / "im-weg").string();
    const RunResult result = run(package("void main() {\n  installFile(\"binfiles[1].bin\", \"" +
                                         blocked + "/unter/daten.bin\");\n}\n"));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out,
              "{\"event\":\"msgbox\",\"flags\":16,\"caption\":\"Installer\",\"text\":\"Fehler in "
              "TCInterpreterEx.callFunction (Name: main): Fehler in TCInterpreterEx.callFunction "
              "(Name: installFile): Datei " +
                  blocked +
                  "/unter/daten.bin kann nicht erstellt "
                  "werden. Not a directory.\"}\n{\"event\":\"exit\",\"code\":1}\n");
}

TEST_F(OrvaneRun, UsageErrorsExitTwo) {
    EXPECT_EQ(run("").exitCode, 2);
    EXPECT_EQ(run("--script").exitCode, 2);
    EXPECT_EQ(run("a.ovsp --script b.ovs").exitCode, 2);
    EXPECT_EQ(run("--scenario /nonexistent/file a.ovsp").exitCode, 2);
}

} // namespace

namespace {

TEST_F(OrvaneRun, FolderDialogFollowsTheScenario) {
    const fs::path chosen = m_dir / "ziel" / "vorhanden";
    fs::create_directories(chosen);
    const std::string script =
        write("folder.ovs", "void main() { messageBox(showFolderDialog()); "
                            "messageBox(\"[\" + showFolderDialog() + \"]\"); "
                            "messageBox(showFolderDialog()); }");
    // Browsing changes the current folder, so the third dialog opens in the chosen one.
    const std::string scenario =
        write("folder.sc", "folder " + chosen.string() + "\ncancel\nnewfolder neu\nfolder " +
                               (chosen / "neu").string() + "\n");
    const RunResult result = run("--scenario " + scenario + " --script " + script);
    EXPECT_EQ(result.exitCode, 0) << result.out;
    const std::string box =
        "{\"event\":\"msgbox\",\"flags\":0,\"caption\":\"Messagebox\",\"text\":";
    EXPECT_EQ(result.out, box + "\"" + chosen.string() + "/\"}\n" + box + "\"[]\"}\n" + box + "\"" +
                              (chosen / "neu").string() +
                              "/\"}\n{\"event\":\"exit\",\"code\":0}\n");
    EXPECT_TRUE(fs::is_directory(chosen / "neu"));
}

} // namespace
