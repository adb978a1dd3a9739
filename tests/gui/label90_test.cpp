// The rotated caption panel: gradient bands read back from its pixmap, its width, the
// caption's placement and when it repaints.
#include "label90.h"

#include <QApplication>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace orvane::test {
namespace {

// A panel on a screen of a chosen colour depth.
class DepthLabel : public TLabel90 {
  public:
    explicit DepthLabel(int depth, QWidget* parent) : TLabel90(parent), m_depth(depth) {}

  protected:
    int screenBitsPerPixel() const override { return m_depth; }

  private:
    int m_depth;
};

// A window of the given height with the panel along its left edge, painted.
struct PaintedPanel {
    explicit PaintedPanel(int height, int depth = 32, bool animation = true,
                          const QColor& background = QColor(0x80, 0x80, 0x80)) {
        window.resize(200, height);
        label = new DepthLabel(depth, &window);
        label->setAlign(TLabel90::alLeft);
        label->setCaption(" "); // nothing visible: only the background is in the pixmap
        label->setAniniation(animation);
        label->setBgColor(background);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        settle();
    }
    // Lets the panel paint, take its width and paint again at that width.
    void settle() {
        for (int k = 0; k < 3; ++k)
            QApplication::processEvents();
    }
    QImage image() const { return label->bitmap().toImage(); }

    QWidget window;
    DepthLabel* label = nullptr;
};

struct Band {
    QRgb color;
    int top;
    int height;
};

// The runs of equal colour down the pixmap's first column.
std::vector<Band> columnRuns(const QImage& image) {
    std::vector<Band> runs;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb pixel = image.pixel(0, y);
        if (runs.empty() || runs.back().color != pixel)
            runs.push_back({pixel, y, 0});
        ++runs.back().height;
    }
    return runs;
}

QRgb grey(int level) {
    return qRgb(level, level, level);
}

struct BandCase {
    int height;
    std::size_t bands;
    std::vector<Band> expected; // a selection of the bands, in the order painted
};

class Label90Gradient : public ::testing::TestWithParam<BandCase> {};

// Band e of n runs from round(e * H / n) to round((e + 1) * H / n) and has the colour
// round(128 - e * 128 / n), both rounded halves to even.
TEST_P(Label90Gradient, PaintsBandsFromBgColorTowardsBlack) {
    const BandCase& c = GetParam();
    PaintedPanel panel(c.height);
    const QImage image = panel.image();
    ASSERT_EQ(image.height(), c.height);
    const std::vector<Band> runs = columnRuns(image);
    ASSERT_EQ(runs.size(), c.bands);
    for (const Band& want : c.expected) {
        const auto found = std::find_if(runs.begin(), runs.end(),
                                        [&](const Band& band) { return band.top == want.top; });
        ASSERT_NE(found, runs.end()) << "no band starts at y = " << want.top;
        EXPECT_EQ(found->height, want.height) << "band at y = " << want.top;
        EXPECT_EQ(found->color, want.color) << "band at y = " << want.top;
    }
    // Every row is one colour across the whole width.
    for (int y = 0; y < image.height(); ++y)
        ASSERT_EQ(image.pixel(image.width() - 1, y), image.pixel(0, y)) << "row " << y;
}

INSTANTIATE_TEST_SUITE_P(
    Heights, Label90Gradient,
    ::testing::Values(
        // Under 3 pixels there is no band: plain BgColor.
        BandCase{2, 1, {{grey(128), 0, 2}}},
        // 30 bands of exactly 3 pixels.
        BandCase{
            90, 30, {{grey(128), 0, 3}, {grey(124), 3, 3}, {grey(64), 45, 3}, {grey(4), 87, 3}}},
        // 64 bands of 4 or 5 pixels; 23 * 300 / 64 = 107.8 and 24 * 300 / 64 = 112.5 (even: 112).
        BandCase{300,
                 64,
                 {{grey(128), 0, 5}, {grey(82), 108, 4}, {grey(80), 112, 5}, {grey(2), 295, 5}}}),
    [](const auto& info) { return "Height" + std::to_string(info.param.height); });

