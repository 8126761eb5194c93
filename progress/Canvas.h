#pragma once
// What the progress bar paints on: a framed surface with an inner area in
// pixel coordinates, a fore and a back colour, clearing and filled boxes.
// The windows provide the real one; tests record what is painted.

#include <cstdint>

namespace farsend {

// A colour in the platform's convention: with the high bit set, the low byte
// names a system colour by its index; otherwise 0x00BBGGRR.
using OleColor = std::uint32_t;
inline constexpr OleColor kSystemColorFlag = 0x80000000u;
inline constexpr OleColor kColorHighlight = kSystemColorFlag | 13;   // selected items
inline constexpr OleColor kColorButtonFace = kSystemColorFlag | 15;  // face of buttons

class ICanvas {
public:
    virtual ~ICanvas() = default;

    // Whether this is a picture box, the one kind of canvas the bar accepts.
    virtual bool isPictureBox() const = 0;
    // Makes the inner area's coordinates count pixels from its top left.
    virtual void usePixelCoordinates() = 0;

    // The inner (client) area in pixels.
    virtual double innerWidth() const = 0;
    virtual double innerHeight() const = 0;
    // The whole width, inner area plus frame, in pixels; setting it keeps
    // the left edge where it is.
    virtual double outerWidth() const = 0;
    virtual void setOuterWidth(double width) = 0;

    virtual OleColor foreColor() const = 0;
    virtual void setForeColor(OleColor color) = 0;
    virtual OleColor backColor() const = 0;
    virtual void setBackColor(OleColor color) = 0;

    // Paints the inner area in the back colour.
    virtual void clear() = 0;
    // Paints the box with corners (x1, y1) and (x2, y2), both included, in
    // the fore colour.
    virtual void fillRect(int x1, int y1, int x2, int y2) = 0;

    // A number that changes whenever the inner area's pixels may have
    // changed, or the colours that system colours stand for; 0 for a canvas
    // that cannot tell. Where it can, a painter may leave alone what it
    // painted before and the canvas still holds.
    virtual std::uint64_t pixelsVersion() const { return 0; }
};

}  // namespace farsend
