#pragma once

#include "engine/project.h"
#include "output/diagram_hit_test.h"

namespace output {

// Re-cutting two adjacent offcuts from the layout view: the cut between them
// is turned by a right angle, which changes the result (its offcuts), not
// only the picture.

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

} // namespace output
