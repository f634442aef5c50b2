#include "engine/input_tables.h"

#include <cmath>

namespace engine {

Msg checkEntryRow(std::string_view len, std::string_view wid, std::string_view qty, std::int32_t& qty_out)
{
    double q = 0;
    if (len.empty() || wid.empty() || !parseDecimal(qty, q) || !(q > 0))
        return Msg::EntryRowIncomplete;
    if (q != std::floor(q) || q > 2147483647.0)
        return Msg::QuantityNotWhole;
    qty_out = static_cast<std::int32_t>(q);
    return Msg::Ok;
}

bool isBandCount(std::string_view text) { return text == "0" || text == "1" || text == "2"; }

Result<int> addSheetRow(Project& project, const SheetEntry& entry)
{
    std::int32_t qty = 0;
    if (const Msg m = checkEntryRow(entry.len, entry.wid, entry.qty, qty); m != Msg::Ok)
        return m;
    const int row = project.sheets.appendRow({"", entry.len, entry.wid, entry.qty, entry.descr});
    project.sheetQtyTotal += qty;
    return row;
}

void setPartBand(TextTable& parts, int row, int col, const BandValues& band)
{
    parts.setCell(row, col, band.name);
    parts.setCell(row, col + 4, band.thickness);
    parts.setCell(row, col + 8, band.mark);
}

Result<int> addPartRow(Project& project, const PartEntry& entry, const BandValues& none, const BandValues& band)
{
    std::int32_t qty = 0;
    if (const Msg m = checkEntryRow(entry.len, entry.wid, entry.qty, qty); m != Msg::Ok)
        return m;
    const int row = project.parts.appendRow({"", entry.len, entry.wid, entry.qty, entry.ini, "0"});
    // KD bands the two length edges (columns 6, 7), KV the width edges (8, 9):
    // a count of one bands the first edge of the pair only.
    const auto pair = [&](const std::string& count, int first) {
        const int banded = count == "2" ? 2 : count == "1" ? 1 : 0;
        setPartBand(project.parts, row, first, banded >= 1 ? band : none);
        setPartBand(project.parts, row, first + 1, banded >= 2 ? band : none);
    };
    pair(entry.kd, PartCol::Band);
    pair(entry.kv, PartCol::Band + 2);
    project.partQtyTotal += qty;
    return row;
}

CellCheck checkLengthCell(std::string_view text, LengthUnit unit)
{
    const NormalizedLength n = NormalizeLengthText(text, unit);
    if (n.msg != Msg::Ok)
        return {n.msg, {}};
    return {Msg::Ok, n.hasText ? n.text : std::string(text)};
}

Msg checkQuantityCell(std::string_view text)
{
    std::int32_t v = 0;
    return parseInteger(text, v) ? Msg::Ok : Msg::NotANumber;
}

CellKind sheetCellKind(int col)
{
    switch (col) {
    case SheetCol::Len:
    case SheetCol::Wid: return CellKind::Length;
    case SheetCol::Qty: return CellKind::Quantity;
    default: return CellKind::Text;
    }
}

CellKind partCellKind(int col)
{
    if (col == PartCol::Len || col == PartCol::Wid)
        return CellKind::Length;
    if (col == PartCol::Qty)
        return CellKind::Quantity;
    if (col == PartCol::Rot)
        return CellKind::RotationLock;
    if (col >= PartCol::Band && col < PartCol::Thickness)
        return CellKind::Band;
    if (col >= PartCol::Thickness)
        return CellKind::Derived;
    return CellKind::Text;
}

std::string toggledLock(std::string_view text) { return text == "1" ? "0" : "1"; }

void setAllLocks(TextTable& parts, bool locked)
{
    for (int r = 1; r <= parts.rowCount(); ++r)
        parts.setCell(r, PartCol::Rot, locked ? "1" : "0");
}

bool deleteSheetRow(Project& project, int row)
{
    if (row < 1 || row > project.sheets.rowCount())
        return false;
    project.sheets.removeRow(row);
    project.recomputeTotals();
    return true;
}

bool deletePartRow(Project& project, int row)
{
    if (row < 1 || row > project.parts.rowCount())
        return false;
    project.parts.removeRow(row);
    project.recomputeTotals();
    return true;
}

void clearSheetTable(Project& project)
{
    project.sheets.clear();
    project.sheetQtyTotal = 0;
}

void clearPartTable(Project& project)
{
    project.parts.clear();
    project.partQtyTotal = 0;
}

} // namespace engine
