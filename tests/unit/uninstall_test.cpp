// The install manifest's JSON, and uninstall plans carried out on files and a registry store made
// by the tests: what is removed, kept, restored or refused, and an uninstall cut short and rerun.
#include "install_test_support.h"
#include "manifest_json.h"
#include "path_safety.h"
#include "sha256.h"
#include "shell.h"
#include "uninstall_report.h"
#include "uninstall_run.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <sys/stat.h>

namespace orvane {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::readValue;

// `text` with the test's folder written as "T".
std::string withDirAs(std::string text, const std::string& dir) {
    for (auto at = text.find(dir); at != std::string::npos; at = text.find(dir, at + 1))
        text.replace(at, dir.size(), "T");
    return text;
}

std::string digestOf(const std::string& bytes) {
    Sha256 digest;
    digest.update(bytes);
    return digest.finishHex();
}

TEST(ManifestJson, ReadsBackWhatItWrote) {
    InstallManifest manifest;
    manifest.created = "2026-12-09T21:59:34Z";
    manifest.files = {{"/opt/a/\"x\"\\ü.txt", 3, digestOf("abc"), 0755}};
    manifest.folders = {"/opt/a/"};
    manifest.shortcuts = {{"/home/u/Desktop/A.desktop", "/opt/a/run"}};
    manifest.values = {{Hive::LocalMachine, "\\Software\\A", "", "1", std::nullopt},
                       {Hive::CurrentUser, "\\Software\\A", "Dir", "/opt/a", "/old\r\n"}};
    manifest.keysCreated = {{Hive::CurrentUser, "\\Software\\A"}};
    std::string error;
    const auto read = manifestFromJson(manifestToJson(manifest), error);
    ASSERT_TRUE(read) << error;
    EXPECT_EQ(manifestToJson(*read), manifestToJson(manifest));
    EXPECT_EQ(read->files[0].mode, 0755u);
    EXPECT_EQ(read->values[1].previous, "/old\r\n");
    EXPECT_EQ(read->values[0].previous, std::nullopt);
}

TEST(ManifestJson, ADamagedManifestSaysWhatIsWrong) {
    const std::string file =
        R"({"path": "/a", "size": 1, "sha256": ")" + digestOf("a") + R"(", "mode": "0644"})";
    const auto manifest = [](const std::string& files, const std::string& format = "1") {
        return R"({"format": )" + format + R"(, "created": "", "files": [)" + files +
               R"(], "folders": [], "shortcuts": [], "registryValues": [], )"
               R"("registryKeysCreated": []})";
    };
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"[1]", "kein JSON-Objekt"},
        {manifest(file, "2"), "unbekannte Formatversion 2"},
        {manifest("7"), "ein Eintrag ist kein Objekt"},
        {manifest(R"({"path": "/a"})"), "\"size\" fehlt"},
        {manifest(R"({"path": "/a", "size": -1})"), "\"size\" ist keine gültige Zahl"},
        {manifest(R"({"path": "/a", "size": 1, "sha256": "ABC"})"),
         "\"sha256\" ist keine SHA-256-Prüfsumme"},
        {manifest(file.substr(0, file.size() - 7) + R"("9"})"), "\"mode\" ist keine gültige Zahl"},
        {R"({"format": 1, "created": "", "files": {}})", "\"files\" ist keine Liste"},
    };
    for (const auto& [text, expected] : cases) {
        std::string error;
        EXPECT_FALSE(manifestFromJson(text, error)) << text;
        EXPECT_EQ(error, expected) << text;
    }
    std::string error;
    EXPECT_TRUE(manifestFromJson(manifest(file), error)) << error;
}

// A desktop whose desktop folder is the test's "Desktop".
class TestShell : public Shell {
  public:
    explicit TestShell(std::string desktop) : m_desktop(std::move(desktop)) {}
    std::string folderPath(ShellFolder folder) override {
        return folder == ShellFolder::Desktop ? m_desktop : "";
    }
    bool saveLink(const ShellLink&, std::string&) override { return false; }
    void open(const std::string&, const std::string&, const std::string&) override {}

  private:
    std::string m_desktop;
};

// An installation made by hand in the test's folder: files, folders, registry values and keys,
// with its uninstall data and manifest as the built-ins would have left them.
class UninstallTest : public test::TempRegistryTest {
  protected:
    void SetUp() override {
        TempRegistryTest::SetUp();
        m_store = std::make_unique<RegistryStore>(registryFilesFromEnvironment());
        app = path("app/");
        fs::create_directories(path("app/data"));
        fs::create_directories(path("outside"));
        manifest.folders = {app, app + "data/"};
    }

    void install(const std::string& name, const std::string& content) {
        std::ofstream(app + name, std::ios::binary) << content;
        manifest.files.push_back({app + name, content.size(), digestOf(content), 0644});
    }

