// installFile, createLink and the folders they create, and the start-menu listing.
#include "desktop_entry.h"
#include "file_install.h"
#include "folder_listing.h"
#include "install_builtins.h"
#include "install_test_support.h"
#include "json_reader.h"
#include "linux_shell.h"
#include "package_lookup.h"
#include "uninstall_list.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <ostream>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace orvane::test {
namespace {

struct FolderCase {
    const char* name;
    std::vector<std::string> folders; // made before, inside the test folder
    std::vector<std::string> files;
    std::string path;
    std::vector<std::string> entries; // the list below its header afterwards
    int error = 0;                    // the reason's errno, 0 when it succeeds
};

class CreateFolderPathTest : public TempFolderTest,
                             public ::testing::WithParamInterface<FolderCase> {};

TEST_P(CreateFolderPathTest, CreatesAndRecordsTheMissingFolders) {
    const FolderCase& c = GetParam();
    for (const auto& folder : c.folders)
        fs::create_directories(path(folder));
    for (const auto& file : c.files)
        writeFile(path(file), "");
    UninstallList list;
    std::string reason;
    EXPECT_EQ(createFolderPath(path(c.path), list, reason), c.error == 0);
    EXPECT_EQ(reason, c.error == 0 ? "" : std::strerror(c.error));
    EXPECT_EQ(entriesBelowHeader(list, dir()), c.entries);
    for (std::size_t k = 1; k < c.entries.size(); ++k)
        EXPECT_TRUE(fs::is_directory(dir() + c.entries[k].substr(1))) << c.entries[k];
}

// The innermost folder on top is checked with installFile below.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Paths, CreateFolderPathTest, ::testing::Values(
    FolderCase{"ThePartAfterTheLastSeparatorIsNoFolder", {}, {}, "Neu/Teil",
               {"[ordner]", "T/Neu/"}},
    FolderCase{"ExistingFoldersAreNeitherRecordedNorTouched", {"X/Y"}, {}, "X/Y/z", {}},
    FolderCase{"DoubledSeparatorsNameTheSameFolder", {}, {}, "A//B/",
               {"[ordner]", "T/A//B/", "T/A/"}},
    FolderCase{"AFileInTheWayStopsWithTheFoldersMadeSoFar", {}, {"Datei"}, "Neu/../Datei/unter/x",
               {"[ordner]", "T/Neu/"}, ENOTDIR}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// A package whose binfiles[k].bin hold `texts` in order.
class InstallFileTest : public TempFolderTest {
  protected:
    void setFiles(const std::vector<std::string>& texts) {
        m_document = std::make_unique<PackageDocument>(readJson(binfilesJson(texts)).document);
        m_lookup = std::make_unique<PackageLookup>(*m_document);
    }
    InstalledFile install(const std::string& s1, const std::string& s2,
                          const PaintBetweenChunks& paint = {}) {
        return installFile(*m_lookup, m_list, s1, s2, paint);
    }
    std::string installError(const std::string& s1, const std::string& s2) {
        return scriptErrorOf([&] { install(s1, s2); });
    }
    std::vector<std::string> entries() const { return entriesBelowHeader(m_list, dir()); }

    UninstallList m_list;

