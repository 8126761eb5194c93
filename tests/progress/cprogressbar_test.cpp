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

// Records the fills and clears; counts fills reaching beyond the inner area.
struct RecordingCanvas : ICanvas {
    using Fill = std::tuple<int, int, int, int, OleColor>;  // x1, y1, x2, y2, colour
    RecordingCanvas(double innerW, double innerH) : inner(innerW), height(innerH) {}
    bool isPictureBox() const override { return pictureBox; }
    void usePixelCoordinates() override {}
    double innerWidth() const override { return inner; }
    double innerHeight() const override { return height; }
    double outerWidth() const override { return inner + 2; }
    void setOuterWidth(double width) override {
        inner = width - 2;
        if (onResize) onResize();
    }
    OleColor foreColor() const override { return fore; }
    void setForeColor(OleColor color) override { fore = color; }
    OleColor backColor() const override { return 0; }
    void setBackColor(OleColor) override {}
    void clear() override { fills.clear(), ++clears; }
    void fillRect(int x1, int y1, int x2, int y2) override {
        fills.emplace_back(x1, y1, x2, y2, fore);
        outside += x1 <= x2 && y1 <= y2 && (x1 < 0 || y1 < 0 || x2 >= std::lround(inner) || y2 >= std::lround(height));
    }
    // The lit and unlit blocks painted since the last clear, and the clears, as "lit+unlit/clears".
    std::string painted() const {
        const auto lit = std::ranges::count_if(fills, [](const Fill& f) { return std::get<4>(f) == kColorHighlight; });
        return std::to_string(lit) + "+" + std::to_string(fills.size() - lit) + "/" + std::to_string(clears);
    }

    double inner, height;
    OleColor fore = 0;
    bool pictureBox = true;
    int clears = 0, outside = 0;
    std::vector<Fill> fills;
    std::function<void()> onResize;
};

// The worked example: 245 x 9 pixels fit 40 blocks once the canvas is
// narrowed to 243; half of them lit at 50, each 3 wide, 6 apart. Resized from
// outside, the bar ignores the resize it causes itself.
TEST(Bar, WorkedExampleAndResize) {
    RecordingCanvas canvas{245, 9};
    CProgressBar bar;
    bar.setCanvas(&canvas);
    EXPECT_EQ(std::tuple(bar.layout().BlockCount, canvas.inner, canvas.painted()),
              std::tuple(std::int16_t{40}, 243.0, std::string("0+40/1")));
    canvas.fills.clear();
    bar.setValue(50);
    std::vector<RecordingCanvas::Fill> expected;
    for (int i = 0; i < 40; ++i)
        expected.emplace_back(2 + 6 * i, 2, 5 + 6 * i, 6, i < 20 ? kColorHighlight : kColorButtonFace);
    EXPECT_EQ(std::tuple(canvas.fills, canvas.clears, canvas.outside), std::tuple(expected, 1, 0));
    int resizes = 0;
    canvas.onResize = [&] { ++resizes, bar.ResizeEx(); };  // as the window does on every resize
    canvas.setOuterWidth(300);                             // inner 298 settles on 297, 49 blocks
    EXPECT_EQ(std::tuple(resizes, canvas.inner, bar.layout().BlockCount), std::tuple(2, 297.0, std::int16_t{49}));
}

// The value clamped into the range, its share of the blocks rounded, halves
// to even; a value lowered repaints without a clear. A range moved below the
// value shows the bar full, no block beyond the last; no canvas, however
// small or large, fails or is painted outside.
TEST(Bar, LitBlocks) {
    // canvas width and height, min, max, value before, value, then the max, value read back and painted
    const std::tuple<double, double, int, int, int, int, int, const char*> cases[] = {
        {245, 9, 0, 100, 0, 1, 0, "1 0+40/0"},
        {245, 9, 0, 100, 0, 2, 0, "2 1+39/0"},
        {245, 9, 0, 100, 0, 99, 0, "99 40+0/0"},
        {245, 9, 50, 100, 50, 75, 0, "75 20+20/0"},
        {245, 9, 0, 100, 0, 150, 0, "100 40+0/0"},
        {245, 9, 0, 100, 0, -5, 0, "0 0+40/0"},
        {245, 9, 50, 100, 50, 10, 0, "50 0+40/0"},
        {245, 9, -100, 100, 0, 0, 0, "0 20+20/0"},
        {247, 11, 0, 100, 0, 5, 0, "5 2+28/0"},
        {247, 11, 0, 100, 0, 15, 0, "15 4+26/0"},  // 30 blocks
        {245, 9, 0, 100, 100, 10, 0, "10 4+36/0"},
        {245, 9, 0, 100, 0, 100, 50, "100 40+0/0"},
        {245, 4.4, 0, 100, 0, 50, 0, "50 0+0/0"},
        {0, 0, 0, 100, 0, 50, 0, "50 0+0/0"},
        {5, 9, 0, 100, 0, 50, 0, "50 0+0/0"},
        {1, 30000, 0, 100, 0, 50, 0, "50 0+0/0"},
        {200000, 6, 0, 100, 0, 100, 0, "100 32767+0/0"},
    };
    for (const auto& [width, height, min, max, from, value, thenMax, painted] : cases) {
        RecordingCanvas canvas{width, height};
        CProgressBar bar;
        bar.setMax(max);
        bar.setMin(min);
        bar.setCanvas(&canvas);
        bar.setValue(from);
        canvas.fills.clear(), canvas.clears = 0;
        bar.setValue(value);
        if (thenMax != 0) canvas.fills.clear(), bar.setMax(thenMax);
        EXPECT_EQ(std::to_string(bar.Value()) + " " + canvas.painted() + (canvas.outside ? " outside" : ""), painted)
            << value << " in " << min << ".." << max << " on " << width << " x " << height;
    }
}

// Misuse raises the class's errors and changes nothing.
TEST(Bar, RefusedSettingsChangeNothing) {
    RecordingCanvas canvas{245, 9}, other{100, 20};
    other.pictureBox = false;
    CProgressBar bar;
    bar.setCanvas(&canvas);
    bar.setValue(40);
    canvas.fills.clear();
    std::string seen;
    for (const auto& misuse :
         std::vector<std::function<void()>>{[&] { bar.setMin(100); }, [&] { bar.setMax(0); },
                                            [&] { bar.setCanvas(&other); }, [&] { bar.setCanvas(nullptr); }}) {
        try {
            misuse();
        } catch (const ClassError& e) {
            seen += std::to_string(e.number) + " " + e.source + " " + e.description + "|";
        }
    }
    EXPECT_EQ(seen,
              "-2147221502 CProgressBar.Min Min property must be less than Max.|-2147221501 CProgressBar.Max Max "
              "property must be greater than Min.|-2147221503 CProgressBar.Canvas Canvas property must be of type "
              "PictureBox.|-2147221503 CProgressBar.Canvas Canvas property must be of type PictureBox.|");
    EXPECT_EQ(std::tuple(bar.Min(), bar.Max(), bar.Value(), bar.Canvas()), std::tuple(0, 100, 40, &canvas));
    EXPECT_TRUE(canvas.fills.empty() && other.fills.empty());
}

}  // namespace
}  // namespace farsend
