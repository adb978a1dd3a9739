// `orvane reg`: query, export and delete output, and usage errors.
#include "reg_command.h"
#include "registry_test_support.h"

#include <sqlite3.h>

namespace orvane::test {
namespace {

class RegCommandTest : public TempRegistryTest {
  protected:
    void SetUp() override {
        TempRegistryTest::SetUp();
        m_store = std::make_unique<RegistryStore>(registryFilesFromEnvironment());
        m_store->writeString(Hive::CurrentUser, R"(\Software\Foo)", "", "default");
        m_store->writeString(Hive::CurrentUser, R"(\Software\Foo)", "Path", R"(C:\Prog "x")");
        m_store->writeString(Hive::CurrentUser, R"(\Software\Foo)", "Lines", "a\r\nb\x01");
        m_store->createKey(Hive::CurrentUser, R"(\Software\Foo\Sub)");
        m_store->createKey(Hive::CurrentUser, "\\Software\\Foo\\New\nLine%");
    }
    // Exit status, then standard output, then standard error.
    std::string run(const std::vector<std::string>& args) {
        std::ostringstream out;
        std::ostringstream err;
        const int status = runRegCommand(args, *m_store, out, err);
        return std::to_string(status) + '\n' + out.str() + err.str();
    }

    std::unique_ptr<RegistryStore> m_store;
};

TEST_F(RegCommandTest, QueryListsValuesThenSubKeys) {
    EXPECT_EQ(run({"query", R"(hkcu\software\foo)"}),
              "0\n"
              "HKEY_CURRENT_USER\\software\\foo\n"
              "    (Default)    REG_SZ    default\n"
              "    Lines    REG_SZ    a\\r\\nb\\x01\n"
              "    Path    REG_SZ    C:\\Prog \"x\"\n"
              "\n"
              "HKEY_CURRENT_USER\\software\\foo\\New%0ALine%25\n"
              "HKEY_CURRENT_USER\\software\\foo\\Sub\n");
}

// The export of a good tree, and of one damaged by hand: the root made the child of a key (a cycle)
// and a "\" inside a key's name.
TEST_F(RegCommandTest, ExportWritesEveryKeyOnceWithEscapedTexts) {
    const std::string head = "0\n"
                             "; orvane registry export of HKEY_CURRENT_USER\n"
                             "\n[HKEY_CURRENT_USER]\n"
                             "\n[HKEY_CURRENT_USER\\Software]\n"
                             "\n[HKEY_CURRENT_USER\\Software\\Foo]\n"
                             "@=\"default\"\n"
                             "\"Lines\"=\"a\\r\\nb\\x01\"\n"
                             "\"Path\"=\"C:\\\\Prog \\\"x\\\"\"\n"
                             "\n[HKEY_CURRENT_USER\\Software\\Foo\\New%0ALine%25]\n";
    EXPECT_EQ(run({"export", "HKEY_CURRENT_USER"}),
              head + "\n[HKEY_CURRENT_USER\\Software\\Foo\\Sub]\n");

    sqlite3* db = nullptr;
    sqlite3_open(path("HKEY_CURRENT_USER.db").c_str(), &db);
    ASSERT_EQ(sqlite3_exec(db,
                           R"(UPDATE keys SET parent = (SELECT id FROM keys WHERE name = 'Sub')
                                  WHERE id = 1;
                              UPDATE keys SET name = 'Su\b' WHERE name = 'Sub';)",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    EXPECT_EQ(run({"export", "HKEY_CURRENT_USER"}),
              head + "\n[HKEY_CURRENT_USER\\Software\\Foo\\Su%5Cb]\n");
}

TEST_F(RegCommandTest, DeleteRemovesTheTreeAndReportsAMissingKey) {
    EXPECT_EQ(run({"delete", R"(HKCU\Software\Foo)"}), "0\n");
    EXPECT_EQ(run({"query", R"(HKCU\Software\Foo)"}),
              "1\norvane reg: HKEY_CURRENT_USER\\Software\\Foo: key not found\n");
    EXPECT_EQ(run({"delete", R"(HKCU\Software\Foo)"}),
              "1\norvane reg: HKEY_CURRENT_USER\\Software\\Foo: key not found\n");
}

TEST_F(RegCommandTest, UsageErrorsExitWithTwo) {
    const std::vector<std::vector<std::string>> cases = {{},
                                                         {"query"},
                                                         {"query", R"(HKEY_CLASSES_ROOT\x)"},
                                                         {"export", R"(HKCU\Software)"},
                                                         {"rename", "HKCU"},
                                                         {"query", "HKCU", "extra"}};
    for (const auto& args : cases)
        EXPECT_EQ(run(args).substr(0, 9), "2\nusage: ") << ::testing::PrintToString(args);
}

} // namespace
} // namespace orvane::test
