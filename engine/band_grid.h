#pragma once

#include <string>

#include "engine/msg.h"
#include "engine/text_table.h"

namespace engine {

// The band type grid of the band types dialog and of the main window: five
// text columns (name, thickness, mark, extra length, price), record k in
// data row k + 1, record 0 (no band) first.
constexpr int kBandColumns = 5;
namespace BandCol {
constexpr int Name = 0;
constexpr int Thickness = 1;
constexpr int Mark = 2;
constexpr int Extra = 3;
constexpr int Price = 4;
} // namespace BandCol

// Reads a band type file (five lines per record) into a grid. Lines after
// the last whole record are ignored. CannotOpenProject-like failures are
// reported as false.
[[nodiscard]] bool readBandGrid(const std::string& path, TextTable& grid);

// Writes the rows whose thickness and extra length are both non-empty, five
// lines each (CR LF), replacing the file; other rows are dropped.
[[nodiscard]] bool writeBandGrid(const std::string& path, const TextTable& grid);

// Deletes record row `row` of the dialog grid (data row 2.. : record 0
// cannot be deleted) when its name is not empty. False when nothing changed.
bool deleteBandRow(TextTable& grid, int row);

// True when the grid has at least two records, so that one may be deleted.
[[nodiscard]] bool canDeleteBandRow(const TextTable& grid);

} // namespace engine
