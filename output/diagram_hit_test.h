#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "engine/project.h"
#include "output/canvas.h"

namespace output {

// Where the pieces of a shown sheet land on the layout view, and which piece
// lies under the pointer. The painter draws with the same geometry, so what
// is hit is what is seen.

// "No offcut selected" in DiagramState::selectedOffcut.
constexpr int kNoSelection = 99999;

// What the layout view remembers between mouse events. Indices are into
// CuttingResult::offcuts.
struct DiagramState {
    // Offcut picked by a first click; kNoSelection for none; -1 when the
    // first click was made over a part.
    int selectedOffcut = kNoSelection;
    // Offcut under the pointer at the last mouse move over an offcut, or -1
    // after a mouse move over a part.
    int pieceUnderPointer = -1;
};

// The representative sheet of group `group` of project.result.groups, or
// nullptr when the group or its sheet does not exist.
[[nodiscard]] const engine::SheetInstance* groupSheet(const engine::Project& project, int group);

// Internal units per pixel that fit a sheet of L x H into a box: the larger
// of the two ratios, as a single-precision value. A box without area gives 0.
[[nodiscard]] float diagramScale(std::int32_t sheetLength, std::int32_t sheetHeight, int boxWidth, int boxHeight);

// trunc(v / s): where an internal coordinate lands on the surface. Inline:
// painting calls it four times for every piece.
[[nodiscard]] inline int toPixel(double v, float scale)
{
    const double p = std::trunc(v / static_cast<double>(scale));
    // A degenerate scale must not turn into undefined integer conversions.
    if (!std::isfinite(p))
        return 0;
    return static_cast<int>(std::clamp(p, -1.0e9, 1.0e9));
}

// The drawn rectangle of a placed part or an offcut at scale `s`.
template <class Piece>
[[nodiscard]] Rect pieceRect(const Piece& p, float s)
{
    return Rect{toPixel(p.x, s), toPixel(p.y, s), toPixel(p.x1, s), toPixel(p.y1, s)};
}

// Whether (x, y) lies inside r and on none of its edges.
[[nodiscard]] inline bool strictlyInside(const Rect& r, int x, int y)
{
    return r.left < x && x < r.right && r.top < y && y < r.bottom;
}

enum class PieceKind { None, Part, Offcut };

// A piece of the shown sheet: index into CuttingResult::elements (Part) or
// CuttingResult::offcuts (Offcut).
struct PieceHit {
    PieceKind kind = PieceKind::None;
    int index = -1;
    bool operator==(const PieceHit&) const = default;
};

// The piece of group `group`, drawn in a box of the given pixel size,
// strictly inside whose rectangle (x, y) lies; offcuts are tested before
// parts.
[[nodiscard]] PieceHit pieceAt(const engine::Project& project, int group, int boxWidth, int boxHeight, int x, int y);

} // namespace output
