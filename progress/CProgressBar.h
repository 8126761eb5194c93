#pragma once
// A segmented progress bar painted on a canvas: a row of equal blocks, the
// leading ones in the fore colour in proportion to the value, the rest in the
// back colour.

#include <cstdint>
#include <optional>

#include "platform/ClassError.h"
#include "progress/Canvas.h"

namespace farsend {

class CProgressBar {
public:
    // The block layout as CalcLayout and ResizeEx left it.
    struct Layout {
        std::int16_t BlockWidth = 0;
        std::int16_t BlockHeight = 0;
        std::int16_t BlockGap = 0;
        std::int16_t BlockMargin = 0;
        std::int16_t BlockCount = 0;
        bool operator==(const Layout&) const = default;
    };

    CProgressBar() = default;
    CProgressBar(const CProgressBar&) = delete;
    CProgressBar& operator=(const CProgressBar&) = delete;

    // Attaches a picture-box canvas and fits the bar to it; anything else
    // (a null pointer too) raises ClassError 0x80040001 and changes nothing.
    void setCanvas(ICanvas* NewObj);
    ICanvas* Canvas() const { return canvas_; }

    // Clamps NewVal into Min..Max and repaints.
    void setValue(std::int32_t NewVal);
    std::int32_t Value() const { return value_; }
    // Raise ClassError 0x80040002 / 0x80040003 unless Min stays below Max.
    // Value is not clamped again.
    void setMin(std::int32_t NewVal);
    std::int32_t Min() const { return min_; }
    void setMax(std::int32_t NewVal);
    std::int32_t Max() const { return max_; }

    void setForeColor(OleColor NewVal);
    OleColor ForeColor() const { return foreColor_; }
    void setBackColor(OleColor NewVal);
    OleColor BackColor() const { return backColor_; }

    // Repaints every block; clears the canvas first when ClearFirst is true.
    void refresh(std::optional<bool> ClearFirst = {});
    // Lays the blocks out again for the canvas as it is, and repaints.
    void Resize();
    // Lays the blocks out again and narrows or widens the canvas so that a
    // whole number of blocks fills it.
    void ResizeEx();

    Layout layout() const { return {BlockWidth_, BlockHeight_, BlockGap_, BlockMargin_, BlockCount_}; }

private:
    // What the last PaintBar left on the canvas, and what decided it.
    struct Painted {
        ICanvas* canvas = nullptr;
        std::uint64_t version = 0;  // the canvas's pixelsVersion right after
        Layout blocks;
        OleColor fore = 0;
        OleColor back = 0;
        std::int64_t right = 0;
        std::int64_t lowest = 0;
        std::int64_t lit = 0;
    };

    void PaintBar();
    void CalcLayout();

    ICanvas* canvas_ = nullptr;
    std::int32_t value_ = 0;
    std::int32_t min_ = 0;
    std::int32_t max_ = 100;
    OleColor foreColor_ = kColorHighlight;
    OleColor backColor_ = kColorButtonFace;
    std::int16_t BlockWidth_ = 0;
    std::int16_t BlockHeight_ = 0;
    std::int16_t BlockGap_ = 0;
    std::int16_t BlockMargin_ = 0;
    std::int16_t BlockCount_ = 0;
    bool InResize_ = false;
    Painted painted_;
};

}  // namespace farsend