    // Saves the uninstall data (with or without manifest) and returns the plan carried out.
    UninstallPlan uninstall(bool withManifest = true, const UninstallProgress& progress = nullptr) {
        saveRecord(withManifest);
        return rerun(progress);
    }

    void saveRecord(bool withManifest) {
        UninstallList list;
        for (const auto& folder : manifest.folders)
            list.addUninstallEntry("ordner", folder);
        for (const auto& file : manifest.files)
            list.addUninstallEntry("dateien", file.path);
        saveUninstallData(list, data());
        std::string reason;
        if (withManifest)
            ASSERT_TRUE(writeManifestFile(data() + ".manifest", manifest, reason)) << reason;
        else
            fs::remove(data() + ".manifest");
    }

    UninstallPlan rerun(const UninstallProgress& progress = nullptr) {
        TestShell shell(path("Desktop"));
        UninstallContext context{*m_store, protectedFolders(shell)};
        std::string error;
        auto plan = planUninstall(data(), context, error);
        EXPECT_TRUE(plan) << error;
        status = carryOutUninstall(*plan, context, progress);
        return *plan;
    }

    std::string data() const { return app + "uninstall.dat"; }

    // Each step as "verdict path (reason)", the test's folder written as "T".
    std::vector<std::string> lines(const UninstallPlan& plan) const {
        std::vector<std::string> result;
        for (const auto& step : plan.steps)
            result.push_back(withDirAs(stepLine(step, true), dir()));
        return result;
    }

    std::unique_ptr<RegistryStore> m_store;
    InstallManifest manifest;
    std::string app;
    int status = -1;
};

TEST_F(UninstallTest, RemovesWhatWasInstalledAndKeepsWhatTheUserChanged) {
    install("same.txt", "as installed");
    install("changed.txt", "as installed");
    install("gone.txt", "as installed");
    install("data/link.txt", "as installed");
    std::ofstream(path("outside/target.txt")) << "not ours";
    std::ofstream(app + "changed.txt") << "the user's words";
    fs::remove(app + "gone.txt");
    fs::remove(app + "data/link.txt");
    fs::create_symlink(path("outside/target.txt"), app + "data/link.txt");
    std::ofstream(app + "own.txt") << "the user's own file";

    const UninstallPlan plan = uninstall();
    EXPECT_EQ(status, 0);
    EXPECT_EQ(lines(plan),
              (std::vector<std::string>{
                  "Datei T/app/data/link.txt: symbolische Verknüpfung entfernt (Ziel unberührt)",
                  "Datei T/app/gone.txt: fehlt bereits",
                  "Datei T/app/changed.txt: behalten (seit der Installation geändert)",
                  "Datei T/app/same.txt: entfernt",
                  "Ordner T/app/data/: entfernt",
                  "Deinstallationsdaten T/app/uninstall.dat: entfernt",
                  "Deinstallationsdaten T/app/uninstall.dat.manifest: entfernt",
                  "Ordner T/app/: behalten (nicht leer)",
              }));
    EXPECT_EQ(readFile(path("outside/target.txt")), "not ours");
    EXPECT_EQ(test::entriesOf(app), (std::set<std::string>{"changed.txt", "own.txt"}));
}

TEST_F(UninstallTest, NeverFollowsALinkThatReplacedAnInstalledFolder) {
    install("data/keep.dat", "ours");
    std::ofstream(path("outside/keep.dat")) << "ours"; // same content, but not what we installed
    fs::remove_all(app + "data");
    fs::create_directory_symlink(path("outside"), app + "data");

    const UninstallPlan plan = uninstall();
    EXPECT_EQ(status, 0);
    EXPECT_EQ(lines(plan)[0],
              "Datei T/app/data/keep.dat: behalten (liegt hinter einer symbolischen Verknüpfung)");
    EXPECT_EQ(lines(plan)[1],
              "Ordner T/app/data/: symbolische Verknüpfung entfernt (Ziel unberührt)");
    EXPECT_EQ(readFile(path("outside/keep.dat")), "ours");
    EXPECT_FALSE(fs::exists(app));
}

TEST_F(UninstallTest, RefusesTheRootHomeAndStandardFolders) {
    fs::create_directory(path("Desktop"));
    manifest.folders.insert(manifest.folders.begin(), {"/", path("Desktop/"), "relative/"});
    manifest.files.push_back({"/", 0, digestOf(""), 0644});
    setVariable("HOME", path("home"));
    manifest.folders.push_back(path("home/"));

    const UninstallPlan plan = uninstall();
    EXPECT_EQ(status, 0);
    const auto all = lines(plan);
    for (const char* refused : {"Datei /: verweigert (geschützter Ordner)",
                                "Ordner T/Desktop/: verweigert (geschützter Ordner)",
                                "Ordner T/home/: verweigert (geschützter Ordner)",
                                "Ordner relative/: verweigert (kein absoluter Pfad)"})
        EXPECT_NE(std::find(all.begin(), all.end(), refused), all.end()) << refused;
    EXPECT_TRUE(fs::is_directory(path("Desktop")));
}

