// The wizard of examples/wizard, packed with its logo and walked through its scenario.
#include "e2e_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using orvane::e2e::readFile;

const fs::path kExample = ORVANE_WIZARD_EXAMPLE;

class WizardExample : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("orvane_wizard_" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    // Runs the tool in the test's folder; returns stdout, sets the exit code.
    std::string tool(const std::string& arguments, int& exitCode) {
        const std::string command = "cd '" + m_dir.string() + "' && ORVANE_REGISTRY_DIR='" +
                                    m_dir.string() + "' " + ORVANE_TOOL + " " + arguments +
                                    " 2>/dev/null";
        auto result = orvane::e2e::runCommand(command);
        exitCode = result.exitCode;
        return result.out;
    }

    fs::path m_dir;
};

TEST_F(WizardExample, WalksThroughAllThreePages) {
    int code = -1;
    tool("pack -o wizard.ovsp '" + (kExample / "wizard.ovs").string() + "' logo='" +
             (kExample / "logo.bmp").string() + "'",
         code);
    ASSERT_EQ(code, 0);
    const std::string transcript =
        tool("run --scenario '" + (kExample / "wizard.scenario").string() + "' wizard.ovsp", code);
    EXPECT_EQ(code, 0);
    // ORVANE_REGENERATE=1 rewrites the expected transcript; review it before committing.
    if (std::getenv("ORVANE_REGENERATE") != nullptr)
        std::ofstream(kExample / "wizard.out", std::ios::binary) << transcript;
    EXPECT_EQ(transcript, readFile(kExample / "wizard.out"));
    for (const char* page : {"welcome.png", "options.png", "progress.png"})
        EXPECT_EQ(readFile(m_dir / page).substr(0, 4), "\x89PNG") << page;
}

} // namespace
