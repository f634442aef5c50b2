#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/msg.h"
#include "engine/project.h"
#include "engine/units.h"

namespace engine {

// The checks and row operations behind the sheet and part input tables of
// the input page. The desktop program's handlers read the fields, call these
// and show the returned message; nothing here knows about widgets.

// The three values a band type gives to a part edge.
struct BandValues {
    std::string name;
    std::string thickness;
    std::string mark;
};

// Checks the quantity of an entry row before it is added. Length and width
// must be non-empty and the quantity a number above 0 (else
// EntryRowIncomplete); the quantity must be a whole number (else
// QuantityNotWhole). On Ok `qty` holds the quantity.
[[nodiscard]] Msg checkEntryRow(std::string_view len, std::string_view wid, std::string_view qty,
                                std::int32_t& qty_out);

// True for the banded-edge counts "0", "1" and "2" (else BadBandCount).
[[nodiscard]] bool isBandCount(std::string_view text);

// Typed sheet row; adds it and refreshes the quantity sums. Returns the
// new row's number, or the message of checkEntryRow (nothing added then).
struct SheetEntry {
    std::string len, wid, qty, descr;
};
[[nodiscard]] Result<int> addSheetRow(Project& project, const SheetEntry& entry);

// Typed part row. kd and kv are the banded-edge counts ("0", "1", "2";
// anything else counts 0). Edges without band get `none`, banded ones `band`.
struct PartEntry {
    std::string ini, len, wid, qty, kd = "0", kv = "0";
};
[[nodiscard]] Result<int> addPartRow(Project& project, const PartEntry& entry, const BandValues& none,
                                     const BandValues& band);

// Writes a band type onto edge column `col` (PartCol::Band .. +3): its name
// into the column, its thickness four and its mark eight columns further.
void setPartBand(TextTable& parts, int row, int col, const BandValues& band);

// A length typed into a cell: the canonical text or the length message.
struct CellCheck {
    Msg msg = Msg::Ok;
    std::string text;
};
[[nodiscard]] CellCheck checkLengthCell(std::string_view text, LengthUnit unit);
// A quantity cell must hold an integer (else NotANumber).
[[nodiscard]] Msg checkQuantityCell(std::string_view text);

// Which cells of the tables are lengths, quantities, the rotation lock, bands.
enum class CellKind { Text, Length, Quantity, RotationLock, Band, Derived };
[[nodiscard]] CellKind sheetCellKind(int col);
[[nodiscard]] CellKind partCellKind(int col);

// "0" <-> "1" of the rotation-lock cell.
[[nodiscard]] std::string toggledLock(std::string_view text);
// Sets the rotation lock of every part row.
void setAllLocks(TextTable& parts, bool locked);

// Deletes data row `row` (1..rowCount) and refreshes the sums; false when
// it is no data row.
bool deleteSheetRow(Project& project, int row);
bool deletePartRow(Project& project, int row);
void clearSheetTable(Project& project);
void clearPartTable(Project& project);


} // namespace engine
