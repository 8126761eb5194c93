#include "progress/CProgressBar.h"

#include <gtest/gtest.h>

#include <vector>

#include "RecordingCanvas.h"

namespace farsend {
namespace {

using test::RecordingCanvas;
constexpr OleColor kFore = kColorHighlight;
constexpr OleColor kBack = kColorButtonFace;

// The canvas of the worked example: 245 x 9 pixels inside a 1-pixel frame.
class WorkedExample : public ::testing::Test {
protected:
    void SetUp() override { bar.setCanvas(&canvas); }
    RecordingCanvas canvas{245, 9};
    CProgressBar bar;
};

TEST_F(WorkedExample, SettlesOnFortyBlocksAndNarrowsTheCanvas) {
    const auto l = bar.layout();
    EXPECT_EQ(l.BlockHeight, 5);
    EXPECT_EQ(l.BlockWidth, 3);
    EXPECT_EQ(l.BlockGap, 3);
    EXPECT_EQ(l.BlockMargin, 2);
    EXPECT_EQ(l.BlockCount, 40);
    EXPECT_EQ(canvas.widthsSet, std::vector<double>{245});  // inner 243 plus the frame
    EXPECT_EQ(canvas.innerWidth(), 243);
    EXPECT_EQ(canvas.pixelSwitches, 1);
    EXPECT_EQ(canvas.clears, 1);

    // Value 0: every block in the back colour, at x = 2, 8, ... 236.
    ASSERT_EQ(canvas.fills.size(), 40u);
    for (int i = 0; i < 40; ++i) EXPECT_EQ(canvas.fills[i], (RecordingCanvas::Fill{2 + 6 * i, 2, 5 + 6 * i, 6, kBack}));
    EXPECT_EQ(canvas.foreColor(), kBack);
    EXPECT_EQ(canvas.backColor(), kBack);
}

TEST_F(WorkedExample, HalfTheRangeLightsTwentyBlocksWithoutAClear) {
    canvas.forget();
    bar.setValue(50);
    EXPECT_EQ(canvas.clears, 0);
    ASSERT_EQ(canvas.fills.size(), 40u);
    for (int i = 0; i < 40; ++i) EXPECT_EQ(canvas.fills[i].color, i < 20 ? kFore : kBack) << i;
    EXPECT_EQ(canvas.pixel(2 + 6 * 19, 4), kFore);
    EXPECT_EQ(canvas.pixel(2 + 6 * 20, 4), kBack);
    EXPECT_EQ(canvas.pixel(6, 4), kBack);  // a gap keeps the cleared back colour
    EXPECT_EQ(canvas.outside, 0);
}

struct LitCase {
    std::int32_t min, max, value;
    std::int32_t readBack;
    int lit;
};
void PrintTo(const LitCase& c, std::ostream* os) { *os << c.value << " in " << c.min << ".." << c.max; }

class LitBlocks : public WorkedExample, public ::testing::WithParamInterface<LitCase> {};

TEST_P(LitBlocks, LightsTheRoundedShare) {
    const auto& c = GetParam();
    bar.setMax(c.max);
    bar.setMin(c.min);
    canvas.forget();
    bar.setValue(c.value);
    EXPECT_EQ(bar.Value(), c.readBack);
    EXPECT_EQ(canvas.fillsIn(kFore), c.lit);
    EXPECT_EQ(canvas.fillsIn(kBack), 40 - c.lit);
}

INSTANTIATE_TEST_SUITE_P(Values, LitBlocks,
                         ::testing::Values(LitCase{0, 100, 1, 1, 0}, LitCase{0, 100, 2, 2, 1},
                                           LitCase{0, 100, 99, 99, 40}, LitCase{0, 100, 100, 100, 40},
                                           LitCase{50, 100, 75, 75, 20}, LitCase{0, 100, 150, 100, 40},
                                           LitCase{0, 100, -5, 0, 0}, LitCase{50, 100, 10, 50, 0},
                                           LitCase{-100, 100, 0, 0, 20}));

// The main window's canvas, 247 x 11 inside its frame, settles on 30 blocks
// (the two counts tie at 4 pixels each way), where shares of half a block
// occur.
TEST(HalfBlocks, RoundToTheEvenCount) {
    RecordingCanvas canvas{247, 11};
    CProgressBar bar;
    bar.setCanvas(&canvas);
    EXPECT_EQ(bar.layout().BlockWidth, 5);  // 2/3 of 7 = 4.67
    ASSERT_EQ(bar.layout().BlockCount, 30);
    EXPECT_EQ(canvas.innerWidth(), 243);
    for (const auto& [value, lit] : std::vector<std::pair<int, int>>{{5, 2}, {15, 4}, {25, 8}, {35, 10}, {6, 2}}) {
        canvas.forget();
        bar.setValue(value);
        EXPECT_EQ(canvas.fillsIn(kFore), lit) << value;
    }
}

TEST(Layout, BlockWidthRoundsHalvesToEven) {
    // Inner height 7.75 gives blocks 3.75 -> 4 high, 2.67 -> 3 wide; a
    // height of 6.5 gives 2.5 -> 2 high, then 1.33 -> 1 wide.
    RecordingCanvas tall{100, 7.75};
    RecordingCanvas low{100, 6.5};
    CProgressBar a, b;
    a.setCanvas(&tall);
    b.setCanvas(&low);
    EXPECT_EQ(a.layout().BlockHeight, 4);
    EXPECT_EQ(a.layout().BlockWidth, 3);
    EXPECT_EQ(b.layout().BlockHeight, 2);
    EXPECT_EQ(b.layout().BlockWidth, 1);
}

// ---- errors ----

TEST_F(WorkedExample, MinAndMaxMustStayApart) {
    bar.setValue(40);
    canvas.forget();
    try {
        bar.setMin(100);
        FAIL() << "Min 100 accepted";
    } catch (const ClassError& e) {
        EXPECT_EQ(e.number, -2147221502);
        EXPECT_EQ(e.source, "CProgressBar.Min");
        EXPECT_EQ(e.description, "Min property must be less than Max.");
    }
    bar.setMin(0);
    try {
        bar.setMax(0);
        FAIL() << "Max 0 accepted";
    } catch (const ClassError& e) {
        EXPECT_EQ(e.number, -2147221501);
        EXPECT_EQ(e.source, "CProgressBar.Max");
        EXPECT_EQ(e.description, "Max property must be greater than Min.");
    }
    EXPECT_EQ(bar.Min(), 0);
    EXPECT_EQ(bar.Max(), 100);
    EXPECT_EQ(bar.Value(), 40);
    EXPECT_EQ(canvas.fills.size(), 40u);  // only the accepted setMin(0) repainted
}

TEST_F(WorkedExample, OnlyAPictureBoxIsAccepted) {
    RecordingCanvas other{100, 20};
    other.pictureBox = false;
    for (ICanvas* wrong : {static_cast<ICanvas*>(&other), static_cast<ICanvas*>(nullptr)}) {
        try {
            bar.setCanvas(wrong);
            FAIL() << "accepted";
        } catch (const ClassError& e) {
            EXPECT_EQ(e.number, static_cast<std::int32_t>(0x80040001u));
            EXPECT_EQ(e.number, -2147221503);
            EXPECT_EQ(e.source, "CProgressBar.Canvas");
            EXPECT_EQ(e.description, "Canvas property must be of type PictureBox.");
        }
        EXPECT_EQ(bar.Canvas(), &canvas);
    }
    EXPECT_TRUE(other.fills.empty());
    EXPECT_TRUE(other.widthsSet.empty());
    EXPECT_EQ(bar.layout().BlockCount, 40);
}

// ---- repainting ----

TEST_F(WorkedExample, LoweringTheValueRepaintsTheTailInTheBackColour) {
    bar.setValue(100);
    canvas.forget();
    bar.setValue(10);
    EXPECT_EQ(canvas.clears, 0);
    EXPECT_EQ(canvas.fillsIn(kFore), 4);
    EXPECT_EQ(canvas.fillsIn(kBack), 36);
    EXPECT_EQ(canvas.pixel(2 + 6 * 4, 3), kBack);
    EXPECT_EQ(canvas.pixel(2 + 6 * 3, 3), kFore);
}

TEST_F(WorkedExample, RefreshClearsOnlyWhenAsked) {
    bar.setValue(50);
    for (const std::optional<bool> clearFirst : {std::optional<bool>{}, std::optional<bool>{false}}) {
        canvas.forget();
        bar.refresh(clearFirst);
        EXPECT_EQ(canvas.clears, 0);
        EXPECT_EQ(canvas.fills.size(), 40u);
    }
    canvas.forget();
    bar.refresh(true);
    EXPECT_EQ(canvas.clears, 1);
    EXPECT_EQ(canvas.fillsIn(kFore), 20);
}

TEST_F(WorkedExample, ColoursRepaintAtOnce) {
    bar.setValue(50);
    canvas.forget();
    bar.setForeColor(0x0000FF);
    EXPECT_EQ(bar.ForeColor(), 0x0000FFu);
    EXPECT_EQ(canvas.fillsIn(0x0000FF), 20);
    canvas.forget();
    bar.setBackColor(0x00FF00);
    EXPECT_EQ(canvas.backColor(), 0x00FF00u);
    EXPECT_EQ(canvas.fillsIn(0x00FF00), 20);
    EXPECT_EQ(canvas.foreColor(), 0x00FF00u);  // left at the back colour
}

TEST_F(WorkedExample, LayoutFollowsOtherSizeChangesOnlyOnResize) {
    canvas.setOuterWidth(300);  // inner 298, changed behind the bar's back
    canvas.widthsSet.clear();
    canvas.forget();
    bar.setValue(100);
    EXPECT_EQ(bar.layout().BlockCount, 40);
    EXPECT_EQ(canvas.fills.size(), 40u);

    bar.Resize();
    EXPECT_EQ(bar.layout().BlockCount, 50);  // 298 div 6 + 1, kept as it is
    EXPECT_TRUE(canvas.widthsSet.empty());
    EXPECT_EQ(canvas.clears, 1);
    EXPECT_EQ(canvas.outside, 0);  // the 50th block would reach x = 300: cut

    canvas.forget();
    bar.ResizeEx();
    // 298 - 297 = 1 against 303 - 298 = 5: 49 blocks in 297 pixels.
    EXPECT_EQ(bar.layout().BlockCount, 49);
    EXPECT_EQ(canvas.widthsSet, std::vector<double>{299});
    EXPECT_EQ(canvas.clears, 1);
    EXPECT_EQ(canvas.fills.size(), 49u);
}

TEST_F(WorkedExample, ResizeExIgnoresTheResizeItCausesItself) {
    canvas.setOuterWidth(300);
    int reported = 0;
    canvas.onResize = [&] {
        ++reported;
        bar.ResizeEx();  // the canvas reporting the change back
    };
    canvas.widthsSet.clear();
    bar.ResizeEx();
    EXPECT_EQ(reported, 1);
    EXPECT_EQ(canvas.widthsSet, std::vector<double>{299});
    EXPECT_EQ(bar.layout().BlockCount, 49);
    // A later change from outside is followed again.
    canvas.setOuterWidth(247);
    EXPECT_EQ(reported, 3);  // that change, and the narrowing it led to
    EXPECT_EQ(bar.layout().BlockCount, 40);
    EXPECT_EQ(canvas.widthsSet.back(), 245);
}

TEST(NoCanvas, SettersStoreAndPaintNothing) {
    CProgressBar bar;
    EXPECT_EQ(bar.Canvas(), nullptr);
    EXPECT_EQ(bar.Value(), 0);
    EXPECT_EQ(bar.Min(), 0);
    EXPECT_EQ(bar.Max(), 100);
    EXPECT_EQ(bar.ForeColor(), 0x8000000Du);
    EXPECT_EQ(bar.BackColor(), 0x8000000Fu);
    bar.setValue(250);
    EXPECT_EQ(bar.Value(), 100);
    bar.setMax(1000);
    bar.setMin(-10);
    bar.setForeColor(1);
    bar.setBackColor(2);
    bar.refresh(true);
    bar.Resize();
    bar.ResizeEx();
    EXPECT_EQ(bar.Value(), 100);
    EXPECT_EQ(bar.layout().BlockCount, 0);
}

// ---- canvases too small for the layout ----

struct SmallCase {
    double width, height;
};
void PrintTo(const SmallCase& c, std::ostream* os) { *os << c.width << " x " << c.height; }

class Degenerate : public ::testing::TestWithParam<SmallCase> {};

TEST_P(Degenerate, NothingFailsAndNothingLandsOutside) {
    const auto& c = GetParam();
    RecordingCanvas canvas{c.width, c.height};
    CProgressBar bar;
    ASSERT_NO_THROW(bar.setCanvas(&canvas));
    for (const int v : {0, 50, 100}) bar.setValue(v);
    bar.setMax(50);  // Value 100 now lies above the range
    bar.Resize();
    bar.refresh(true);
    EXPECT_EQ(canvas.outside, 0);
    EXPECT_GE(canvas.innerWidth(), 0);
    EXPECT_LE(static_cast<int>(canvas.fills.size()), std::max<int>(bar.layout().BlockCount, 0));
}

INSTANTIATE_TEST_SUITE_P(Sizes, Degenerate,
                         ::testing::Values(SmallCase{245, 4}, SmallCase{245, 0}, SmallCase{245, 4.4}, SmallCase{245, 5},
                                           SmallCase{0, 9}, SmallCase{2, 9}, SmallCase{5, 9}, SmallCase{0, 0},
                                           SmallCase{1, 30000}, SmallCase{200000, 6}));

TEST(Degenerate, LowCanvasKeepsItsWidthAndGetsNoBlocks) {
    RecordingCanvas canvas{245, 4};
    CProgressBar bar;
    bar.setCanvas(&canvas);
    bar.setValue(60);
    EXPECT_EQ(bar.layout().BlockCount, 0);
    EXPECT_TRUE(canvas.widthsSet.empty());
    EXPECT_TRUE(canvas.fills.empty());
    EXPECT_EQ(canvas.clears, 1);
}

TEST(Degenerate, NarrowCanvasShrinksToNoBlocks) {
    RecordingCanvas canvas{4, 9};  // one block needs 6: 0 blocks (1 away) beat 1 (2 away)
    CProgressBar bar;
    bar.setCanvas(&canvas);
    bar.setValue(100);
    EXPECT_EQ(bar.layout().BlockCount, 0);
    EXPECT_EQ(canvas.widthsSet, std::vector<double>{5});
    EXPECT_TRUE(canvas.fills.empty());
}

TEST(OutOfRange, ValueOutsideAChangedRangeShowsFullOrEmptyAndNoMore) {
    RecordingCanvas canvas{245, 9};
    CProgressBar bar;
    bar.setCanvas(&canvas);
    bar.setValue(100);
    canvas.forget();
    bar.setMax(50);  // Value stays 100, twice the range
    EXPECT_EQ(bar.Value(), 100);
    EXPECT_EQ(canvas.fills.size(), 40u);
    EXPECT_EQ(canvas.fillsIn(kFore), 40);

    bar.setValue(0);
    canvas.forget();
    bar.setMin(20);  // Value 0 now lies below
    EXPECT_EQ(bar.Value(), 0);
    EXPECT_EQ(canvas.fills.size(), 40u);
    EXPECT_EQ(canvas.fillsIn(kBack), 40);
    EXPECT_EQ(canvas.outside, 0);
}

}  // namespace
}  // namespace farsend
