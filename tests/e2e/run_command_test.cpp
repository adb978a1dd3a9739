// Whole runs through `orvane run`: transcripts, exit codes and scenario handling.
#include "e2e_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
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

    // Runs the tool with `arguments` and the test folder as home, data and registry folder;
    // stdout only, stderr goes to the test log.
    RunResult run(const std::string& arguments) {
        const std::string dir = "'" + m_dir.string();
        return orvane::e2e::runCommand(
            "HOME=" + dir + "/home' XDG_DATA_HOME=" + dir + "/data' XDG_CONFIG_HOME=" + dir +
            "/config' ORVANE_REGISTRY_DIR=" + dir + "' " + ORVANE_TOOL + " run " + arguments);
    }

    // `text` with the test folder written as "$DIR".
    std::string masked(const std::string& text) const {
        return orvane::e2e::withPathNamed(text, m_dir.string(), "$DIR");
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

TEST_F(OrvaneRun, BrokenPackagesEndWithTheDriversMessages) {
    // A package that cannot even be examined counts as missing: a link to itself, and one behind
    // a folder the user may not enter (root may enter every folder).
    fs::create_symlink("loop.ovsp", m_dir / "loop.ovsp");
    fs::create_directory(m_dir / "zu");
    write("zu/setup.ovsp", "{}");
    fs::permissions(m_dir / "zu", fs::perms::none);
    std::vector<std::string> missing = {"missing.ovsp", "loop.ovsp"};
    if (::geteuid() != 0)
        missing.push_back("zu/setup.ovsp");
    for (const std::string& name : missing) {
        const RunResult result = run((m_dir / name).string());
        EXPECT_EQ(result.exitCode, 1) << name;
        EXPECT_EQ(masked(result.out),
                  R"({"event":"msgbox","flags":16,"caption":"Kritischer Fehler","text":)"
                  R"("Install Script $DIR/)" +
                      name +
                      R"( nicht gefunden."})"
                      "\n{\"event\":\"exit\",\"code\":1}\n");
    }
    fs::permissions(m_dir / "zu", fs::perms::owner_all);
    for (const char* content : {"", "[]", "{\"programfile\": ", "{\"other\": 1}"}) {
        const RunResult result = run(write("broken.ovsp", content));
        EXPECT_EQ(result.exitCode, 1) << content;
        EXPECT_NE(result.out.find("\"caption\":\"Installer\",\"text\":\"Wert 'programfile' nicht "
                                  "gefunden"),
                  std::string::npos)
            << result.out;
    }
}

// The boxes of failed scripts are compared by the golden scripts under tests/scripts/errors;
// through the command each kind of failure ends the transcript and the process with code 1.
TEST_F(OrvaneRun, ScriptFailuresExitOne) {
    for (const char* script :
         {"void main() { x = ; }", "void unused() { mesageBox(\"x\"); } void main() { }",
          "int f(int x) { return x % 0; } void main() { f(1); }", "void Main() { }"}) {
        const RunResult result = run("--script " + write("bad.ovs", script));
        EXPECT_EQ(result.exitCode, 1) << script;
        EXPECT_TRUE(result.out.ends_with("\"}\n{\"event\":\"exit\",\"code\":1}\n")) << result.out;
    }
}

