#include "progress/CProgressBar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <tuple>
#include <vector>

namespace farsend {
namespace {

// Records the painting steps; counts fills reaching beyond the inner area.
struct RecordingCanvas : ICanvas {
    struct Fill {
        int x1, y1, x2, y2;
        OleColor color;
        bool operator==(const Fill&) const = default;
    };
    RecordingCanvas(double innerW, double innerH) : inner(innerW), height(innerH) {}
    bool isPictureBox() const override { return pictureBox; }
    void usePixelCoordinates() override {}
    double innerWidth() const override { return inner; }
    double innerHeight() const override { return height; }
    double outerWidth() const override { return inner + 2; }
    void setOuterWidth(double width) override {
        widthsSet.push_back(inner = width - 2);
        if (onResize) onResize();
    }
    OleColor foreColor() const override { return fore; }
    void setForeColor(OleColor color) override { fore = color; }
    OleColor backColor() const override { return back; }
    void setBackColor(OleColor color) override { back = color; }
    void clear() override {
        forget();
        ++clears;
    }
    void fillRect(int x1, int y1, int x2, int y2) override {
        fills.push_back({x1, y1, x2, y2, fore});
        outside += x1 <= x2 && y1 <= y2 && (x1 < 0 || y1 < 0 || x2 >= std::lround(inner) || y2 >= std::lround(height));
    }
    void forget() {
        fills.clear();
        clears = 0;
    }
    int fillsIn(OleColor color) const { return static_cast<int>(std::ranges::count(fills, color, &Fill::color)); }

