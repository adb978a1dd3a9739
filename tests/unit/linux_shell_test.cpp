// The Linux shell: standard folders from the XDG variables, and starting programs and documents.
#include "install_test_support.h"
#include "linux_shell.h"

#include <chrono>
#include <thread>

namespace orvane::test {
namespace {

struct FolderCase {
    const char* name;
    ShellFolder folder;
    std::optional<std::string> dataHome; // relative to the test folder ("T")
    std::string userDirs;                // content of user-dirs.dirs; empty: no such file
    std::string expected;                // "T" stands for the test folder
};

class ShellFolderTest : public TempFolderTest, public ::testing::WithParamInterface<FolderCase> {};

TEST_P(ShellFolderTest, FollowsTheXdgVariables) {
    const FolderCase& c = GetParam();
    fs::create_directories(path("config"));
    setVariable("HOME", path("home"));
    setVariable("XDG_CONFIG_HOME", path("config"));
    setVariable("XDG_DATA_HOME", c.dataHome ? std::optional(path(*c.dataHome)) : std::nullopt);
    if (!c.userDirs.empty())
        writeFile(path("config/user-dirs.dirs"), c.userDirs);
    EXPECT_EQ(LinuxShell().folderPath(c.folder), dir() + c.expected.substr(1));
}

// The defaults with XDG_DATA_HOME set are covered by the golden script install/folders.
INSTANTIATE_TEST_SUITE_P(
    Folders, ShellFolderTest,
    ::testing::Values(FolderCase{"ProgramsWithoutDataHome", ShellFolder::Programs, std::nullopt, "",
                                 "T/home/.local/share/applications"},
                      FolderCase{"ProgramsWithASlashAtTheEndOfTheDataHome", ShellFolder::Programs,
                                 "data/", "", "T/data/applications"},
                      FolderCase{"DesktopFromTheUserFolders", ShellFolder::Desktop, "data",
                                 "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n", "T/home/Schreibtisch"},
                      FolderCase{"DocumentsFromTheUserFoldersWithoutTrailingSlash",
                                 ShellFolder::Documents, "data",
                                 "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente/\"\n", "T/home/Dokumente"}),
    [](const auto& info) { return std::string(info.param.name); });

// Waits for a file that a started process writes; false when it never comes.
bool waitForFile(const std::string& path) {
    using namespace std::chrono;
    // Generous: the machine may be busy; a process that was never started never writes it.
    const auto deadline = steady_clock::now() + seconds(30);
    while (!fs::exists(path)) {
        if (steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(milliseconds(20));
    }
    return true;
}

void writeScript(const std::string& path, const std::string& body) {
    writeFile(path, "#!/bin/sh\n" + body);
    ::chmod(path.c_str(), 0755);
}

class ShellOpenTest : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        fs::create_directories(path("bin"));
        fs::create_directories(path("ordner"));
        writeFile(path("doc.txt"), "text");
        // Stands in for the desktop's handler: records what it was asked to open, and where.
        writeScript(path("bin/xdg-open"),
                    "echo \"$PWD|$1\" > opened.tmp && mv opened.tmp opened\n");
        setVariable("PATH", path("bin") + ":" + std::getenv("PATH"));
    }
};

TEST_F(ShellOpenTest, ChoosesWhatToDoWithAFile) {
    writeScript(path("prog.sh"), "exit 0\n");
    const std::vector<std::pair<std::string, OpenAction>> cases = {
        {path("prog.sh"), OpenAction::startProgram},
        {"xdg-open", OpenAction::startProgram}, // a bare name found on PATH
        {path("doc.txt"), OpenAction::openWithDefault},
        {path("ordner"), OpenAction::openWithDefault},
        {"https://example.org/hilfe", OpenAction::openWithDefault},
        {"mailto:info@example.org", OpenAction::openWithDefault},
        {path("fehlt"), OpenAction::ignore},
        {"C:/Programme/setup.exe", OpenAction::ignore},
        {"gibt-es-nirgends", OpenAction::ignore},
        {"", OpenAction::ignore},
    };
    for (const auto& [file, action] : cases)
        EXPECT_EQ(openActionFor(file), action) << file;
}

TEST_F(ShellOpenTest, StartsAProgramDetachedWithItsParametersInItsFolder) {
    // The program waits for a file that this test writes only after open() returned: open() would
    // never return if it waited for the program.
    writeScript(path("prog.sh"),
                "i=0\n"
                "while [ ! -e go ] && [ $i -lt 300 ]; do sleep 0.1; i=$((i+1)); done\n"
                "[ -e go ] && echo \"$PWD|$1|$2\" > result.tmp && mv result.tmp result\n");
    LinuxShell().open(path("prog.sh"), "\"eins zwei\" drei", path("ordner"));
    writeFile(path("ordner/go"), "");
    ASSERT_TRUE(waitForFile(path("ordner/result")));
    EXPECT_EQ(readFile(path("ordner/result")), path("ordner") + "|eins zwei|drei\n");
}

TEST_F(ShellOpenTest, OpensDocumentsWithTheDefaultHandler) {
    LinuxShell().open(path("doc.txt"), "--wird-nicht-weitergegeben", path("ordner"));
    ASSERT_TRUE(waitForFile(path("ordner/opened")));
    EXPECT_EQ(readFile(path("ordner/opened")), path("ordner") + "|" + path("doc.txt") + "\n");
}

// A relative file is looked up in the working folder first, not in the engine's own folder.
TEST_F(ShellOpenTest, FindsARelativeFileInTheWorkingFolder) {
    writeScript(path("ordner/prog.sh"), "echo \"$PWD|$1\" > result.tmp && mv result.tmp result\n");
    writeFile(path("ordner/liesmich.txt"), "text");
    LinuxShell().open("prog.sh", "eins", path("ordner"));
    LinuxShell().open("./liesmich.txt", "", path("ordner/"));
    ASSERT_TRUE(waitForFile(path("ordner/result")));
    EXPECT_EQ(readFile(path("ordner/result")), path("ordner") + "|eins\n");
    ASSERT_TRUE(waitForFile(path("ordner/opened")));
    EXPECT_EQ(readFile(path("ordner/opened")),
              path("ordner") + "|" + path("ordner/./liesmich.txt") + "\n");
}

} // namespace
} // namespace orvane::test
