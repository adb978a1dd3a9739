// writeRegistryString: root choice, key creation and recording, value names, and failure boxes.
#include "recording_dialog.h"
#include "registry_builtins.h"
#include "registry_test_support.h"
#include "uninstall_list.h"

#include <sqlite3.h>

#include <functional>

namespace orvane::test {
namespace {

constexpr const char* kFailureBox =
    "Unkritischer Fehler|16|"
    "Setup konnte keine Daten in die Windows-Registrierdatenbank schreiben.\r"
    "Wahrscheinlich haben Sie nicht die n\xC3\xB6tigen Rechte.\r"
    "Melden Sie sich als Administrator an, oder fragen Sie Ihren Systemadministrator\n";

std::string describeBoxes(const RecordingDialog& dialog) {
    std::string text;
    for (const auto& box : dialog.boxes())
        text += box.caption + '|' + std::to_string(box.flags) + '|' + box.text + '\n';
    return text;
}

using RegistryBuiltinTest = TempRegistryTest;

struct WriteCase {
    const char* name;
    const char* s1;
    const char* landsAt;  // hive, key path and value name, separated by "|"
    const char* recorded; // the lines below the list's three header lines, each ending in "\n"
};

void PrintTo(const WriteCase& c, std::ostream* os) {
    *os << c.s1;
}

std::string joinLines(const std::vector<std::string>& lines, std::size_t from) {
    std::string text;
    for (std::size_t i = from; i < lines.size(); ++i)
        text += lines[i] + '\n';
    return text;
}

class WriteRegistryStringTest : public TempRegistryTest,
                                public ::testing::WithParamInterface<WriteCase> {};

TEST_P(WriteRegistryStringTest, WritesTheValueAndRecordsEachCreatedKey) {
    const auto& c = GetParam();
    RegistryStore store(registryFilesFromEnvironment());
    UninstallList list;
    RecordingDialog dialog;
    ASSERT_TRUE(store.createKey(Hive::CurrentUser, R"(\SOFTWARE\ACME)").ok());

    EXPECT_TRUE(writeRegistryString(store, list, dialog, c.s1, "data"));
    EXPECT_EQ(describeBoxes(dialog), "");
    const std::string landsAt = c.landsAt;
    const auto bar = landsAt.find('|', 5);
    const Hive hive = landsAt.starts_with("HKLM") ? Hive::LocalMachine : Hive::CurrentUser;
    const Hive other = hive == Hive::CurrentUser ? Hive::LocalMachine : Hive::CurrentUser;
    const std::string key = landsAt.substr(5, bar - 5);
    const std::string name = landsAt.substr(bar + 1);
    EXPECT_EQ(readValue(store, hive, key, name), "data");
    EXPECT_EQ(readValue(store, other, key, name), std::nullopt);
    EXPECT_EQ(joinLines(list.lines(), kUninstallHeaderLines.size()), c.recorded);
}

// The machine hive starts with \Software\Microsoft\Windows\CurrentVersion, so Software exists
// there; the user hive holds \SOFTWARE\ACME.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Paths, WriteRegistryStringTest, ::testing::Values(
    WriteCase{"NewKeysDeepestFirst", R"(HKEY_LOCAL_MACHINE\Software\Foo\Bar\Path)",
              R"(HKLM|\Software\Foo\Bar|Path)",
              "[registry]\n" R"(HKEY_LOCAL_MACHINE\\Software\Foo\Bar)" "\n"
              R"(HKEY_LOCAL_MACHINE\\Software\Foo)" "\n"},
    WriteCase{"LowerCaseRootIsTheUserHive", R"(hkey_local_machine\Software\Foo\V)",
              R"(HKCU|\Software\Foo|V)",
              "[registry]\n" R"(hkey_local_machine\\Software\Foo)" "\n"},
    WriteCase{"ShortRootIsTheUserHive", R"(HKLM\Foo\V)", R"(HKCU|\Foo|V)",
              "[registry]\n" R"(HKLM\\Foo)" "\n"},
    WriteCase{"OtherRootIsTheUserHive", R"(HKEY_CLASSES_ROOT\Foo\V)", R"(HKCU|\Foo|V)",
              "[registry]\n" R"(HKEY_CLASSES_ROOT\\Foo)" "\n"},
    WriteCase{"BareValueName", "InstallDir", R"(HKCU|\|InstallDir)", ""},
    WriteCase{"ValueInTheRootKey", R"(HKEY_LOCAL_MACHINE\Path)", R"(HKLM|\|Path)", ""},
    WriteCase{"TrailingBackslashIsTheDefaultValue", R"(HKEY_CURRENT_USER\Software\App\)",
              R"(HKCU|\Software\App|)",
              "[registry]\n" R"(HKEY_CURRENT_USER\\Software\App)" "\n"},
    WriteCase{"ExistingKeyInOtherCase", R"(HKEY_CURRENT_USER\software\acme\V)",
              R"(HKCU|\Software\Acme|V)", ""},
    WriteCase{"EmptyPartNamesNoKey", R"(HKEY_CURRENT_USER\Software\\App\V)",
              R"(HKCU|\Software\App|V)",
              "[registry]\n" R"(HKEY_CURRENT_USER\\Software\\App)" "\n"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(RegistryBuiltinTest, WritingTheSamePathTwiceRecordsNothingTheSecondTime) {
    RegistryStore store(registryFilesFromEnvironment());
    UninstallList list;
    RecordingDialog dialog;
    const std::string s1 = R"(HKEY_CURRENT_USER\Software\Foo\Path)";
    ASSERT_TRUE(writeRegistryString(store, list, dialog, s1, "first"));
    const auto linesAfterFirst = list.lines();
    ASSERT_TRUE(writeRegistryString(store, list, dialog, s1, "second"));
    EXPECT_EQ(list.lines(), linesAfterFirst);
    EXPECT_EQ(readValue(store, Hive::CurrentUser, R"(\Software\Foo)", "Path"), "second");
}

// Keys created before the failing value write stay in the store and in the list.
TEST_F(RegistryBuiltinTest, ARefusedValueWriteShowsTheBoxAndKeepsCreatedKeys) {
    RegistryStore store(registryFilesFromEnvironment());
    ASSERT_TRUE(store.keyExists(Hive::CurrentUser, "\\").ok());
    sqlite3* db = nullptr;
    sqlite3_open(path("HKEY_CURRENT_USER.db").c_str(), &db);
    ASSERT_EQ(sqlite3_exec(db,
                           "CREATE TRIGGER refuse BEFORE INSERT ON vals "
                           "BEGIN SELECT RAISE(ABORT, 'refused'); END",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);

    UninstallList list;
    RecordingDialog dialog;
    EXPECT_FALSE(
        writeRegistryString(store, list, dialog, R"(HKEY_CURRENT_USER\Software\New\V)", "x"));
    EXPECT_EQ(describeBoxes(dialog), kFailureBox);
    EXPECT_EQ(joinLines(list.lines(), kUninstallHeaderLines.size()),
              "[registry]\n"
              R"(HKEY_CURRENT_USER\\Software\New)"
              "\n"
              R"(HKEY_CURRENT_USER\\Software)"
              "\n");
    EXPECT_EQ(store.keyExists(Hive::CurrentUser, R"(\Software\New)").value, true);
}

// Runs `body` in a forked child, as the unprivileged user "nobody" when we are root (so that file
// modes bind), and returns what it produced.
std::string runUnprivileged(const std::function<std::string()>& body) {
    int fds[2];
    if (::pipe(fds) != 0)
        return "pipe failed";
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(3);
        const std::string out = body();
        const bool written = ::write(fds[1], out.data(), out.size()) == ssize_t(out.size());
        ::_exit(written ? 0 : 4);
    }
    ::close(fds[1]);
    std::string out;
    char buffer[256];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;)
        out.append(buffer, static_cast<std::size_t>(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? out : "child failed";
}

TEST_F(RegistryBuiltinTest, AStoreThatCannotBeWrittenShowsTheBoxAndTheRunGoesOn) {
    const auto attempt = [] {
        RegistryStore store(registryFilesFromEnvironment());
        UninstallList list;
        RecordingDialog dialog;
        const bool written =
            writeRegistryString(store, list, dialog, R"(HKEY_LOCAL_MACHINE\Software\Foo\V)", "x");
        return std::to_string(written) + ' ' + std::to_string(list.lines().size()) + ' ' +
               describeBoxes(dialog);
    };
    const std::string expected = std::string("0 3 ") + kFailureBox;
    {
        RegistryStore store(registryFilesFromEnvironment());
        ASSERT_TRUE(store.keyExists(Hive::LocalMachine, "\\").ok());
    }
    std::filesystem::permissions(dir(), std::filesystem::perms(0755));
    std::filesystem::permissions(path("HKEY_LOCAL_MACHINE.db"), std::filesystem::perms(0444));
    EXPECT_EQ(runUnprivileged(attempt), expected) << "read-only store";

    ::setenv("ORVANE_REGISTRY_DIR", path("HKEY_LOCAL_MACHINE.db").c_str(), 1);
    EXPECT_EQ(attempt(), expected) << "store folder is a file";
}

} // namespace
} // namespace orvane::test