TEST(Label90, RoundsBandColoursHalvesToEven) {
    // Band 32 of 64: each channel is exactly half of BgColor's: 0.5, 1.5, 2.5 and 100.5.
    PaintedPanel panel(300, 32, true, QColor(1, 3, 5));
    EXPECT_EQ(panel.image().pixel(0, 150), qRgb(0, 2, 2));
    PaintedPanel odd(300, 32, true, QColor(201, 201, 201));
    EXPECT_EQ(odd.image().pixel(0, 150), qRgb(100, 100, 100));
}

// Palette screens and a panel without animation get plain BgColor; 16 bits and more the
// gradient, which starts with BgColor.
TEST(Label90, IsPlainOnPaletteScreensOrWithoutAnimation) {
    const struct {
        int depth;
        bool animation;
        std::size_t bands;
    } cases[] = {{24, true, 30}, {16, true, 30}, {8, true, 1}, {32, false, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.depth) + (c.animation ? " bits, animated" : " bits"));
        PaintedPanel panel(90, c.depth, c.animation, QColor(10, 200, 60));
        const std::vector<Band> runs = columnRuns(panel.image());
        ASSERT_EQ(runs.size(), c.bands);
        EXPECT_EQ(runs[0].color, qRgb(10, 200, 60));
    }
}

// The font's size is the pixel height of the character cell, and the panel takes it as
// its width on every paint.
TEST(Label90, TakesTheTextHeightAsItsWidthOnEveryPaint) {
    PaintedPanel panel(120);
    EXPECT_NEAR(panel.label->width(), 24, 1);
    EXPECT_EQ(panel.label->height(), 120);
    panel.label->resize(80, 120);
    panel.label->repaint();
    EXPECT_NEAR(panel.label->width(), 24, 1);
    QFont large = panel.label->font();
    large.setPointSize(48);
    panel.label->setFont(large);
    panel.settle();
    EXPECT_NEAR(panel.label->width(), 48, 1);
    EXPECT_EQ(panel.image().width(), panel.label->width());
}

// Rows of the pixmap in which some pixel has the caption's colour.
std::pair<int, int> captionRows(const QImage& image, QRgb background) {
    int first = -1;
    int last = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y)) != background) {
                first = first < 0 ? y : first;
                last = y;
                break;
            }
        }
    }
    return {first, last};
}

// The caption is about 40 pixels long: it ends at the bottom edge, is centred, or starts
// at the top edge of a 300-pixel panel (give or take the glyphs' side bearings).
TEST(Label90, StartsTheCaptionWhereItsStyleSays) {
    const std::pair<TLabel90::tstil, int> cases[] = {
        {TLabel90::Bottom, 299}, {TLabel90::Center, 150}, {TLabel90::sTop, 0}};
    for (const auto& [stil, row] : cases) {
        SCOPED_TRACE(row);
        PaintedPanel panel(300, 32, false);
        panel.label->setCaption("Wort");
        panel.label->setStil(stil);
        panel.settle();
        const auto [first, last] = captionRows(panel.image(), grey(128));
        EXPECT_GT(last - first, 20);
        EXPECT_LT(last - first, 100);
        const int anchor = stil == TLabel90::Bottom ? last
                           : stil == TLabel90::sTop ? first
                                                    : (first + last) / 2;
        EXPECT_NEAR(anchor, row, 4) << first << ".." << last;
    }
}

TEST(Label90, ShowsItsNameWhenTheCaptionIsEmpty) {
    QWidget window;
    window.resize(100, 200);
    auto* label = new TLabel90(&window);
    label->setObjectName("lab90");
    label->setAlign(TLabel90::alLeft);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QApplication::processEvents();
    EXPECT_EQ(label->caption(), "lab90");
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
  public:
    int paints = 0;

  protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

TEST(Label90, RepaintsOnlyWhenAniniationReallyChangesOrTheFontChanges) {
    PaintedPanel panel(90);
    PaintCounter counter;
    panel.label->installEventFilter(&counter);
    panel.label->setAniniation(true);
    panel.settle();
    EXPECT_EQ(counter.paints, 0);
    panel.label->setAniniation(false);
    panel.settle();
    EXPECT_GE(counter.paints, 1);
    counter.paints = 0;
    panel.label->setAniniation(false);
    panel.settle();
    EXPECT_EQ(counter.paints, 0);
    // A font changed directly on the widget repaints as well.
    QFont bold = panel.label->font();
    bold.setBold(true);
    panel.label->setFont(bold);
    panel.settle();
    EXPECT_GE(counter.paints, 1);
}

} // namespace
} // namespace orvane::test