TEST_F(OrvaneRun, InstallsFilesAShortcutAndTheUninstallData) {
    // binfiles[0] is "ABC" 1,000 times, Base64 in lines of 76 characters; binfiles[1] 00 01 02 FF.
    std::string lines;
    for (int k = 0; k < 1000; ++k)
        lines += (k > 0 && k % 19 == 0 ? "\\n" : "") + std::string("QUJD");
    const std::string package =
        write("setup.ovsp",
              R"({"programfile": "void main() {\n  string ziel;\n  ziel = \")" + m_dir.string() +
                  R"(/Programme\\Demo\";\n)"
                  R"(  installFile(\"binfiles[0].bin\", ziel + \"\\abc.txt\");\n)"
                  R"(  installFile(\"binfiles[1].bin\", ziel + \"\\lib\\daten.bin\");\n)"
                  R"(  createLink(getDesktopDir() + \"\\Demo.desktop\", ziel + \"\\abc.txt\");\n)"
                  R"(  writeRegistryString(\"HKEY_CURRENT_USER\\Software\\Demo\\Pfad\", ziel);\n)"
                  R"(  saveUninstallData(ziel + \"\\uninstall.dat\");\n}\n", "binfiles": [)"
                  R"({"id": "abc", "bin": ")" +
                  lines + R"("}, {"id": "bin", "bin": "AAEC/w=="}]})");
    const RunResult result = run(package);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(masked(result.out),
              R"({"event":"file","path":"$DIR/Programme/Demo/abc.txt","bytes":3000}
{"event":"file","path":"$DIR/Programme/Demo/lib/daten.bin","bytes":4}
{"event":"link","path":"$DIR/home/Desktop/Demo.desktop","target":"$DIR/Programme/Demo/abc.txt"}
{"event":"registry","path":"HKEY_CURRENT_USER\\Software\\Demo\\Pfad","value":"$DIR/Programme\\Demo"}
{"event":"exit","code":0}
)");
    const fs::path demo = m_dir / "Programme/Demo";
    std::string abc;
    for (int k = 0; k < 1000; ++k)
        abc += "ABC";
    EXPECT_EQ(orvane::e2e::readFile(demo / "abc.txt"), abc);
    EXPECT_EQ(orvane::e2e::readFile(demo / "lib/daten.bin"), std::string("\x00\x01\x02\xFF", 4));
    EXPECT_EQ(masked(orvane::e2e::readFile(m_dir / "home/Desktop/Demo.desktop")),
              "[Desktop Entry]\nType=Application\nName=Demo\nExec=\"$DIR/Programme/Demo/abc.txt\"\n"
              "Path=$DIR/Programme/Demo/\nComment=Verknüpfung\n");
    EXPECT_EQ(
        masked(orvane::e2e::readFile(demo / "uninstall.dat")),
        "// Informationen zur Deinstallation\r\n"
        "// Automatisch erzeugt von Orvane-Setup 3.7\r\n\r\n"
        "[ordner]\r\n$DIR/home/Desktop/\r\n$DIR/home/\r\n$DIR/Programme/Demo/lib/\r\n"
        "$DIR/Programme/Demo/\r\n$DIR/Programme/\r\n"
        "[dateien]\r\n$DIR/home/Desktop/Demo.desktop\r\n$DIR/Programme/Demo/lib/daten.bin\r\n"
        "$DIR/Programme/Demo/abc.txt\r\n"
        "[registry]\r\nHKEY_CURRENT_USER\\\\Software\\Demo\r\nHKEY_CURRENT_USER\\\\Software\r\n");
}

TEST_F(OrvaneRun, UsageErrorsExitTwo) {
    EXPECT_EQ(run("").exitCode, 2);
    EXPECT_EQ(run("--script").exitCode, 2);
    EXPECT_EQ(run("a.ovsp --script b.ovs").exitCode, 2);
    EXPECT_EQ(run("--scenario /nonexistent/file a.ovsp").exitCode, 2);
}

// A script file in any of the encodings a package may have; the script text is Latin-1 here.
struct EncodingCase {
    const char* name;
    std::string (*encode)(const std::string& latin1);
};

std::string asUtf16(const std::string& latin1, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char c : latin1) {
        bytes += bigEndian ? '\0' : c;
        bytes += bigEndian ? c : '\0';
    }
    return bytes;
}

std::string asUtf8(const std::string& latin1) {
    std::string bytes;
    for (const char c : latin1) {
        const auto code = static_cast<unsigned char>(c);
        if (code < 0x80) {
            bytes += c;
        } else {
            bytes += static_cast<char>(0xC0 | (code >> 6));
            bytes += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return bytes;
}

void PrintTo(const EncodingCase& c, std::ostream* os) {
    *os << c.name;
}

class ScriptEncoding : public OrvaneRun, public ::testing::WithParamInterface<EncodingCase> {};

// run --script, pack and check read a script file exactly as the engine reads a package.
TEST_P(ScriptEncoding, ReadsTheScriptAsThePackageWouldBe) {
    const std::string script =
        write("setup.ovs", GetParam().encode("void main() { messageBox(\"Gr\xFC\xDF"
                                             "e\"); }\r\n"));
    const std::string shown =
        "{\"event\":\"msgbox\",\"flags\":0,\"caption\":\"Messagebox\",\"text\":\"Grüße\"}\n"
        "{\"event\":\"exit\",\"code\":0}\n";
    EXPECT_EQ(run("--script " + script).out, shown);
    const std::string package = (m_dir / "setup.ovsp").string();
    ASSERT_EQ(orvane::e2e::runCommand(std::string(ORVANE_TOOL) + " pack -o " + package + " " +
                                      script + " >/dev/null")
                  .exitCode,
              0);
    EXPECT_EQ(run(package).out, shown);
    EXPECT_EQ(orvane::e2e::runCommand(std::string(ORVANE_TOOL) + " check " + script).exitCode, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, ScriptEncoding,
    ::testing::Values(
        EncodingCase{"Windows1252", [](const std::string& text) { return text; }},
        EncodingCase{"Utf8", asUtf8},
        EncodingCase{"Utf8WithMark",
                     [](const std::string& text) { return "\xEF\xBB\xBF" + asUtf8(text); }},
        EncodingCase{"Utf16Le", [](const std::string& text) { return asUtf16(text, false); }},
        EncodingCase{"Utf16Be", [](const std::string& text) { return asUtf16(text, true); }}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