  private:
    std::unique_ptr<PackageDocument> m_document;
    std::unique_ptr<PackageLookup> m_lookup;
};

TEST_F(InstallFileTest, DecodesPieceByPieceIntoNewFoldersAndRecordsTheFileLast) {
    const std::string bytes = patternBytes(3 * 1024 * 1024 + 5);
    setFiles({base64Lines(bytes)});
    fs::create_directory(path("Prog"));
    const std::string target = path("Prog/Foo/Bar/a.dll");
    int pieces = 0;
    bool visibleEarly = false;
    const InstalledFile installed =
        install("binfiles[0].bin", dir() + "\\Prog\\Foo/Bar\\a.dll", [&] {
            ++pieces;
            visibleEarly = visibleEarly || fs::exists(target);
        });
    EXPECT_EQ(installed.path, target);
    EXPECT_EQ(installed.bytes, bytes.size());
    EXPECT_EQ(readFile(target), bytes);
    EXPECT_GE(pieces, 3);
    EXPECT_FALSE(visibleEarly) << "the file appeared before it was complete";
    EXPECT_EQ(entries(), (std::vector<std::string>{"[ordner]", "T/Prog/Foo/Bar/", "T/Prog/Foo/",
                                                   "[dateien]", "T/Prog/Foo/Bar/a.dll"}));
    EXPECT_EQ(entriesOf(path("Prog/Foo/Bar")), std::set<std::string>{"a.dll"});
}

TEST_F(InstallFileTest, APathWithoutFolderIsWrittenInTheCurrentFolder) {
    setFiles({"QUJD"});
    const std::string previous = fs::current_path();
    ASSERT_EQ(::chdir(dir().c_str()), 0);
    const InstalledFile installed = install("binfiles[0].bin", "relativ.txt");
    ASSERT_EQ(::chdir(previous.c_str()), 0);
    EXPECT_EQ(installed.path, "relativ.txt");
    EXPECT_EQ(readFile(path("relativ.txt")), "ABC");
    EXPECT_EQ(m_list.lines().back(), "relativ.txt");
    EXPECT_EQ(entries().front(), "[dateien]");
}

TEST_F(InstallFileTest, FilesThatStartLikeProgramsBecomeExecutable) {
    const std::vector<std::pair<std::string, bool>> cases = {
        {"#!/bin/sh\necho hallo\n", true},
        {"\x7f"
         "ELF\x02\x01\x01",
         true},
        {"text #!", false},
        {"", false},
    };
    std::vector<std::string> texts;
    for (const auto& [content, _] : cases)
        texts.push_back(base64Lines(content));
    setFiles(texts);
    // Whatever the umask, what is installed (folders included) is usable by everyone.
    const mode_t oldMask = ::umask(077);
    for (std::size_t k = 0; k < cases.size(); ++k)
        install("binfiles[" + std::to_string(k) + "].bin", path("neu/" + std::to_string(k)));
    ::umask(oldMask);
    EXPECT_EQ(fileMode(path("neu")), 0755u);
    for (std::size_t k = 0; k < cases.size(); ++k) {
        EXPECT_EQ(fileMode(path("neu/" + std::to_string(k))), cases[k].second ? 0755u : 0644u) << k;
        EXPECT_EQ(readFile(path("neu/" + std::to_string(k))), cases[k].first);
    }
}

// installFile reads the package through packageString, whose messages the package tests check.
TEST_F(InstallFileTest, ALookupErrorCreatesAndRecordsNothing) {
    setFiles({"QUJD"});
    EXPECT_EQ(installError("binfiles", path("neu/datei.txt")),
              "Konvertierung von Array in String wird nicht unterstützt");
    EXPECT_TRUE(entriesOf(dir()).empty());
    EXPECT_TRUE(entries().empty());
}

TEST_F(InstallFileTest, WriteErrorsNameThePathAndTheReasonAndKeepTheOldFile) {
    setFiles({base64Lines(patternBytes(512 * 1024))});
    const std::string target = path("neu/gross.bin");
    fs::create_directories(path("neu"));
    writeFile(target, "alt");
    fs::create_directories(path("ordner/gross.bin"));
    {
        const FileSizeLimit limit(64 * 1024);
        EXPECT_EQ(installError("binfiles[0].bin", dir() + "\\neu\\gross.bin"),
                  cannotCreate(target, std::strerror(EFBIG)));
    }
    EXPECT_EQ(installError("binfiles[0].bin", path("ordner/gross.bin")),
              cannotCreate(path("ordner/gross.bin"), std::strerror(EISDIR)));
    EXPECT_EQ(readFile(target), "alt");
    EXPECT_EQ(entriesOf(path("neu")), std::set<std::string>{"gross.bin"});
    EXPECT_TRUE(entries().empty());
}

// A shell whose shortcuts cannot be saved.
class FailingShell : public Shell {
  public:
    std::string folderPath(ShellFolder) override { return {}; }
    bool saveLink(const ShellLink&, std::string& reason) override {
        reason = "Keine Berechtigung";
        return false;
    }
    void open(const std::string&, const std::string&, const std::string&) override {}
};

using CreateLinkTest = TempFolderTest;

TEST_F(CreateLinkTest, WritesTheEntryInNewFoldersAndRecordsBoth) {
    LinuxShell shell;
    UninstallList list;
    const ShellLink link =
        createLink(shell, list, dir() + "\\Start\\App\\App.desktop", "/opt/App\\bin/app");
    EXPECT_EQ(link.file, path("Start/App/App.desktop"));
    EXPECT_EQ(link.target, "/opt/App/bin/app");
    EXPECT_EQ(link.workingFolder, "/opt/App/bin/");
    EXPECT_EQ(link.description, "Verknüpfung");
    EXPECT_EQ(readFile(link.file), desktopEntryText(link));
    EXPECT_EQ(entriesBelowHeader(list, dir()),
              (std::vector<std::string>{"[ordner]", "T/Start/App/", "T/Start/", "[dateien]",
                                        "T/Start/App/App.desktop"}));
}

TEST_F(CreateLinkTest, AShortcutThatCannotBeSavedIsAnErrorAndNotRecorded) {
    FailingShell shell;
    UninstallList list;
    EXPECT_EQ(scriptErrorOf([&] { createLink(shell, list, path("Neu/App.desktop"), "/bin/true"); }),
              cannotCreate(path("Neu/App.desktop"), "Keine Berechtigung"));
    EXPECT_EQ(entriesBelowHeader(list, dir()), (std::vector<std::string>{"[ordner]", "T/Neu/"}));
}

// The three ways a script writes a file, each given the target path; a refusal raises.
struct Writer {
    const char* name;
    void (*write)(const std::string& target);
};

const Writer kWriters[] = {
    {"InstallFile",
     [](const std::string& target) {
         const PackageDocument document(readJson(binfilesJson({"bmV1"})).document);
         const PackageLookup lookup(document);
         UninstallList list;
         installFile(lookup, list, "binfiles[0].bin", target, {});
     }},
    {"CreateLink",
     [](const std::string& target) {
         LinuxShell shell;
         UninstallList list;
         createLink(shell, list, target, "/bin/true");
     }},
    {"SaveUninstallData",
     [](const std::string& target) { saveUninstallData(UninstallList(), target); }},
};

// What stands at the target before the write: made by `prepare` in the test folder, with the
// target's name relative to it.
struct Obstacle {
    const char* name;
    const char* target;
    bool (*prepare)(const std::string& dir); // false: cannot be made here (the reason printed)
    bool refused;
};

const Obstacle kObstacles[] = {
    // Someone else's file behind a link: the link is replaced, the file keeps content and mode.
    {"LinkToAnotherFile", "App/config.ini",
     [](const std::string& dir) {
         writeFile(dir + "/geheim", "geheim");
         ::chmod((dir + "/geheim").c_str(), 0600);
         fs::create_directory(dir + "/App");
         fs::create_symlink(dir + "/geheim", dir + "/App/config.ini");
         return true;
     },
     false},
    {"LinkToNothing", "App/config.ini",
     [](const std::string& dir) {
         fs::create_directory(dir + "/App");
         fs::create_symlink(dir + "/fehlt", dir + "/App/config.ini");
         return true;
     },
     false},
    // A link to a folder earlier in the path is followed.
    {"LinkedFolderOnTheWay", "App/config.ini",
     [](const std::string& dir) {
         fs::create_directory(dir + "/echt");
         fs::create_directory_symlink(dir + "/echt", dir + "/App");
         return true;
     },
     false},
    {"NamedPipe", "App/config.ini",
     [](const std::string& dir) {
         fs::create_directory(dir + "/App");
         return ::mkfifo((dir + "/App/config.ini").c_str(), 0644) == 0;
     },
     true},
    {"DeviceNode", "App/config.ini",
     [](const std::string& dir) {
         fs::create_directory(dir + "/App");
         if (::geteuid() != 0)
             return false;
         return ::mknod((dir + "/App/config.ini").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
     },
     true},
    // A line break would split the uninstall data's line; no folder is made for it either.
    {"LineBreakInThePath", "Neu\nZeile/config.ini", [](const std::string&) { return true; }, true},
};

void PrintTo(const Writer& writer, std::ostream* os) {
    *os << writer.name;
}

void PrintTo(const Obstacle& obstacle, std::ostream* os) {
    *os << obstacle.name;
}

class WriteTargetTest : public TempFolderTest,
                        public ::testing::WithParamInterface<std::tuple<Writer, Obstacle>> {};

TEST_P(WriteTargetTest, ReplacesLinksAndRefusesSpecialFilesAndLineBreaks) {
    const auto& [writer, obstacle] = GetParam();
    if (!obstacle.prepare(dir()))
        GTEST_SKIP() << obstacle.name << " can be made only by root";
    const std::string target = path(obstacle.target);
    const auto before = entriesOf(dir());
    const std::string error = scriptErrorOf([&] { writer.write(target); });
    struct stat info {};
    if (obstacle.refused) {
        EXPECT_EQ(error, cannotCreate(target, "Keine reguläre Datei"));
        EXPECT_EQ(entriesOf(dir()), before);
        EXPECT_TRUE(::lstat(target.c_str(), &info) != 0 || !S_ISREG(info.st_mode));
        return;
    }
    EXPECT_EQ(error, "no error");
    ASSERT_EQ(::lstat(target.c_str(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode)) << "the link was written through";
    if (fs::exists(path("geheim"))) {
        EXPECT_EQ(readFile(path("geheim")), "geheim");
        EXPECT_EQ(fileMode(path("geheim")), 0600u);
    }
}

INSTANTIATE_TEST_SUITE_P(Writers, WriteTargetTest,
                         ::testing::Combine(::testing::ValuesIn(kWriters),
                                            ::testing::ValuesIn(kObstacles)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) +
                                    std::get<1>(info.param).name;
                         });

using StartMenuTest = TempFolderTest;

TEST_F(StartMenuTest, ListsVisibleSubFoldersSortedAndLinksToFolders) {
    for (const char* folder : {"Zubehör", "Spiele", ".versteckt", "Spiele/Innen"})
        fs::create_directory(path(folder));
    writeFile(path("datei.desktop"), "");
    fs::create_directory_symlink(path("Spiele"), path("Verweis"));
    fs::create_symlink(path("fehlt"), path("Kaputt"));
    EXPECT_EQ(visibleSubFolders(dir()), (std::vector<std::string>{"Spiele", "Verweis", "Zubehör"}));
    EXPECT_TRUE(visibleSubFolders(path("fehlt")).empty());
    EXPECT_TRUE(visibleSubFolders(path("datei.desktop")).empty());
}

TEST_F(StartMenuTest, TheArrayGrowsBeyondOneHundredNames) {
    std::vector<std::string> names;
    for (int k = 0; k < 150; ++k)
        names.push_back("Ordner" + std::to_string(1000 + k));
    const Value many = install_builtins::stringArrayValue(names);
    ASSERT_TRUE(many.isArray());
    EXPECT_EQ(many.typ, ttGenTypeString);
    EXPECT_EQ(many.array->arraySize, 150);
    ASSERT_EQ(many.array->stringSlots.size(), 151u);
    EXPECT_EQ(many.array->stringSlots[0], "");
    EXPECT_EQ(many.array->stringSlots[1], "Ordner1000");
    EXPECT_EQ(many.array->stringSlots[150], "Ordner1149");
    const Value none = install_builtins::stringArrayValue({});
    EXPECT_EQ(none.array->arraySize, 0);
    EXPECT_EQ(none.array->stringSlots.size(), 101u);
}

} // namespace
} // namespace orvane::test
