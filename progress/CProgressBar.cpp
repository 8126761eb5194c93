#include "progress/CProgressBar.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace farsend {

namespace {

// Rounds to the nearest integer, halves to the even neighbour, whatever the
// floating-point environment says.
double roundHalfEven(double v) {
    const double down = std::floor(v);
    const double rest = v - down;
    if (rest > 0.5) return down + 1;
    if (rest < 0.5) return down;
    return std::fmod(down, 2.0) == 0 ? down : down + 1;
}

std::int16_t toInt16(double v) {
    if (!(v >= std::numeric_limits<std::int16_t>::min())) return std::numeric_limits<std::int16_t>::min();
    if (v > std::numeric_limits<std::int16_t>::max()) return std::numeric_limits<std::int16_t>::max();
    return static_cast<std::int16_t>(v);
}

// The inner width that n blocks need.
std::int64_t widthFor(std::int64_t n, std::int64_t blockWidth, std::int64_t gap) {
    return (blockWidth + gap) * n + gap;
}

}  // namespace

void CProgressBar::setCanvas(ICanvas* NewObj) {
    if (NewObj == nullptr || !NewObj->isPictureBox())
        throw ClassError{kObjectErrorBase + 1, "CProgressBar.Canvas", "Canvas property must be of type PictureBox."};
    canvas_ = NewObj;
    canvas_->setForeColor(foreColor_);
    canvas_->setBackColor(backColor_);
    canvas_->usePixelCoordinates();
    ResizeEx();
}

void CProgressBar::setValue(std::int32_t NewVal) {
    value_ = NewVal > max_ ? max_ : (NewVal < min_ ? min_ : NewVal);
    refresh();
}

void CProgressBar::setMin(std::int32_t NewVal) {
    if (NewVal >= max_)
        throw ClassError{kObjectErrorBase + 2, "CProgressBar.Min", "Min property must be less than Max."};
    min_ = NewVal;
    refresh();
}

void CProgressBar::setMax(std::int32_t NewVal) {
    if (NewVal <= min_)
        throw ClassError{kObjectErrorBase + 3, "CProgressBar.Max", "Max property must be greater than Min."};
    max_ = NewVal;
    refresh();
}

void CProgressBar::setForeColor(OleColor NewVal) {
    foreColor_ = NewVal;
    if (canvas_ == nullptr) return;
    canvas_->setForeColor(NewVal);
    refresh();
}

void CProgressBar::setBackColor(OleColor NewVal) {
    backColor_ = NewVal;
    if (canvas_ == nullptr) return;
    canvas_->setBackColor(NewVal);
    refresh();
}

void CProgressBar::refresh(std::optional<bool> ClearFirst) {
    if (canvas_ == nullptr) return;
    if (ClearFirst.value_or(false)) {
        canvas_->clear();
        painted_ = {};
    }
    PaintBar();
}

void CProgressBar::Resize() {
    if (canvas_ == nullptr) return;
    CalcLayout();
    refresh(true);
}

void CProgressBar::ResizeEx() {
    if (InResize_ || canvas_ == nullptr) return;
    CalcLayout();
    // A layout without blocks leaves the canvas as wide as it is.
    if (BlockCount_ > 0) {
        const double S = roundHalfEven(canvas_->innerWidth());
        const auto T = [this](std::int64_t n) { return static_cast<double>(widthFor(n, BlockWidth_, BlockGap_)); };
        // The count whose width lies nearer to S wins; on a tie the smaller.
        if (S - T(BlockCount_ - 1) <= T(BlockCount_) - S) --BlockCount_;
        const double frame = canvas_->outerWidth() - S;
        struct Guard {
            bool& flag;
            explicit Guard(bool& f) : flag(f) { flag = true; }
            ~Guard() { flag = false; }
        } guard(InResize_);
        canvas_->setOuterWidth(T(BlockCount_) + frame);
    }
    refresh(true);
}

void CProgressBar::CalcLayout() {
    BlockMargin_ = 2;
    BlockGap_ = 3;
    BlockHeight_ = toInt16(roundHalfEven(canvas_->innerHeight() - 2.0 * BlockMargin_));
    BlockWidth_ = toInt16(roundHalfEven(2.0 / 3.0 * BlockHeight_));
    // One block more than fits; ResizeEx settles on this count or one less.
    // A canvas too low for a block of at least one pixel gets none.
    if (BlockHeight_ < 1 || BlockWidth_ < 1) {
        BlockCount_ = 0;
        return;
    }
    const double width = std::max(0.0, roundHalfEven(canvas_->innerWidth()));
    BlockCount_ = toInt16(std::floor(width / (BlockGap_ + BlockWidth_)) + 1);
}

void CProgressBar::PaintBar() {
    const std::int64_t count = BlockCount_;
    // Value may lie outside a range changed after it was set: the bar then
    // shows empty or full, never blocks beyond its last one.
    const double share = (static_cast<double>(value_) - min_) / (static_cast<double>(max_) - min_);
    const auto lit = static_cast<std::int64_t>(
        std::clamp(roundHalfEven(share * static_cast<double>(count)), 0.0, static_cast<double>(count)));

    // Every box is cut to the inner area, whatever the layout says.
    const auto right = static_cast<std::int64_t>(roundHalfEven(canvas_->innerWidth())) - 1;
    const auto lowest = static_cast<std::int64_t>(roundHalfEven(canvas_->innerHeight())) - 1;
    const std::int64_t top = std::max<std::int64_t>(BlockMargin_, 0);
    const std::int64_t bottom = std::min<std::int64_t>(BlockMargin_ + BlockHeight_ - 1, lowest);
    const auto fillBlock = [&](std::int64_t i) {
        const std::int64_t x = BlockMargin_ + i * (BlockWidth_ + BlockGap_);
        const std::int64_t x1 = std::max<std::int64_t>(x, 0);
        const std::int64_t x2 = std::min<std::int64_t>(x + BlockWidth_, right);
        if (x1 <= x2 && top <= bottom)
            canvas_->fillRect(static_cast<int>(x1), static_cast<int>(top), static_cast<int>(x2),
                              static_cast<int>(bottom));
    };

    // A byte copy sets a value many times per block. When the canvas vouches
    // that it still holds the bar as last painted, with the same layout and
    // colours, only the blocks between the old and the new lit count change
    // colour; everything else would repaint the same pixels.
    const Layout now = layout();
    const std::uint64_t version = canvas_->pixelsVersion();
    const bool unchanged = version != 0 && painted_.canvas == canvas_ && painted_.version == version &&
                           painted_.blocks == now && painted_.fore == foreColor_ && painted_.back == backColor_ &&
                           painted_.right == right && painted_.lowest == lowest;
    if (unchanged) {
        if (lit > painted_.lit) {
            canvas_->setForeColor(foreColor_);
            for (std::int64_t i = painted_.lit; i < lit; ++i) fillBlock(i);
        } else if (lit < painted_.lit) {
            canvas_->setForeColor(backColor_);
            for (std::int64_t i = lit; i < painted_.lit; ++i) fillBlock(i);
        }
        // The fore colour is left as a whole repaint leaves it.
        canvas_->setForeColor(lit >= count ? foreColor_ : backColor_);
    } else {
        canvas_->setForeColor(foreColor_);
        for (std::int64_t i = 0; i < lit; ++i) fillBlock(i);
        if (lit < count) {
            canvas_->setForeColor(backColor_);
            for (std::int64_t i = lit; i < count; ++i) fillBlock(i);
        }
    }
    painted_ = Painted{canvas_, canvas_->pixelsVersion(), now, foreColor_, backColor_, right, lowest, lit};
}

}  // namespace farsend
