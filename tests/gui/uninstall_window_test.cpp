// The engine's uninstall window on the offscreen platform: declining changes nothing; confirming
// runs the steps and the result page lists what was kept and why.
#include "manifest_json.h"
#include "sha256.h"
#include "terminal_uninstall.h"
#include "uninstall_window.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace orvane::test {
namespace {

namespace fs = std::filesystem;

class UninstallWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "orvane-window-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        m_store = std::make_unique<RegistryStore>(
            RegistryFiles{m_dir + "/lm.db", m_dir + "/cu.db", "/opt"});
        fs::create_directory(m_dir + "/app");
        InstallManifest manifest;
        manifest.folders = {m_dir + "/app/"};
        for (const char* name : {"kept.txt", "gone.txt"}) {
            std::ofstream(m_dir + "/app/" + name) << "installed";
            Sha256 digest;
            digest.update("installed");
            manifest.files.push_back({m_dir + "/app/" + name, 9, digest.finishHex(), 0644});
        }
        std::ofstream(m_dir + "/app/kept.txt") << "changed by the user";
        std::ofstream(m_dir + "/app/uninstall.dat") << "";
        std::string reason;
        ASSERT_TRUE(writeManifestFile(m_dir + "/app/uninstall.dat.manifest", manifest, reason));
    }
    void TearDown() override { fs::remove_all(m_dir); }

    // Shows the window, presses `button` on its first page and then "Fertig" if it is shown.
    int press(const char* button, std::string& keptList) {
        UninstallContext context{*m_store, {}};
        std::string error;
        auto plan = planUninstall(m_dir + "/app/uninstall.dat", context, error);
        EXPECT_TRUE(plan) << error;
        UninstallWindow window(*plan, context, false);
        QTimer::singleShot(0, [&] {
            window.findChild<QPushButton*>(button)->click();
            keptList =
                window.findChild<QPlainTextEdit*>("uninstallKept")->toPlainText().toStdString();
            if (auto* done = window.findChild<QPushButton*>("uninstallDone"); done->isVisible())
                done->click();
        });
        window.exec();
        return window.exitStatus();
    }

    std::string m_dir;
    std::unique_ptr<RegistryStore> m_store;
};

TEST_F(UninstallWindowTest, DecliningChangesNothing) {
    std::string kept;
    EXPECT_EQ(press("uninstallCancel", kept), kUninstallCancelled);
    EXPECT_TRUE(fs::exists(m_dir + "/app/gone.txt"));
    EXPECT_TRUE(fs::exists(m_dir + "/app/uninstall.dat.manifest"));
}

TEST_F(UninstallWindowTest, ConfirmingListsWhatWasKeptAndWhy) {
    std::string kept;
    EXPECT_EQ(press("uninstallConfirm", kept), 0);
    EXPECT_EQ(kept, "Datei " + m_dir +
                        "/app/kept.txt: behalten (seit der Installation geändert)\n"
                        "Ordner " +
                        m_dir + "/app/: behalten (nicht leer)\n");
    EXPECT_FALSE(fs::exists(m_dir + "/app/gone.txt"));
    EXPECT_TRUE(fs::exists(m_dir + "/app/kept.txt"));
}

} // namespace
} // namespace orvane::test
