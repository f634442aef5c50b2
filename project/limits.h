#pragma once

namespace project_io {

// What the project holds at most; a file asking for more is refused rather
// than read past these (the grids show 499 rows, the result lists are sized
// for 10000 records and the sheet list for 5000 physical sheets).
constexpr int kMaxTableRows = 499;
constexpr int kMaxPlacedElements = 10000;
constexpr int kMaxOffcuts = 10000;
constexpr int kMaxStockSheets = 5000;

} // namespace project_io
