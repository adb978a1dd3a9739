// The package is named after the executable: up to the first ".", or the whole dotless name.
#include "package_location.h"

#include <gtest/gtest.h>

#include <ostream>

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

} // namespace
} // namespace orvane::test
