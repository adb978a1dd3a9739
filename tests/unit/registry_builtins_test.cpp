// writeRegistryString: root choice, key creation and recording, value names, and failure boxes.
#include "recording_dialog.h"
#include "registry_builtins.h"
#include "registry_test_support.h"
#include "uninstall_list.h"

#include <sqlite3.h>

#include <chrono>
#include <functional>
#include <thread>

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

// A store in the test folder, with the list and dialog that writeRegistryString reports to.
class RegistryBuiltinTest : public TempRegistryTest {
  protected:
    void SetUp() override {
        TempRegistryTest::SetUp();
        m_store.emplace(registryFilesFromEnvironment());
    }
    bool write(const std::string& s1, const std::string& data) {
        return writeRegistryString(*m_store, m_list, m_dialog, s1, data);
    }

    std::optional<RegistryStore> m_store;
    UninstallList m_list;
    RecordingDialog m_dialog;
};

struct WriteCase {
    const char* name;
    const char* s1;
    Hive hive;
    const char* key;
    const char* value;
    std::vector<std::string> recorded; // the list below its header
};

class WriteRegistryStringTest : public RegistryBuiltinTest,
                                public ::testing::WithParamInterface<WriteCase> {};

TEST_P(WriteRegistryStringTest, WritesTheValueAndRecordsEachCreatedKey) {
    const auto& c = GetParam();
    ASSERT_TRUE(m_store->createKey(Hive::CurrentUser, R"(\SOFTWARE\ACME)").ok());
    EXPECT_TRUE(write(c.s1, "data"));
    EXPECT_EQ(describeBoxes(m_dialog), "");
    const Hive other = c.hive == Hive::CurrentUser ? Hive::LocalMachine : Hive::CurrentUser;
    EXPECT_EQ(readValue(*m_store, c.hive, c.key, c.value), "data");
    EXPECT_EQ(readValue(*m_store, other, c.key, c.value), std::nullopt);
    EXPECT_EQ(entriesBelowHeader(m_list), c.recorded);
}

