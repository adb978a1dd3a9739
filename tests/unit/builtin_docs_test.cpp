// docs/builtins.md holds every built-in's signature and every constant, as the catalogue
// declares them and in its order.
#include "../e2e/e2e_support.h"
#include "builtin_signatures.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>

namespace orvane {
namespace {

TEST(BuiltinDocs, MatchTheCatalogue) {
    std::istringstream doc(
        e2e::readFile(std::filesystem::path(ORVANE_SOURCE_DIR) / "docs" / "builtins.md"));
    const std::regex constantRow(R"(\| `\w+` \| -?\d+ \|)");
    std::vector<std::string> documented;
    for (std::string line; std::getline(doc, line);) {
        if (line.rfind("### `", 0) == 0 || std::regex_match(line, constantRow))
            documented.push_back(line);
    }
    const std::vector<std::string> expected = builtinReferenceLines();
    std::string all;
    for (const std::string& line : expected)
        all += line + "\n";
    EXPECT_EQ(documented, expected) << "docs/builtins.md should have these lines, in order:\n"
                                    << all;
}

} // namespace
} // namespace orvane