    double inner, height;
    OleColor fore = 0, back = 0;
    bool pictureBox = true;
    int clears = 0, outside = 0;
    std::vector<Fill> fills;
    std::vector<double> widthsSet;  // inner widths set
    std::function<void()> onResize;
};
constexpr OleColor kFore = kColorHighlight, kBack = kColorButtonFace;

// The worked example: 245 x 9 pixels inside a 1-pixel frame.
struct Bar : ::testing::Test {
    Bar() { bar.setCanvas(&canvas); }
    RecordingCanvas canvas{245, 9};
    CProgressBar bar;
};

TEST_F(Bar, WorkedExample) {
    EXPECT_EQ(bar.layout().BlockCount, 40);
    EXPECT_EQ(canvas.widthsSet, std::vector<double>{243});
    EXPECT_EQ(canvas.clears, 1);
    EXPECT_EQ(canvas.fillsIn(kBack), 40);

    canvas.forget();
    bar.setValue(50);
    std::vector<RecordingCanvas::Fill> expected;
    for (int i = 0; i < 40; ++i) expected.push_back({2 + 6 * i, 2, 5 + 6 * i, 6, i < 20 ? kFore : kBack});
    EXPECT_EQ(canvas.fills, expected);
    EXPECT_EQ(canvas.clears, 0);
    EXPECT_EQ(canvas.outside, 0);
}

TEST(Lit, RoundedShareOfTheClampedValue) {
    struct Case {
        double width, height;
        std::int32_t min, max, value, readBack;
        int blocks, lit;
    };
    // 247 x 11 settles on 30 blocks, where shares of half a block round to even.
    for (const Case& c : {Case{245, 9, 0, 100, 1, 1, 40, 0}, Case{245, 9, 0, 100, 2, 2, 40, 1},
                          Case{245, 9, 0, 100, 99, 99, 40, 40}, Case{245, 9, 50, 100, 75, 75, 40, 20},
                          Case{245, 9, 0, 100, 150, 100, 40, 40}, Case{245, 9, 0, 100, -5, 0, 40, 0},
                          Case{245, 9, 50, 100, 10, 50, 40, 0}, Case{245, 9, -100, 100, 0, 0, 40, 20},
                          Case{247, 11, 0, 100, 5, 5, 30, 2}, Case{247, 11, 0, 100, 15, 15, 30, 4}}) {
        SCOPED_TRACE(testing::Message() << c.value << " in " << c.min << ".." << c.max << " on " << c.width);
        RecordingCanvas canvas{c.width, c.height};
        CProgressBar bar;
        bar.setMax(c.max);
        bar.setMin(c.min);
        bar.setCanvas(&canvas);
        canvas.forget();
        bar.setValue(c.value);
        EXPECT_EQ(bar.Value(), c.readBack);
        EXPECT_EQ(canvas.fillsIn(kFore), c.lit);
        EXPECT_EQ(canvas.fillsIn(kBack), c.blocks - c.lit);
    }
}

void expectError(const std::function<void()>& set, std::int32_t number, const char* source, const char* text) {
    try {
        set();
        ADD_FAILURE() << source << " accepted";
    } catch (const ClassError& e) {
        EXPECT_EQ(std::tie(e.number, e.source, e.description), std::make_tuple(number, source, text));
    }
}

TEST_F(Bar, RefusedSettingsChangeNothing) {
    bar.setValue(40);
    canvas.forget();
    RecordingCanvas other{100, 20};
    other.pictureBox = false;
    expectError([&] { bar.setMin(100); }, -2147221502, "CProgressBar.Min", "Min property must be less than Max.");
    expectError([&] { bar.setMax(0); }, -2147221501, "CProgressBar.Max", "Max property must be greater than Min.");
    for (ICanvas* wrong : {static_cast<ICanvas*>(&other), static_cast<ICanvas*>(nullptr)})
        expectError([&] { bar.setCanvas(wrong); }, -2147221503, "CProgressBar.Canvas",
                    "Canvas property must be of type PictureBox.");
    EXPECT_EQ(std::make_tuple(bar.Min(), bar.Max(), bar.Value()), std::make_tuple(0, 100, 40));
    EXPECT_EQ(bar.Canvas(), &canvas);
    EXPECT_TRUE(canvas.fills.empty());
    EXPECT_TRUE(other.fills.empty() && other.widthsSet.empty());
}

TEST_F(Bar, LoweringTheValueRepaintsWithoutAClear) {
    bar.setValue(100);
    canvas.forget();
    bar.setValue(10);
    EXPECT_EQ(canvas.clears, 0);
    EXPECT_EQ(canvas.fillsIn(kFore), 4);
    EXPECT_EQ(canvas.fillsIn(kBack), 36);
}

TEST_F(Bar, RefreshClearsOnlyWhenAsked) {
    bar.setValue(50);
    for (const auto& [clearFirst, clears] :
         std::vector<std::pair<std::optional<bool>, int>>{{std::nullopt, 0}, {false, 0}, {true, 1}}) {
        canvas.forget();
        bar.refresh(clearFirst);
        EXPECT_EQ(canvas.clears, clears);
        EXPECT_EQ(canvas.fills.size(), 40u);
        EXPECT_EQ(canvas.fillsIn(kFore), 20);
    }
}

TEST_F(Bar, ResizeExIgnoresTheResizeItCausesItself) {
    int reported = 0;
    canvas.onResize = [&] {
        ++reported;
        bar.ResizeEx();  // as the window does on every resize
    };
    canvas.setOuterWidth(300);  // from outside: inner 298 settles on 49 blocks
    EXPECT_EQ(reported, 2);
    EXPECT_EQ(canvas.widthsSet, (std::vector<double>{243, 298, 297}));
    EXPECT_EQ(bar.layout().BlockCount, 49);
}

TEST(Degenerate, NothingFailsAndNothingLandsOutside) {
    for (const auto& [w, h] : std::vector<std::pair<double, double>>{
             {245, 4}, {245, 0}, {245, 4.4}, {245, 5}, {0, 9}, {2, 9}, {5, 9}, {0, 0}, {1, 30000}, {200000, 6}}) {
        SCOPED_TRACE(testing::Message() << w << " x " << h);
        RecordingCanvas canvas{w, h};
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
}

}  // namespace
}  // namespace farsend
