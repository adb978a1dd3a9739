// The uninstall list: where entries go, and the saved file.
#include "install_test_support.h"

#include <cerrno>
#include <cstring>

namespace orvane::test {
namespace {

struct EntryCase {
    const char* name;
    std::vector<std::pair<std::string, std::string>> adds; // section, entry
    std::vector<std::string> expected;                     // the lines below the three header lines
};

class UninstallEntryTest : public ::testing::TestWithParam<EntryCase> {};

TEST_P(UninstallEntryTest, PutsEachEntryDirectlyBelowTheFirstEqualHeader) {
    UninstallList list;
    for (const auto& [section, entry] : GetParam().adds)
        addToUninstallData(list, section, entry);
    EXPECT_EQ(entriesBelowHeader(list), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Sections, UninstallEntryTest,
    ::testing::Values(
        EntryCase{"SectionsInOrderOfFirstUse",
                  {{"ordner", "/p/"}, {"dateien", "/p/a"}, {"ordner", "/p/q/"}, {"x", ""}},
                  {"[ordner]", "/p/q/", "/p/", "[dateien]", "/p/a", "[x]", ""}},
        EntryCase{"SectionNamesAreCaseSensitive",
                  {{"dateien", "a"}, {"Dateien", "b"}, {"dateien", "c"}},
                  {"[dateien]", "c", "a", "[Dateien]", "b"}},
        EntryCase{"AnEntryEqualToAHeaderCountsAsThatHeader",
                  {{"ordner", "[dateien]"}, {"dateien", "a"}, {"ordner", "b"}},
                  {"[ordner]", "b", "[dateien]", "a"}}),
    [](const auto& info) { return std::string(info.param.name); });

using SaveUninstallDataTest = TempFolderTest;

TEST_F(SaveUninstallDataTest, SavingTwiceLeavesTheListAsItStoodAtTheSecondCall) {
    UninstallList list;
    addToUninstallData(list, "registry", R"(HKEY_LOCAL_MACHINE\\Software\Foo)");
    const std::string target = path("uninst.dat");
    saveUninstallData(list, target);
    ::chmod(target.c_str(), 0640);
    addToUninstallData(list, "dateien",
                       "/opt/Gr\xC3\xBC\xC3\x9F"
                       "e/a.txt");
    // Scripts may separate folders with "\" as well.
    saveUninstallData(list, dir() + "\\uninst.dat");

    EXPECT_EQ(readFile(target), "// Informationen zur Deinstallation\r\n"
                                "// Automatisch erzeugt von Orvane-Setup 3.7\r\n"
                                "\r\n"
                                "[registry]\r\n"
                                "HKEY_LOCAL_MACHINE\\\\Software\\Foo\r\n"
                                "[dateien]\r\n"
                                "/opt/Gr\xC3\xBC\xC3\x9F"
                                "e/a.txt\r\n");
    EXPECT_EQ(fileMode(target), 0640u);
    // The manifest is saved beside it, and nothing else is left.
    EXPECT_EQ(entriesOf(dir()), (std::set<std::string>{"uninst.dat", "uninst.dat.manifest"}));
}

TEST_F(SaveUninstallDataTest, AFileThatCannotBeWrittenRaisesTheFileErrorAndLeavesNothing) {
    fs::create_directory(path("folder"));
    UninstallList list;
    for (const auto& [target, error] :
         {std::pair{path("missing/u.dat"), ENOENT}, std::pair{path("folder"), EISDIR}}) {
        EXPECT_EQ(scriptErrorOf([&] { saveUninstallData(list, target); }),
                  cannotCreate(target, std::strerror(error)));
    }
    EXPECT_EQ(list.lines().size(), kUninstallHeaderLines.size());
    EXPECT_EQ(entriesOf(dir()), std::set<std::string>{"folder"});
}

} // namespace
} // namespace orvane::test
