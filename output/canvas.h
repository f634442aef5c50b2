#pragma once

#include <string>

namespace output {

// The four colours the drawings use.
enum class Colour { White, Black, Red, Blue };

// Solid lines, or the dotted lines of the offcut hatching.
enum class PenStyle { Solid, Dotted };

// Whether text is written over a filled box of the white background colour
// (as the diagrams write their sizes and labels) or over what is already drawn.
enum class TextBackground { White, Transparent };

// A rectangle in whole device pixels. As on every raster surface we draw on,
// right and bottom are exclusive: the rectangle covers columns left .. right-1
// and rows top .. bottom-1.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const Rect&) const = default;
};

// A drawing surface in integer pixel coordinates, origin at the top-left
// corner, y pointing down. The diagram painter draws through this interface
// only; the desktop program implements it over its painter, the printer over
// the page, and SvgCanvas writes an SVG document.
//
// State is minimal on purpose: one current pen (colour, style) for lines and
// one current font for texts. Frames and fills take their colour directly.
class Canvas {
public:
    virtual ~Canvas() = default;

    // Pen used by drawLine: one pixel wide.
    virtual void setPen(Colour colour, PenStyle style = PenStyle::Solid) = 0;

    // Font of the following texts: a family name (the setting DefFont) and a
    // size in typographic points; the surface converts points to its pixels.
    virtual void setFont(const std::string& family, int pointSize) = 0;

    // Bold for the following texts, until changed; setFont keeps it. Surfaces
    // that cannot show bold ignore it.
    virtual void setBold(bool bold) { (void)bold; }

    // A line from (x1, y1) to (x2, y2), both ends included, with the current pen.
    virtual void drawLine(int x1, int y1, int x2, int y2) = 0;

    // A one-pixel frame along the inside of r, in `colour`.
    virtual void frameRect(const Rect& r, Colour colour) = 0;

    // Fills r (right and bottom exclusive) with `colour`.
    virtual void fillRect(const Rect& r, Colour colour) = 0;

    // Writes UTF-8 text in the current font, black, with the top-left corner of
    // its text box at (x, y).
    virtual void drawText(int x, int y, const std::string& text,
                          TextBackground background = TextBackground::White) = 0;

    // Size in pixels of the text box of `text` in the current font.
    [[nodiscard]] virtual int textWidth(const std::string& text) = 0;
    [[nodiscard]] virtual int textHeight(const std::string& text) = 0;
};

} // namespace output
