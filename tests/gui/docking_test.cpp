// setAlign: docking in the order of creation, following the container's changes.
#include "window_script.h"

#include <map>

namespace orvane::test {
namespace {

struct DockCase {
    const char* name;
    const char* script; // after the form "f" (400 x 300 client area) exists
    std::map<std::string, QRect> expected;
};

void PrintTo(const DockCase& row, std::ostream* out) {
    *out << row.name;
}

class Docking : public WindowScript, public ::testing::WithParamInterface<DockCase> {};

TEST_P(Docking, ControlsTakeTheirEdgesInCreationOrder) {
    EXPECT_EQ(
        runMain(std::string("createForm(\"f\", 0, 0, 400, 300, \"F\");\n") + GetParam().script),
        std::vector<std::string>{});
    for (const auto& [name, rect] : GetParam().expected)
        EXPECT_EQ(widget(name)->geometry(), rect) << name;
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, Docking,
    ::testing::Values(DockCase{"AllEdges",
                               R"(createPanel("t", 5, 5, 10, 50, "f", "");  setAlign("t", alTop);
                    createPanel("b", 5, 5, 10, 30, "f", "");  setAlign("b", alBottom);
                    createPanel("l", 5, 5, 80, 10, "f", "");  setAlign("l", alLeft);
                    createPanel("r", 5, 5, 60, 10, "f", "");  setAlign("r", alRight);
                    createImage("c", 5, 5, 10, 10, "f", "");  setAlign("c", alAll);)",
                               {{"t", {0, 0, 400, 50}},
                                {"b", {0, 270, 400, 30}},
                                {"l", {0, 50, 80, 220}},
                                {"r", {340, 50, 60, 220}},
                                {"c", {80, 50, 260, 220}}}},
                      DockCase{"TopComesBeforeLeftCreatedEarlier",
                               R"(createPanel("l", 5, 5, 80, 10, "f", "");  setAlign("l", alLeft);
                    createPanel("t", 5, 5, 10, 50, "f", "");  setAlign("t", alTop);)",
                               {{"l", {0, 50, 80, 250}}, {"t", {0, 0, 400, 50}}}},
                      DockCase{"TwoTopsStackInCreationOrder",
                               R"(createPanel("t1", 5, 5, 10, 20, "f", "");
                    createPanel("t2", 5, 5, 10, 30, "f", "");
                    setAlign("t2", alTop); setAlign("t1", alTop);)",
                               {{"t1", {0, 0, 400, 20}}, {"t2", {0, 20, 400, 30}}}},
                      DockCase{"FillAndUnknownCodes",
                               R"(createPanel("p", 5, 6, 70, 80, "f", ""); setAlign("p", 6);
                    createPanel("q", 5, 6, 70, 80, "f", ""); setAlign("q", alAll);)",
                               {{"p", {5, 6, 70, 80}}, {"q", {0, 0, 400, 300}}}},
                      DockCase{"InsideAPanelsBevelUntilItIsRemoved",
                               R"(createPanel("p", 10, 10, 200, 100, "f", "");
                    createImage("i", 0, 0, 10, 10, "p", ""); setAlign("i", alAll);
                    createPanel("q", 10, 150, 200, 100, "f", "");
                    createImage("j", 0, 0, 10, 10, "q", ""); setAlign("j", alAll);
                    setPanelBorders("q", true);)",
                               {{"i", {1, 1, 198, 98}}, {"j", {0, 0, 200, 100}}}},
                      DockCase{"AFreedControlGivesItsSpaceBack",
                               R"(createPanel("t", 5, 5, 10, 50, "f", ""); setAlign("t", alTop);
                    createPanel("c", 5, 5, 10, 10, "f", ""); setAlign("c", alAll);
                    freeObject("t");)",
                               {{"c", {0, 0, 400, 300}}}},
                      DockCase{
                          "NestedDockingFollowsTheContainersSize",
                          R"(createPanel("side", 5, 5, 100, 10, "f", ""); setAlign("side", alLeft);
                    createPanel("head", 0, 0, 10, 40, "side", ""); setAlign("head", alTop);
                    setPanelBorders("side", true);)",
                          {{"side", {0, 0, 100, 300}}, {"head", {0, 0, 100, 40}}}}),
    [](const ::testing::TestParamInfo<DockCase>& info) { return info.param.name; });

} // namespace
} // namespace orvane::test
