// The uninstall list: where entries go, and the saved file.
#include "registry_test_support.h"
#include "script_error.h"
#include "uninstall_list.h"

#include <cstring>
#include <sys/stat.h>

namespace orvane::test {
namespace {

struct EntryCase {
    const char* name;
    std::vector<std::pair<std::string, std::string>> adds; // section, entry
    std::vector<std::string> expected;                     // the lines below the three header lines
};

void PrintTo(const EntryCase& c, std::ostream* os) {
    *os << c.name;
}

class UninstallEntryTest : public ::testing::TestWithParam<EntryCase> {};

TEST_P(UninstallEntryTest, PutsEachEntryDirectlyBelowTheFirstEqualHeader) {
    UninstallList list;
    for (const auto& [section, entry] : GetParam().adds)
        addToUninstallData(list, section, entry);
    std::vector<std::string> expected(kUninstallHeaderLines.begin(), kUninstallHeaderLines.end());
    expected.insert(expected.end(), GetParam().expected.begin(), GetParam().expected.end());
    EXPECT_EQ(list.lines(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Sections, UninstallEntryTest,
    ::testing::Values(EntryCase{"NewestEntryFirst",
                                {{"dateien", R"(C:\a.txt)"}, {"dateien", R"(C:\b.txt)"}},
                                {"[dateien]", R"(C:\b.txt)", R"(C:\a.txt)"}},
                      EntryCase{
                          "SectionsInOrderOfFirstUse",
                          {{"ordner", "/p/"}, {"dateien", "/p/a"}, {"ordner", "/p/q/"}, {"x", ""}},
                          {"[ordner]", "/p/q/", "/p/", "[dateien]", "/p/a", "[x]", ""}},
                      EntryCase{"SectionNamesAreCaseSensitive",
                                {{"dateien", "a"}, {"Dateien", "b"}, {"dateien", "c"}},
                                {"[dateien]", "c", "a", "[Dateien]", "b"}},
                      EntryCase{"AnEntryEqualToAHeaderCountsAsThatHeader",
                                {{"ordner", "[dateien]"}, {"dateien", "a"}, {"ordner", "b"}},
                                {"[ordner]", "b", "[dateien]", "a"}}),
    [](const auto& info) { return std::string(info.param.name); });

class SaveUninstallDataTest : public TempRegistryTest {};

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
    struct stat info {};
    ::stat(target.c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir()), {}), 1)
        << "a temporary file was left behind";
}

TEST_F(SaveUninstallDataTest, AFileThatCannotBeWrittenRaisesTheFileErrorAndLeavesNothing) {
    std::filesystem::create_directory(path("folder"));
    struct Case {
        std::string target;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {path("missing/u.dat"), "Datei " + path("missing/u.dat") + " kann nicht erstellt werden. " +
                                    std::strerror(ENOENT)},
        {path("folder"),
         "Datei " + path("folder") + " kann nicht erstellt werden. " + std::strerror(EISDIR)},
    };
    UninstallList list;
    for (const auto& c : cases) {
        try {
            saveUninstallData(list, c.target);
            ADD_FAILURE() << "no error for " << c.target;
        } catch (const ScriptError& e) {
            EXPECT_EQ(std::string(e.what()), c.expected);
        }
    }
    EXPECT_EQ(list.lines().size(), kUninstallHeaderLines.size());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir()), {}), 1);
}

} // namespace
} // namespace orvane::test
