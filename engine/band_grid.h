#pragma once

#include <string>

#include "engine/band_types.h"
#include "engine/msg.h"
#include "engine/text_table.h"

namespace engine {

// The band types as a text grid, for the band types dialog and the main
// window until they show a BandTypeTable directly: five text columns (name,
// thickness, mark, extra length, price), record k in data row k + 1,
// record 0 (no band) first.
constexpr int kBandColumns = 5;
namespace BandCol {
constexpr int Name = 0;
constexpr int Thickness = 1;
constexpr int Mark = 2;
constexpr int Extra = 3;
constexpr int Price = 4;
} // namespace BandCol

// Reads a band type file into a grid the way LoadBandTypes reads it. A file
// that cannot be read leaves the grid alone and gives CannotReadBandFile; a
// damaged one (not whole records, too many records) fills the grid with the
// whole records it holds and gives that message, for the caller to show.
[[nodiscard]] Status readBandGrid(const std::string& path, TextTable& grid);

// Replaces the grid's rows by the records of `table`.
void fillBandGrid(TextTable& grid, const BandTypeTable& table);

// The grid's rows as band type records, in order.
[[nodiscard]] BandTypeTable bandTableFromGrid(const TextTable& grid);

// Saves the grid as a band type file (saveBandTypes: record 0 always, other
// rows only with thickness and extra length, the file replaced safely).
[[nodiscard]] Status writeBandGrid(const std::string& path, const TextTable& grid);

// Deletes record row `row` of the dialog grid (data row 2.. : record 0
// cannot be deleted) when its name is not empty. False when nothing changed.
bool deleteBandRow(TextTable& grid, int row);

// True when the grid has at least two records, so that one may be deleted.
[[nodiscard]] bool canDeleteBandRow(const TextTable& grid);

} // namespace engine