TEST_F(UninstallTest, RegistryValuesGetTheirPreviousValueBackAndOnlyCreatedEmptyKeysGo) {
    const Hive user = Hive::CurrentUser;
    ASSERT_TRUE(m_store->writeString(user, "\\Software\\Vendor", "Other", "theirs").ok);
    ASSERT_TRUE(m_store->writeString(user, "\\Software\\Vendor\\App", "Dir", "new").ok);
    ASSERT_TRUE(m_store->writeString(user, "\\Software\\Vendor\\App", "Edited", "by user").ok);
    ASSERT_TRUE(m_store->writeString(user, "\\Software\\Shared", "Path", "ours").ok);
    ASSERT_TRUE(m_store->createKey(user, "\\Software\\Empty").ok());
    manifest.values = {{user, "\\Software\\Vendor\\App", "Dir", "new", std::nullopt},
                       {user, "\\Software\\Vendor\\App", "Edited", "ours", std::nullopt},
                       {user, "\\Software\\Shared", "Path", "ours", "before"}};
    manifest.keysCreated = {{user, "\\Software\\Vendor"}, {user, "\\Software\\Vendor\\App"}};

    uninstall();
    EXPECT_EQ(status, 0);
    EXPECT_EQ(readValue(*m_store, user, "\\Software\\Shared", "Path"), "before");
    EXPECT_EQ(readValue(*m_store, user, "\\Software\\Vendor\\App", "Dir"), std::nullopt);
    EXPECT_EQ(readValue(*m_store, user, "\\Software\\Vendor\\App", "Edited"), "by user");
    EXPECT_EQ(readValue(*m_store, user, "\\Software\\Vendor", "Other"), "theirs");
    // Not created by this installation: stays although empty.
    EXPECT_TRUE(*m_store->keyExists(user, "\\Software\\Empty").value);
}

TEST_F(UninstallTest, AnUninstallCutShortFinishesWhenRunAgain) {
    install("a.txt", "a");
    install("data/b.txt", "b");
    manifest.values = {{Hive::CurrentUser, "\\Software\\App", "V", "1", std::nullopt}};
    manifest.keysCreated = {{Hive::CurrentUser, "\\Software\\App"}};
    ASSERT_TRUE(m_store->writeString(Hive::CurrentUser, "\\Software\\App", "V", "1").ok);
    const auto killAfterTwo = [](std::size_t done, std::size_t, const UninstallStep&) {
        if (done == 2)
            throw std::runtime_error("killed");
    };
    EXPECT_THROW(uninstall(true, killAfterTwo), std::runtime_error);
    EXPECT_TRUE(fs::exists(data() + ".manifest"));

    rerun();
    EXPECT_EQ(status, 0);
    EXPECT_FALSE(fs::exists(app));
    EXPECT_FALSE(*m_store->keyExists(Hive::CurrentUser, "\\Software\\App").value);
}

TEST_F(UninstallTest, WithoutManifestTheListedFilesGoAsListedAndThePlanSaysSo) {
    install("changed.txt", "as installed");
    std::ofstream(app + "changed.txt") << "the user's words";
    saveRecord(false);
    UninstallContext context{*m_store, {}};
    std::string error;
    auto plan = planUninstall(data(), context, error);
    ASSERT_TRUE(plan) << error;
    EXPECT_NE(uninstallText(*plan, false).find(kNoDigestsNote), std::string::npos);
    EXPECT_EQ(carryOutUninstall(*plan, context), 0);
    EXPECT_FALSE(fs::exists(app));
}

TEST_F(UninstallTest, MissingOrDamagedRecordsAreErrorsThatChangeNothing) {
    install("a.txt", "a");
    UninstallContext context{*m_store, {}};
    std::string error;
    EXPECT_FALSE(planUninstall(data(), context, error));
    EXPECT_EQ(withDirAs(error, dir()), "Deinstallationsdaten T/app/uninstall.dat nicht gefunden");
    saveRecord(true);
    std::ofstream(data() + ".manifest") << "{";
    error.clear();
    EXPECT_FALSE(planUninstall(data(), context, error));
    EXPECT_TRUE(withDirAs(error, dir())
                    .starts_with(
                        "Manifest T/app/uninstall.dat.manifest ist beschädigt: kein gültiges JSON"))
        << error;
    EXPECT_TRUE(fs::exists(app + "a.txt"));
}

} // namespace
} // namespace orvane