// The machine hive starts with \Software\Microsoft\Windows\CurrentVersion, so Software exists
// there; the user hive holds \SOFTWARE\ACME.
constexpr Hive HKLM = Hive::LocalMachine;
constexpr Hive HKCU = Hive::CurrentUser;
// clang-format off
INSTANTIATE_TEST_SUITE_P(Paths, WriteRegistryStringTest, ::testing::Values(
    WriteCase{"NewKeysDeepestFirst", R"(HKEY_LOCAL_MACHINE\Software\Foo\Bar\Path)",
              HKLM, R"(\Software\Foo\Bar)", "Path",
              {"[registry]", R"(HKEY_LOCAL_MACHINE\\Software\Foo\Bar)",
               R"(HKEY_LOCAL_MACHINE\\Software\Foo)"}},
    WriteCase{"LowerCaseRootIsTheUserHive", R"(hkey_local_machine\Software\Foo\V)",
              HKCU, R"(\Software\Foo)", "V", {"[registry]", R"(hkey_local_machine\\Software\Foo)"}},
    WriteCase{"ShortRootIsTheUserHive", R"(HKLM\Foo\V)", HKCU, R"(\Foo)", "V",
              {"[registry]", R"(HKLM\\Foo)"}},
    WriteCase{"OtherRootIsTheUserHive", R"(HKEY_CLASSES_ROOT\Foo\V)", HKCU, R"(\Foo)", "V",
              {"[registry]", R"(HKEY_CLASSES_ROOT\\Foo)"}},
    WriteCase{"BareValueName", "InstallDir", HKCU, R"(\)", "InstallDir", {}},
    WriteCase{"ValueInTheRootKey", R"(HKEY_LOCAL_MACHINE\Path)", HKLM, R"(\)", "Path", {}},
    WriteCase{"TrailingBackslashIsTheDefaultValue", R"(HKEY_CURRENT_USER\Software\App\)",
              HKCU, R"(\Software\App)", "", {"[registry]", R"(HKEY_CURRENT_USER\\Software\App)"}},
    WriteCase{"ExistingKeyInOtherCase", R"(HKEY_CURRENT_USER\software\acme\V)",
              HKCU, R"(\Software\Acme)", "V", {}},
    WriteCase{"EmptyPartNamesNoKey", R"(HKEY_CURRENT_USER\Software\\App\V)",
              HKCU, R"(\Software\App)", "V",
              {"[registry]", R"(HKEY_CURRENT_USER\\Software\\App)"}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(RegistryBuiltinTest, WritingTheSamePathTwiceRecordsNothingTheSecondTime) {
    const std::string s1 = R"(HKEY_CURRENT_USER\Software\Foo\Path)";
    ASSERT_TRUE(write(s1, "first"));
    const auto linesAfterFirst = m_list.lines();
    ASSERT_TRUE(write(s1, "second"));
    EXPECT_EQ(m_list.lines(), linesAfterFirst);
    EXPECT_EQ(readValue(*m_store, Hive::CurrentUser, R"(\Software\Foo)", "Path"), "second");
}

// Keys created before the failing value write stay in the store and in the list.
TEST_F(RegistryBuiltinTest, ARefusedValueWriteShowsTheBoxAndKeepsCreatedKeys) {
    ASSERT_TRUE(m_store->keyExists(Hive::CurrentUser, "\\").ok());
    sqlite3* db = nullptr;
    sqlite3_open(path("HKEY_CURRENT_USER.db").c_str(), &db);
    ASSERT_EQ(sqlite3_exec(db,
                           "CREATE TRIGGER refuse BEFORE INSERT ON vals "
                           "BEGIN SELECT RAISE(ABORT, 'refused'); END",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);

    EXPECT_FALSE(write(R"(HKEY_CURRENT_USER\Software\New\V)", "x"));
    EXPECT_EQ(describeBoxes(m_dialog), kFailureBox);
    EXPECT_EQ(entriesBelowHeader(m_list),
              (std::vector<std::string>{"[registry]", R"(HKEY_CURRENT_USER\\Software\New)",
                                        R"(HKEY_CURRENT_USER\\Software)"}));
    EXPECT_EQ(m_store->keyExists(Hive::CurrentUser, R"(\Software\New)").value, true);
}

// Another install creates the key between this write's check and its creation of the key: the
// key is not this write's, so it is not recorded.
TEST_F(RegistryBuiltinTest, AKeyCreatedMeanwhileByAnotherWriterIsNotRecorded) {
    ASSERT_TRUE(m_store->createKey(Hive::CurrentUser, R"(\Software)").ok());
    sqlite3* other = nullptr;
    sqlite3_open(path("HKEY_CURRENT_USER.db").c_str(), &other);
    sqlite3_busy_timeout(other, 30000);
    ASSERT_EQ(sqlite3_exec(other,
                           "BEGIN IMMEDIATE; INSERT INTO keys(parent, name) "
                           "SELECT id, 'Race' FROM keys WHERE parent = 1 AND name = 'Software'",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    std::thread writer([&] { write(R"(HKEY_CURRENT_USER\Software\Race\V)", "x"); });
    // Meanwhile the writer has found no key and waits for the other transaction. (Should it be
    // slower than this, it finds the committed key and records nothing either.)
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
    writer.join();
    sqlite3_close(other);
    EXPECT_EQ(entriesBelowHeader(m_list), std::vector<std::string>{});
    EXPECT_EQ(readValue(*m_store, Hive::CurrentUser, R"(\Software\Race)", "V"), "x");
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
    ASSERT_TRUE(m_store->keyExists(Hive::LocalMachine, "\\").ok());
    m_store.reset();
    std::filesystem::permissions(dir(), std::filesystem::perms(0755));
    std::filesystem::permissions(path("HKEY_LOCAL_MACHINE.db"), std::filesystem::perms(0444));
    EXPECT_EQ(runUnprivileged(attempt), expected) << "read-only store";

    setVariable("ORVANE_REGISTRY_DIR", path("HKEY_LOCAL_MACHINE.db"));
    EXPECT_EQ(attempt(), expected) << "store folder is a file";
}

} // namespace
} // namespace orvane::test
