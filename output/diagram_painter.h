#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/language_table.h"
#include "engine/project.h"
#include "engine/settings.h"
#include "output/canvas.h"
#include "output/diagram_hit_test.h"

namespace output {

// The two size texts written on a part: the net size (typed size less the
// band thicknesses; an unreadable thickness counts 0) in `shownUnit`,
// followed by the band marks of the edges. `across` runs along the drawing's
// x axis: the length for a part lying straight, the width for a turned one.
struct PartSizeTexts {
    std::string across;
    std::string down;
};
[[nodiscard]] PartSizeTexts partSizeTexts(const engine::Project& project, const engine::PlacedElement& element,
                                          engine::LengthUnit tableUnit, engine::LengthUnit shownUnit);

// Size of an offcut as shown to the user: its rectangle less one kerf in each
// direction, except in a direction in which it reaches the sheet's right or
// bottom edge (there was no cut there).
struct OffcutSize {
    std::int64_t width = 0;
    std::int64_t height = 0;
};
[[nodiscard]] OffcutSize offcutShownSize(const engine::Offcut& offcut, std::int32_t sheetLength,
                                         std::int32_t sheetHeight, std::int32_t kerf);

// Dotted black lines `spacing` pixels apart along the top and left edges,
// rising from lower left to upper right, across r (left, top, right, bottom
// as given, both ends drawn). A spacing below 1 is taken as 30.
void hatchRect(Canvas& canvas, const Rect& r, int spacing);

// Draws the cut sheets of project.result one LayoutGroup at a time, to scale,
// in a box of the given pixel size with its origin at the canvas origin, and
// marks the piece under the pointer (found as diagram_hit_test.h finds it;
// re-cutting is in offcut_recut.h). Reads project.result.groups as the
// last GroupLayouts built it; the caller runs GroupLayouts before painting.
// Holds references only; nothing is cached between calls.
class DiagramPainter {
public:
    DiagramPainter(const engine::Project& project, const engine::Settings& settings,
                   const engine::LanguageTable& language);

    struct PaintOutcome {
        bool drawn = false;      // false when nothing could be drawn (no rows, no group)
        int group = 0;           // the group drawn: the asked one kept inside 0 .. groupCount-1
        int groupCount = 0;
        std::string groupNumber; // group + 1, for the group number label
        std::string caption;     // the sheet description line shown under the diagram
    };

    // Paints group `group` and clears the selection in `state`.
    PaintOutcome paint(Canvas& canvas, int group, int boxWidth, int boxHeight, DiagramState& state) const;

    // The sheet description line of a group: message 70, the sheet size with
    // its unit, message 38 "=" area and "(x" multiplicity ")". Empty for a
    // group that does not exist.
    [[nodiscard]] std::string caption(int group) const;

    // Mouse move: reframes the pieces (red under the pointer, blue when that
    // is the selected piece, black otherwise), updates state.pieceUnderPointer
    // and returns the size line for the piece under the pointer (the hint
    // line), or nothing when the pointer is over no piece.
    std::optional<std::string> mouseMove(Canvas& canvas, int group, int boxWidth, int boxHeight, int x, int y,
                                         DiagramState& state) const;

    // Size line of a piece (message 36 width, 37 height, 38 "=" area).
    [[nodiscard]] std::string pieceSizeText(int group, const PieceHit& piece) const;

private:
    const engine::Project& m_project;
    const engine::Settings& m_settings;
    const engine::LanguageTable& m_language;
};

// One piece of a manual-mode candidate sheet, in internal units; number is
// the piece's number as the manual engine gives it (drawn plus one).
struct PreviewPiece {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t length = 0;
    std::int32_t height = 0;
    std::int32_t number = 0;
};

// The two status texts under the manual-mode preview.
struct PreviewStatus {
    std::string yield;   // message 34 + yield + " %"
    std::string pieces;  // message 35 + pieces + message 9 + parts entered
};

// Draws a manual-mode candidate: the sheet L x H as a white rectangle with a
// black outline, each piece likewise with its number, scaled like the layout
// view into a box of the given size. `waste` is the candidate's waste area;
// the yield is 100 - waste / (L x H / 100) in whole numbers.
PreviewStatus paintManualPreview(Canvas& canvas, const std::string& fontFamily, std::int32_t sheetLength,
                                 std::int32_t sheetHeight, int boxWidth, int boxHeight,
                                 const std::vector<PreviewPiece>& pieces, std::int64_t waste,
                                 std::int64_t partsEntered, const engine::LanguageTable& language);

} // namespace output
