#pragma once

#include <vector>

namespace engine {

// What the part grid's narrow columns need, in pixels, as the program
// measures them in its font.
struct PartColumnNeeds {
    int length = 0;    // a length text of the current unit (columns len and wid)
    int quantity = 0;  // a quantity text
    int lock = 0;      // the rotation-lock icon
};

// Widths of the part grid's visible columns for a visible area `width`
// pixels wide: columns 1..5 (length, width, quantity, label, rotation lock)
// and, when `banding` is on, the four band columns 6..9. The widths add up
// to `width`; a width of 0 or less gives zeros.
//
// Without banding the columns take fixed shares: length and width 30 % each,
// quantity 10 %, label 20 %, rotation lock 10 %.
// With banding the numeric columns and the lock get what they need and the
// label and the band columns share the rest (a band column weighing 4, the
// label 2), so that band names stay readable in a narrow window. When that
// rest would leave a band column narrower than a length column,
// every column gets a share in proportion to its need instead (label and
// band columns needing as much as a length).
[[nodiscard]] std::vector<int> partColumnWidths(int width, bool banding, const PartColumnNeeds& needs);

} // namespace engine
