#pragma once
// A canvas that records what is painted on it and keeps the pixels of its
// inner area, so tests can check both the painting steps and their result.

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "progress/Canvas.h"

namespace farsend::test {

class RecordingCanvas : public ICanvas {
public:
    struct Fill {
        int x1, y1, x2, y2;
        OleColor color;
        bool operator==(const Fill&) const = default;
    };

    RecordingCanvas(double inner, double height, double frame = 2) : inner_(inner), height_(height), frame_(frame) {
        resizePixels();
    }

    bool isPictureBox() const override { return pictureBox; }
    void usePixelCoordinates() override { ++pixelSwitches; }
    double innerWidth() const override { return inner_; }
    double innerHeight() const override { return height_; }
    double outerWidth() const override { return inner_ + frame_; }
    void setOuterWidth(double width) override {
        widthsSet.push_back(width);
        inner_ = width - frame_;
        resizePixels();
        if (onResize) onResize();
    }
    OleColor foreColor() const override { return fore_; }
    void setForeColor(OleColor color) override { fore_ = color; }
    OleColor backColor() const override { return back_; }
    void setBackColor(OleColor color) override { back_ = color; }
    void clear() override {
        ++clears;
        fills.clear();
        std::fill(pixels_.begin(), pixels_.end(), back_);
    }
    void fillRect(int x1, int y1, int x2, int y2) override {
        fills.push_back({x1, y1, x2, y2, fore_});
        for (int y = y1; y <= y2; ++y)
            for (int x = x1; x <= x2; ++x) {
                if (x < 0 || y < 0 || x >= pixelWidth() || y >= pixelHeight()) {
                    ++outside;
                    continue;
                }
                pixels_[static_cast<std::size_t>(y * pixelWidth() + x)] = fore_;
            }
    }

    // Forgets the painting steps so far (the pixels stay).
    void forget() {
        fills.clear();
        clears = 0;
    }
    OleColor pixel(int x, int y) const { return pixels_[static_cast<std::size_t>(y * pixelWidth() + x)]; }
    int fillsIn(OleColor color) const {
        int n = 0;
        for (const Fill& f : fills) n += f.color == color;
        return n;
    }
    int pixelWidth() const { return std::max(0, static_cast<int>(std::lround(inner_))); }
    int pixelHeight() const { return std::max(0, static_cast<int>(std::lround(height_))); }

    bool pictureBox = true;
    int pixelSwitches = 0;
    int clears = 0;
    int outside = 0;  // pixels painted outside the inner area
    std::vector<Fill> fills;
    std::vector<double> widthsSet;
    std::function<void()> onResize;

private:
    void resizePixels() {
        pixels_.assign(static_cast<std::size_t>(pixelWidth()) * static_cast<std::size_t>(pixelHeight()), 0xDEADu);
    }

    double inner_;
    double height_;
    double frame_;
    OleColor fore_ = 0;
    OleColor back_ = 0;
    std::vector<OleColor> pixels_;
};

}  // namespace farsend::test
