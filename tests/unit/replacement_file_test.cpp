// Replacing a file piece by piece, the writer thread, and desktop entries.
#include "atomic_file.h"
#include "background_writer.h"
#include "desktop_entry.h"
#include "install_test_support.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

namespace orvane::test {
namespace {

using ReplacementFileTest = TempFolderTest;

TEST_F(ReplacementFileTest, PiecesBecomeTheFileOnlyAtCommit) {
    const std::string target = path("a.bin");
    writeFile(target, "alt");
    ::chmod(target.c_str(), 0640);
    ReplacementFile file;
    std::string reason;
    ASSERT_TRUE(file.open(target, 0666, reason)) << reason;
    ASSERT_TRUE(file.write("neu ", reason) && file.write("und ganz", reason)) << reason;
    EXPECT_EQ(readFile(target), "alt");
    // The new content has no name until it is complete, so even SIGKILL leaves nothing behind.
    EXPECT_EQ(entriesOf(dir()), std::set<std::string>{"a.bin"});
    ASSERT_TRUE(file.commit(false, reason)) << reason;
    EXPECT_EQ(readFile(target), "neu und ganz");
    EXPECT_EQ(fileMode(target), 0640u); // a replaced file keeps its permissions
    EXPECT_EQ(entriesOf(dir()), std::set<std::string>{"a.bin"});
}

TEST_F(ReplacementFileTest, AbandonedOrFailedReplacementsLeaveTheTargetAndNoLitter) {
    const std::string target = path("a.bin");
    writeFile(target, "alt");
    std::string reason;
    {
        ReplacementFile abandoned;
        ASSERT_TRUE(abandoned.open(target, 0666, reason) && abandoned.write("halb", reason));
    }
    {
        const FileSizeLimit limit(4096);
        ReplacementFile tooLarge;
        ASSERT_TRUE(tooLarge.open(target, 0666, reason));
        EXPECT_FALSE(tooLarge.write(std::string(8192, 'x'), reason));
        EXPECT_EQ(reason, std::strerror(EFBIG));
        EXPECT_FALSE(tooLarge.commit(false, reason));
    }
    ReplacementFile missingFolder;
    EXPECT_FALSE(missingFolder.open(path("fehlt/a.bin"), 0666, reason));
    EXPECT_EQ(reason, std::strerror(ENOENT));
    EXPECT_EQ(readFile(target), "alt");
    EXPECT_EQ(entriesOf(dir()), std::set<std::string>{"a.bin"});
}

// Where a file system has no unnamed files, the named temporary file does not outlive a run ended
// by SIGTERM or SIGINT in the middle of a write.
class NamedTemporaryTest : public TempFolderTest, public ::testing::WithParamInterface<int> {};

TEST_P(NamedTemporaryTest, IsRemovedWhenASignalEndsTheProcess) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ReplacementFile file(TemporaryKind::Named);
        std::string reason;
        if (!file.open(path("gross.bin"), 0644, reason) || !file.write("halb", reason) ||
            entriesOf(dir()).size() != 1)
            ::_exit(2);
        ::raise(GetParam());
        ::_exit(3);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << WEXITSTATUS(status);
    EXPECT_EQ(WTERMSIG(status), GetParam());
    EXPECT_TRUE(entriesOf(dir()).empty());
}

INSTANTIATE_TEST_SUITE_P(Signals, NamedTemporaryTest, ::testing::Values(SIGTERM, SIGINT),
                         [](const auto& info) { return std::string(sigabbrev_np(info.param)); });

// A replacement for "out", opened.
class BackgroundWriterTest : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        ASSERT_TRUE(file.open(path("out"), 0666, reason)) << reason;
    }
    ReplacementFile file;
    std::string reason;
};

TEST_F(BackgroundWriterTest, WritesEveryPieceInOrder) {
    const std::string expected = patternBytes(3 * 1000 * 1000 + 17);
    {
        BackgroundWriter writer(file, 64 * 1024);
        // Pieces of changing sizes, none filling its buffer, so sizes are not assumed.
        for (std::size_t at = 0, step = 1; at < expected.size(); step = step * 3 % 65521) {
            const std::span<char> buffer = writer.buffer();
            const std::size_t size = std::min({step, buffer.size(), expected.size() - at});
            std::memcpy(buffer.data(), expected.data() + at, size);
            ASSERT_TRUE(writer.submit(size));
            at += size;
        }
        ASSERT_TRUE(writer.finish(reason)) << reason;
    }
    ASSERT_TRUE(file.commit(false, reason)) << reason;
    EXPECT_EQ(readFile(path("out")), expected);
}

