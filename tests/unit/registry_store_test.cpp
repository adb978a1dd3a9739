// The registry store: names, default values, seeding, export and delete, failures, and durability
// under concurrent and killed writers.
#include "registry_test_support.h"

#include <sqlite3.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <set>
#include <sys/wait.h>

namespace orvane::test {
namespace {

using Hive::CurrentUser;
using Hive::LocalMachine;

class RegistryStoreTest : public TempRegistryTest {
  protected:
    RegistryStore& store() {
        if (!m_store)
            m_store = std::make_unique<RegistryStore>(registryFilesFromEnvironment());
        return *m_store;
    }
    std::optional<std::string> read(Hive hive, std::string_view key, std::string_view name) {
        return readValue(store(), hive, key, name);
    }
    std::vector<std::string> exportedPaths(Hive hive) {
        const auto keys = store().exportHive(hive);
        if (!keys.ok())
            return {"error: " + keys.error};
        std::vector<std::string> paths;
        for (const auto& key : *keys.value)
            paths.push_back(key.path);
        return paths;
    }

  private:
    std::unique_ptr<RegistryStore> m_store;
};

std::string pragmaResult(const std::string& file, const char* pragma) {
    sqlite3* db = nullptr;
    std::string result;
    sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, pragma, -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        result = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return result;
}

TEST_F(RegistryStoreTest, NamesIgnoreAsciiCaseAndKeepTheirFirstSpelling) {
    EXPECT_EQ(store().createKey(CurrentUser, "\\Software\\Acme").value, true);
    EXPECT_EQ(store().createKey(CurrentUser, "SOFTWARE\\acme\\").value, false);
    EXPECT_EQ(store().keyExists(CurrentUser, "\\software\\\\ACME").value, true);
    EXPECT_EQ(store().keyExists(LocalMachine, "\\Software\\Acme").value, false);
    // Only A-Z fold: other letters are compared exactly, as in the registry itself.
    store().createKey(CurrentUser, "\\\xC3\x84rger");
    EXPECT_EQ(store().keyExists(CurrentUser, "\\\xC3\xA4rger").value, false);

    ASSERT_TRUE(store().writeString(CurrentUser, "\\Software\\Acme", "Path", "a").ok);
    ASSERT_TRUE(store().writeString(CurrentUser, "\\SOFTWARE\\ACME", "PATH", "b").ok);
    const auto listing = store().listKey(CurrentUser, "\\software\\acme");
    ASSERT_TRUE(listing.ok()) << listing.error;
    ASSERT_EQ(listing.value->values.size(), 1u);
    EXPECT_EQ(listing.value->values[0].name, "Path");
    EXPECT_EQ(listing.value->values[0].data, "b");
    EXPECT_EQ(exportedPaths(CurrentUser),
              (std::vector<std::string>{"", "Software", "Software\\Acme", "\xC3\x84rger"}));
}

TEST_F(RegistryStoreTest, DefaultValueHasTheEmptyName) {
    ASSERT_TRUE(store().writeString(CurrentUser, "\\App", "", "standard").ok);
    ASSERT_TRUE(store().writeString(CurrentUser, "\\App", "Other", "x").ok);
    EXPECT_EQ(read(CurrentUser, "\\App", ""), "standard");
    EXPECT_EQ(read(CurrentUser, "\\App", "Missing"), std::nullopt);
    EXPECT_EQ(read(CurrentUser, "\\NoSuchKey", ""), std::nullopt);
}

TEST_F(RegistryStoreTest, OnlyANewMachineStoreIsSeededWithProgramFilesDir) {
    const std::string expected =
        ::geteuid() == 0 ? "/opt" : std::string(getenv("HOME")) + "/.local/opt";
    EXPECT_EQ(read(LocalMachine, kCurrentVersionKey, kProgramFilesDirValue), expected);
    EXPECT_EQ(store().keyExists(CurrentUser, kCurrentVersionKey).value, false);

    store().writeString(LocalMachine, kCurrentVersionKey, kProgramFilesDirValue, "/srv/programs");
    RegistryStore reopened(registryFilesFromEnvironment());
    EXPECT_EQ(readValue(reopened, LocalMachine, kCurrentVersionKey, kProgramFilesDirValue),
              "/srv/programs");
}

TEST_F(RegistryStoreTest, DeleteRemovesTheWholeTreeAndNothingElse) {
    for (const char* key : {"\\S\\B\\Deep\\Deeper", "\\S\\A", "\\S\\Bb", "\\S\\c"})
        store().writeString(CurrentUser, key, "v", key);
    EXPECT_EQ(exportedPaths(CurrentUser),
              (std::vector<std::string>{"", "S", "S\\A", "S\\B", "S\\B\\Deep", "S\\B\\Deep\\Deeper",
                                        "S\\Bb", "S\\c"}));
    ASSERT_TRUE(store().deleteKeyTree(CurrentUser, "s\\b").ok);
    EXPECT_EQ(exportedPaths(CurrentUser),
              (std::vector<std::string>{"", "S", "S\\A", "S\\Bb", "S\\c"}));
    EXPECT_EQ(read(CurrentUser, "\\S\\B\\Deep\\Deeper", "v"), std::nullopt);
    EXPECT_EQ(read(CurrentUser, "\\S\\Bb", "v"), "\\S\\Bb");
    EXPECT_EQ(store().deleteKeyTree(CurrentUser, "\\S\\B").error, "key not found");
    EXPECT_EQ(store().deleteKeyTree(CurrentUser, "\\").error, "the root key cannot be deleted");
}

// A file that is no store is reported, and left as it was.
TEST_F(RegistryStoreTest, AStoreThatCannotBeOpenedReportsItsFileAndReason) {
    const std::string db = path("HKEY_CURRENT_USER.db");
    const std::string garbage(4096, 'x');
    std::ofstream(db) << garbage;
    const std::string expected = db + ": file is not a database";
    EXPECT_EQ(store().writeString(CurrentUser, "\\K", "v", "d").error, expected);
    EXPECT_EQ(store().keyExists(CurrentUser, "\\K").error, expected);
    EXPECT_EQ(readFile(db), garbage);
}

using RegistryFilesTest = TempFolderTest;

TEST_F(RegistryFilesTest, EnvironmentChoosesTheFolders) {
    const std::string home = getenv("HOME") != nullptr ? getenv("HOME") : "";
    const bool root = ::geteuid() == 0;
    struct Case {
        std::optional<std::string> overrideDir;
        std::optional<std::string> dataHome;
        std::string userDir;
    };
    const std::vector<Case> cases = {
        {"/tmp/r", "/data", "/tmp/r"},
        {std::nullopt, "/data", "/data/orvane/registry"},
        {std::nullopt, "relative/ignored", home + "/.local/share/orvane/registry"},
        {std::nullopt, std::nullopt, home + "/.local/share/orvane/registry"},
    };
    for (const auto& c : cases) {
        setVariable("ORVANE_REGISTRY_DIR", c.overrideDir);
        setVariable("XDG_DATA_HOME", c.dataHome);
        const auto files = registryFilesFromEnvironment();
        const std::string machineDir =
            root && !c.overrideDir ? "/var/lib/orvane/registry" : c.userDir;
        EXPECT_EQ(files.currentUser, c.userDir + "/HKEY_CURRENT_USER.db");
        EXPECT_EQ(files.localMachine, machineDir + "/HKEY_LOCAL_MACHINE.db");
    }
}

// Starts the write-loop helper, whose first line of output is its process id.
FILE* startWriteLoop(int count, const char* prefix) {
    const std::string command =
        std::string("exec ") + REGISTRY_WRITE_LOOP + ' ' + std::to_string(count) + ' ' + prefix;
    return ::popen(command.c_str(), "r");
}

// The next number the helper printed, -1 at the end of its output.
long nextNumber(FILE* out) {
    long number = -1;
    return std::fscanf(out, "%ld", &number) == 1 ? number : -1;
}

// Both writers must finish without a "database is locked" failure and leave all their values.
TEST_F(RegistryStoreTest, TwoProcessesWritingAtOnceWaitForEachOther) {
    constexpr int kWrites = 300;
    FILE* first = startWriteLoop(kWrites, "a");
    FILE* second = startWriteLoop(kWrites, "b");
    ASSERT_TRUE(first != nullptr && second != nullptr);
    while (nextNumber(first) >= 0 || nextNumber(second) >= 0) {
    }
    EXPECT_EQ(::pclose(first), 0);
    EXPECT_EQ(::pclose(second), 0);
    const auto listing = store().listKey(CurrentUser, "\\Software\\WriteLoop");
    ASSERT_TRUE(listing.ok()) << listing.error;
    EXPECT_EQ(listing.value->values.size(), 2u * kWrites);
}

// A writer killed in the middle of its writes keeps every write it reported as committed, and
// the file stays sound and writable. It is asked for far more writes than it can make before the
// kill: once the pipe is full it waits for the reader, so it cannot finish first on a busy machine.
TEST_F(RegistryStoreTest, AKilledWriterLosesNoCommittedValue) {
    constexpr long kKillAfter = 2000;
    FILE* writer = startWriteLoop(1000000, "v");
    ASSERT_NE(writer, nullptr);
    const long pid = nextNumber(writer);
    long committed = -1;
    for (long index; committed < kKillAfter && (index = nextNumber(writer)) >= 0;)
        committed = index;
    ::kill(static_cast<pid_t>(pid), SIGKILL);
    for (long index; (index = nextNumber(writer)) >= 0;)
        committed = index;
    const int status = ::pclose(writer);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer ended before it was killed";
    ASSERT_GE(committed, kKillAfter);

    const std::string db = path("HKEY_CURRENT_USER.db");
    EXPECT_EQ(pragmaResult(db, "PRAGMA integrity_check"), "ok");
    std::set<long> missing;
    for (long i = 0; i <= committed; ++i)
        if (read(CurrentUser, "\\Software\\WriteLoop", "v" + std::to_string(i)) !=
            std::to_string(i))
            missing.insert(i);
    EXPECT_TRUE(missing.empty()) << missing.size() << " committed values lost, first "
                                 << *missing.begin();
    EXPECT_TRUE(store().writeString(CurrentUser, "\\Software\\WriteLoop", "after", "x").ok);
    EXPECT_EQ(pragmaResult(db, "PRAGMA integrity_check"), "ok");
}

} // namespace
} // namespace orvane::test
