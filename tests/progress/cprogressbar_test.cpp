#include "progress/CProgressBar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <tuple>
#include <vector>

namespace farsend {
namespace {

// Records the fills since the last clear; counts fills reaching beyond the inner area.
struct RecordingCanvas : ICanvas {
    RecordingCanvas(double w, double h, bool box = true) : inner(w), height(h), pictureBox(box) {}
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
    void clear() override { fills.clear(); }
    void fillRect(int x1, int y1, int x2, int y2) override {
        fills.push_back(fore);
        outside += x1 <= x2 && y1 <= y2 && (x1 < 0 || y1 < 0 || x2 >= std::lround(inner) || y2 >= std::lround(height));
    }
    double inner, height;
    OleColor fore = 0;
    bool pictureBox;
    int outside = 0;
    std::vector<OleColor> fills;  // the colour of each box filled
    std::function<void()> onResize;
};

// Resized from outside, the bar ignores the resize it causes itself. Misuse
// raises the class's errors and changes nothing.
TEST(Bar, ResizeAndMisuse) {
    RecordingCanvas canvas{245, 9}, other{100, 20, false};
    CProgressBar bar;
    bar.setCanvas(&canvas);
    int resizes = 0;
    canvas.onResize = [&] { ++resizes, bar.ResizeEx(); };  // as a window would on every resize
    canvas.setOuterWidth(300);                             // inner 298 settles on 297, 49 blocks
    EXPECT_EQ(std::tuple(resizes, canvas.inner, bar.layout().BlockCount), std::tuple(2, 297.0, std::int16_t{49}));
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
    EXPECT_EQ(std::tuple(bar.Min(), bar.Max(), bar.Canvas(), other.fills.size()), std::tuple(0, 100, &canvas, 0u));
}

// The value clamped into the range, its share of the blocks rounded, halves
// to even (30 blocks on 247 x 11, 40 on 245 x 9). A range moved below the
// value shows the bar full, no block beyond the last; no canvas, however
// small or large, fails or is painted outside.
TEST(Bar, LitBlocks) {
    // canvas width and height, min, max, value, then the max; value read back, lit and unlit blocks painted
    const std::tuple<double, double, int, int, int, int, int, long, std::size_t> cases[] = {
        {245, 9, 0, 100, 2, 0, 2, 1, 39},      {245, 9, 0, 100, 99, 0, 99, 40, 0},
        {245, 9, 0, 100, 150, 0, 100, 40, 0},  {245, 9, 0, 100, -5, 0, 0, 0, 40},
        {245, 9, 50, 100, 10, 0, 50, 0, 40},   {245, 9, -100, 100, 0, 0, 0, 20, 20},
        {247, 11, 0, 100, 5, 0, 5, 2, 28},     {247, 11, 0, 100, 15, 0, 15, 4, 26},
        {245, 9, 0, 100, 100, 50, 100, 40, 0}, {245, 4.4, 0, 100, 50, 0, 50, 0, 0},
        {0, 0, 0, 100, 50, 0, 50, 0, 0},       {5, 9, 0, 100, 50, 0, 50, 0, 0},
        {1, 30000, 0, 100, 50, 0, 50, 0, 0},   {2e5, 6, 0, 100, 100, 0, 100, 32767, 0},
    };
    for (const auto& [width, height, min, max, value, thenMax, readBack, lit, unlit] : cases) {
        RecordingCanvas canvas{width, height};
        CProgressBar bar;
        bar.setMax(max);
        bar.setMin(min);
        bar.setCanvas(&canvas);
        canvas.fills.clear();
        bar.setValue(value);
        if (thenMax != 0) canvas.fills.clear(), bar.setMax(thenMax);
        const auto painted = std::ranges::count(canvas.fills, kColorHighlight);
        EXPECT_EQ(std::tuple(bar.Value(), painted, canvas.fills.size() - painted, canvas.outside),
                  std::tuple(readBack, lit, unlit, 0))
            << value << " in " << min << ".." << max << " on " << width << " x " << height;
    }
}

}  // namespace
}  // namespace farsend
