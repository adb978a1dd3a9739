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
    const mode_t oldMask = ::umask(022);
    for (std::size_t k = 0; k < cases.size(); ++k)
        install("binfiles[" + std::to_string(k) + "].bin", path(std::to_string(k)));
    ::umask(oldMask);
    for (std::size_t k = 0; k < cases.size(); ++k) {
        EXPECT_EQ(fileMode(path(std::to_string(k))), cases[k].second ? 0755u : 0644u) << k;
        EXPECT_EQ(readFile(path(std::to_string(k))), cases[k].first);
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
