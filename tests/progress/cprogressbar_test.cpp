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
    void clear() override { forget(), ++clears; }
    void fillRect(int x1, int y1, int x2, int y2) override {
        fills.push_back({x1, y1, x2, y2, fore});
        outside += x1 <= x2 && y1 <= y2 && (x1 < 0 || y1 < 0 || x2 >= std::lround(inner) || y2 >= std::lround(height));
    }
    void forget() { fills.clear(), clears = 0; }
    // The lit and unlit blocks painted, and the clears, as "lit+unlit/clears".
    std::string painted() const {
        const auto lit = std::ranges::count(fills, kColorHighlight, &Fill::color);
        return std::to_string(lit) + "+" + std::to_string(fills.size() - lit) + "/" + std::to_string(clears);
    }

    double inner, height;
    OleColor fore = 0, back = 0;
    bool pictureBox = true;
    int clears = 0, outside = 0;
    std::vector<Fill> fills;
    std::vector<double> widthsSet;  // inner widths set
    std::function<void()> onResize;
};

// The worked example: 245 x 9 pixels fit 40 blocks once the canvas is
// narrowed to 243; half of them lit at 50, each 3 wide, 6 apart.
TEST(Bar, WorkedExample) {
    RecordingCanvas canvas{245, 9};
    CProgressBar bar;
    bar.setCanvas(&canvas);
    EXPECT_EQ(std::tuple(bar.layout().BlockCount, canvas.widthsSet, canvas.painted()),
              std::tuple(std::int16_t{40}, std::vector<double>{243}, std::string("0+40/1")));
    canvas.forget();
    bar.setValue(50);
    std::vector<RecordingCanvas::Fill> expected;
    for (int i = 0; i < 40; ++i)
        expected.push_back({2 + 6 * i, 2, 5 + 6 * i, 6, i < 20 ? kColorHighlight : kColorButtonFace});
    EXPECT_EQ(canvas.fills, expected);
    EXPECT_EQ(canvas.clears + canvas.outside, 0);
}

// The value clamped into the range, its share of the blocks rounded, halves
// to even; a value lowered repaints without a clear; refresh clears only when asked.
TEST(Bar, LitBlocksAndClears) {
    struct Case {
        double width;
        std::int32_t min, max, from, value, readBack;
        std::optional<bool> refreshClearing;  // then refreshed
        const char* painted;
    } cases[] = {
        {245, 0, 100, 0, 1, 1, {}, "0+40/0"},      {245, 0, 100, 0, 2, 2, {}, "1+39/0"},
        {245, 0, 100, 0, 99, 99, {}, "40+0/0"},    {245, 50, 100, 50, 75, 75, {}, "20+20/0"},
        {245, 0, 100, 0, 150, 100, {}, "40+0/0"},  {245, 0, 100, 0, -5, 0, {}, "0+40/0"},
        {245, 50, 100, 50, 10, 50, {}, "0+40/0"},  {245, -100, 100, 0, 0, 0, {}, "20+20/0"},
        {247, 0, 100, 0, 5, 5, {}, "2+28/0"},      {247, 0, 100, 0, 15, 15, {}, "4+26/0"},  // 30 blocks
        {245, 0, 100, 100, 10, 10, {}, "4+36/0"},  {245, 0, 100, 0, 50, 50, false, "20+20/0"},
        {245, 0, 100, 0, 50, 50, true, "20+20/1"},
    };
    for (const Case& c : cases) {
        RecordingCanvas canvas{c.width, 9 + (c.width - 245)};
        CProgressBar bar;
        bar.setMax(c.max);
        bar.setMin(c.min);
        bar.setCanvas(&canvas);
        bar.setValue(c.from);
        canvas.forget();
        bar.setValue(c.value);
        if (c.refreshClearing) canvas.forget(), bar.refresh(*c.refreshClearing);
        EXPECT_EQ(std::to_string(bar.Value()) + " " + canvas.painted(), std::to_string(c.readBack) + " " + c.painted)
            << c.value << " in " << c.min << ".." << c.max << " on " << c.width;
    }
}

// Misuse raises the class's errors and changes nothing.
TEST(Bar, RefusedSettingsChangeNothing) {
    RecordingCanvas canvas{245, 9}, other{100, 20};
    other.pictureBox = false;
    CProgressBar bar;
    bar.setCanvas(&canvas);
    bar.setValue(40);
    canvas.forget();
    std::string seen;
    for (const auto& set :
         std::vector<std::function<void()>>{[&] { bar.setMin(100); }, [&] { bar.setMax(0); },
                                            [&] { bar.setCanvas(&other); }, [&] { bar.setCanvas(nullptr); }}) {
        try {
            set(), seen += "accepted|";
        } catch (const ClassError& e) {
            seen += std::to_string(e.number) + " " + e.source + " " + e.description + "|";
        }
    }
    EXPECT_EQ(seen,
              "-2147221502 CProgressBar.Min Min property must be less than Max.|-2147221501 CProgressBar.Max Max "
              "property must be greater than Min.|-2147221503 CProgressBar.Canvas Canvas property must be of type "
              "PictureBox.|-2147221503 CProgressBar.Canvas Canvas property must be of type PictureBox.|");
    EXPECT_EQ(std::tuple(bar.Min(), bar.Max(), bar.Value(), bar.Canvas()), std::tuple(0, 100, 40, &canvas));
    EXPECT_TRUE(canvas.fills.empty() && other.fills.empty() && other.widthsSet.empty());
}

TEST(Bar, ResizeExIgnoresTheResizeItCausesItself) {
    RecordingCanvas canvas{245, 9};
    CProgressBar bar;
    bar.setCanvas(&canvas);
    int reported = 0;
    canvas.onResize = [&] { ++reported, bar.ResizeEx(); };  // as the window does on every resize
    canvas.setOuterWidth(300);                              // from outside: inner 298 settles on 49 blocks
    EXPECT_EQ(std::tuple(reported, canvas.widthsSet, bar.layout().BlockCount),
              std::tuple(2, std::vector<double>{243, 298, 297}, std::int16_t{49}));
}

TEST(Bar, DegenerateCanvasesNeitherFailNorPaintOutside) {
    for (const auto& [w, h] : std::vector<std::pair<double, double>>{
             {245, 4}, {245, 0}, {245, 4.4}, {245, 5}, {0, 9}, {2, 9}, {5, 9}, {0, 0}, {1, 30000}, {200000, 6}}) {
        RecordingCanvas canvas{w, h};
        CProgressBar bar;
        ASSERT_NO_THROW(bar.setCanvas(&canvas)) << w << " x " << h;
        for (const int v : {0, 50, 100}) bar.setValue(v);
        bar.setMax(50);  // Value 100 now lies above the range
        bar.Resize();
        bar.refresh(true);
        EXPECT_TRUE(canvas.outside == 0 && canvas.innerWidth() >= 0 &&
                    static_cast<int>(canvas.fills.size()) <= std::max<int>(bar.layout().BlockCount, 0))
            << w << " x " << h;
    }
}

}  // namespace
}  // namespace farsend
