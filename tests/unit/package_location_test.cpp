// The package is named after the executable: up to the first ".", or the whole dotless name.
#include "package_location.h"
#include "registry_test_support.h" // TempFolderTest

#include <gtest/gtest.h>

#include <ostream>
#include <sys/stat.h>

namespace orvane::test {
namespace {

struct LocationCase {
    const char* executable;
    const char* package;
};

void PrintTo(const LocationCase& c, std::ostream* os) {
    *os << c.executable;
}

class PackageLocation : public ::testing::TestWithParam<LocationCase> {};

TEST_P(PackageLocation, FollowsTheFirstDotRule) {
    EXPECT_EQ(packagePathForExecutable(GetParam().executable), GetParam().package);
}

INSTANTIATE_TEST_SUITE_P(
    Names, PackageLocation,
    ::testing::Values(LocationCase{"/opt/inst/setup.exe", "/opt/inst/setup.ovsp"},
                      LocationCase{"/opt/inst/install.2024.exe", "/opt/inst/install.ovsp"},
                      LocationCase{"/opt/inst/setup", "/opt/inst/setup.ovsp"},
                      LocationCase{"/opt/my.dir/setup", "/opt/my.dir/setup.ovsp"},
                      LocationCase{"/opt/inst/.hidden", "/opt/inst/.ovsp"},
                      LocationCase{"setup.bin", "setup.ovsp"}));

struct StartCase {
    const char* argv0;
    const char* searchPath; // "@" stands for the test folder
    const char* started;
};

void PrintTo(const StartCase& c, std::ostream* os) {
    *os << c.argv0 << " on " << c.searchPath;
}

// The engine "engine" with a link "bin/setup" to it, as /proc/self/exe a link "exe" to it, and two
// other files called setup: another program, and one that is not executable.
class StartedExecutable : public TempFolderTest, public ::testing::WithParamInterface<StartCase> {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        for (const char* folder : {"bin", "other", "plain"})
            fs::create_directory(path(folder));
        for (const char* file : {"engine", "other/setup", "plain/setup"}) {
            std::ofstream(path(file)) << "#!/bin/sh\n";
            ::chmod(path(file).c_str(), 0755);
        }
        ::chmod(path("plain/setup").c_str(), 0644);
        fs::create_symlink(path("engine"), path("bin/setup"));
        fs::create_symlink(path("engine"), path("exe"));
    }
    std::string inFolder(std::string text) const {
        for (auto at = text.find('@'); at != std::string::npos;
             at = text.find('@', at + dir().size()))
            text.replace(at, 1, dir());
        return text;
    }
};

TEST_P(StartedExecutable, IsTheNameTheUserStartedNotTheLinksTarget) {
    const StartCase& c = GetParam();
    EXPECT_EQ(startedExecutablePath(inFolder(c.argv0), inFolder(c.searchPath), path("exe")),
              inFolder(c.started));
}

INSTANTIATE_TEST_SUITE_P(
    Starts, StartedExecutable,
    ::testing::Values(StartCase{"@/bin/setup", "", "@/bin/setup"},
                      StartCase{"setup", "@/plain:@/bin", "@/bin/setup"},
                      // The shell ran the other program, so we were not started by that name.
                      StartCase{"setup", "@/other:@/bin", "@/engine"},
                      StartCase{"setup", "@/fehlt", "@/engine"},
                      StartCase{"", "@/bin", "@/engine"}));

} // namespace
} // namespace orvane::test
