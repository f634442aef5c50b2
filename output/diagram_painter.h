#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/language_table.h"
#include "engine/project.h"
#include "engine/settings.h"
#include "output/canvas.h"

namespace output {

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

// trunc(v / s): where an internal coordinate lands on the surface.
[[nodiscard]] int toPixel(double v, float scale);

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

enum class PieceKind { None, Part, Offcut };

// A piece of the shown sheet: index into CuttingResult::elements (Part) or
// CuttingResult::offcuts (Offcut).
struct PieceHit {
    PieceKind kind = PieceKind::None;
    int index = -1;
    bool operator==(const PieceHit&) const = default;
};

// Draws the cut sheets of project.result one LayoutGroup at a time, to scale,
// in a box of the given pixel size with its origin at the canvas origin, and
// answers what lies under the pointer. Reads project.result.groups as the
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

    // The piece strictly inside whose drawn rectangle (x, y) lies; offcuts
    // are tested before parts.
    [[nodiscard]] PieceHit pieceAt(int group, int boxWidth, int boxHeight, int x, int y) const;

    // Mouse move: reframes the pieces (red under the pointer, blue when that
    // is the selected piece, black otherwise), updates state.pieceUnderPointer
    // and returns the size line for the piece under the pointer (the hint line), or
    // nothing when the pointer is over no piece.
    std::optional<std::string> mouseMove(Canvas& canvas, int group, int boxWidth, int boxHeight, int x, int y,
                                         DiagramState& state) const;

    // Size line of a piece (message 36 width, 37 height, 38 "=" area).
    [[nodiscard]] std::string pieceSizeText(int group, const PieceHit& piece) const;

private:
    const engine::Project& m_project;
    const engine::Settings& m_settings;
    const engine::LanguageTable& m_language;
};

// Outcome of re-cutting two offcuts.
enum class RecutOutcome {
    NotAdjacent,  // neither side by side nor stacked: nothing changed
    SideBySide,   // they share a vertical cut line and overlap along it
    Stacked,      // they share a horizontal cut line and overlap along it
};
struct RecutResult {
    RecutOutcome outcome = RecutOutcome::NotAdjacent;
    bool changed = false;  // false for an arrangement no rule covers
};

// Turns the cut between two adjacent offcuts of one sheet by a right angle,
// in place in result.offcuts. Indices outside the list, the same index twice
// or offcuts of different sheets give NotAdjacent.
RecutResult recutOffcuts(engine::CuttingResult& result, int first, int second);

enum class ClickOutcome {
    Selected,     // the piece under the pointer became the selection
    Deselected,   // the selected piece was clicked again
    Recut,        // the two offcuts were adjacent: the selection is cleared;
                  // repaint and rebuild the statistics (ShowResults)
    Nothing,      // not adjacent, or a part is involved: nothing changes
};

// Click on the layout view: selection and re-cutting of two offcuts.
ClickOutcome clickDiagram(engine::CuttingResult& result, DiagramState& state);

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
