#pragma once

#include <string>
#include <vector>

#include "engine/msg.h"
#include "engine/project.h"
#include "engine/text_table.h"
#include "engine/units.h"

namespace engine {

// Rewrites the length cells of the tables when the length unit changes.
// Cells are texts in the unit they were typed in, so each is parsed in the
// old unit and formatted in the new one.

// One length cell from `from` to `to`; false (cell unchanged) when it does
// not read as a length in `from`.
bool convertLengthCell(std::string& cell, LengthUnit from, LengthUnit to);

// Sheet columns 1, 2 and part columns 1, 2, 10..13 of every data row.
// Returns one warning per cell left unchanged, in table order:
// SheetCellNotConverted, then PartCellNotConverted. An empty band thickness
// counts 0 everywhere, so it is left empty without a warning.
[[nodiscard]] std::vector<Msg> convertTables(Project& project, LengthUnit from, LengthUnit to);

// Band type grid (record k in row k + 1): thickness (column 1) and extra
// length (column 3) of the records from the second on; record 0 is left as it
// is. One BandCellNotConverted per cell left unchanged.
[[nodiscard]] std::vector<Msg> convertBandGrid(TextTable& bands, LengthUnit from, LengthUnit to);

} // namespace engine