TEST_F(BackgroundWriterTest, AFailedWriteStopsTheWriterAndGivesItsReason) {
    const FileSizeLimit limit(100 * 1024);
    {
        BackgroundWriter writer(file, 16 * 1024);
        int submitted = 0;
        while (submitted < 1000) {
            const std::span<char> buffer = writer.buffer();
            std::memset(buffer.data(), 'x', buffer.size());
            if (!writer.submit(buffer.size()))
                break;
            ++submitted;
        }
        EXPECT_LT(submitted, 1000) << "submit never reported the failed write";
        EXPECT_FALSE(writer.finish(reason));
        EXPECT_EQ(reason, std::strerror(EFBIG));
    }
    EXPECT_TRUE(entriesOf(dir()).empty());
}

TEST_F(BackgroundWriterTest, DestroyingItWithPiecesQueuedStopsTheThread) {
    {
        BackgroundWriter writer(file, 1024);
        for (int k = 0; k < 3; ++k) {
            std::memset(writer.buffer().data(), 'x', 1024);
            ASSERT_TRUE(writer.submit(1024));
        }
    } // an exception between submit() and finish() ends here
    ASSERT_TRUE(file.commit(false, reason)) << reason;
    EXPECT_LE(readFile(path("out")).size(), 3 * 1024u);
}

struct EntryCase {
    const char* name;
    ShellLink link;
    std::string expected;
};

class DesktopEntryTextTest : public ::testing::TestWithParam<EntryCase> {};

TEST_P(DesktopEntryTextTest, WritesTheEntry) {
    EXPECT_EQ(desktopEntryText(GetParam().link), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Links, DesktopEntryTextTest,
    ::testing::Values(
        EntryCase{"Plain",
                  {"/home/u/Desktop/Demo.desktop", "/opt/demo/bin/demo", "", "Verknüpfung",
                   "/opt/demo/bin/"},
                  "[Desktop Entry]\nType=Application\nName=Demo\nExec=\"/opt/demo/bin/demo\"\n"
                  "Path=/opt/demo/bin/\nComment=Verknüpfung\n"},
        // In Exec a quoted argument escapes " ` $ \ and doubles %; the value then escapes \ again.
        EntryCase{"ReservedCharactersInTheTarget",
                  {"/d/My App.v2.lnk", "/opt/a \"b\" `c` $HOME\\d 100%", "", "", "/opt/"},
                  "[Desktop Entry]\nType=Application\nName=My App.v2\n"
                  "Exec=\"/opt/a \\\\\"b\\\\\" \\\\`c\\\\` \\\\$HOME\\\\\\\\d 100%%\"\n"
                  "Path=/opt/\nComment=\n"},
        EntryCase{"ArgumentsAndLineBreaksCannotAddKeys",
                  {"/d/.desktop", "/bin/x", "--datei %f", "zwei\nZeilen\rExec=evil\t!", "/a\\b/"},
                  "[Desktop Entry]\nType=Application\nName=.desktop\n"
                  "Exec=\"/bin/x\" --datei %%f\nPath=/a\\\\b/\n"
                  "Comment=zwei\\nZeilen\\rExec=evil\\t!\n"},
        EntryCase{"NoFolderNoExtension",
                  {"Start", "prog", "", "", ""},
                  "[Desktop Entry]\nType=Application\nName=Start\nExec=\"prog\"\nPath=\n"
                  "Comment=\n"}),
    [](const auto& info) { return std::string(info.param.name); });

using DesktopEntryFileTest = TempFolderTest;

TEST_F(DesktopEntryFileTest, IsWrittenExecutableAtExactlyItsPath) {
    const ShellLink link{path("App.lnk"), "/usr/bin/true", "", "Verknüpfung", "/usr/bin/"};
    writeFile(link.file, "alt");
    ::chmod(link.file.c_str(), 0600);
    std::string reason;
    ASSERT_TRUE(writeDesktopEntry(link, reason)) << reason;
    EXPECT_EQ(readFile(link.file), desktopEntryText(link));
    EXPECT_EQ(fileMode(link.file), 0755u);
    EXPECT_FALSE(writeDesktopEntry({path("fehlt/App.desktop"), "/x", "", "", "/"}, reason));
    EXPECT_EQ(reason, std::strerror(ENOENT));
    EXPECT_EQ(entriesOf(dir()), std::set<std::string>{"App.lnk"});
}

} // namespace
} // namespace orvane::test
