#include "engine/project.h"

namespace engine {

Project::Project() = default;

void Project::recomputeTotals()
{
    sheetQtyTotal = 0;
    for (int r = 1; r <= sheets.rowCount(); ++r)
        if (const std::int32_t q = quantityOf(sheets.cell(r, SheetCol::Qty)); q > 0)
            sheetQtyTotal += q;
    partQtyTotal = 0;
    for (int r = 1; r <= parts.rowCount(); ++r)
        if (const std::int32_t q = quantityOf(parts.cell(r, PartCol::Qty)); q > 0)
            partQtyTotal += q;
}

void Project::clearTables()
{
    sheets.clear();
    parts.clear();
    sheetQtyTotal = 0;
    partQtyTotal = 0;
    report.clear();
    bill.clear();
}

void Project::clearResult()
{
    result.elements.clear();
    result.offcuts.clear();
    result.groups.clear();
    result.sheetRowUsage.clear();
    result.complete = false;
    result.offcutsTaken = false;
    result.sheetsSubtracted = false;
    result.method = ResultMethod::Automatic;
}

Length lengthOrZero(const std::string& text, LengthUnit unit)
{
    const Length v = ParseLength(unit, text);
    return v < 0 ? 0 : v;
}

std::int32_t quantityOf(const std::string& text)
{
    std::int32_t q = 0;
    if (!parseInteger(text, q))
        return -1;
    return q;
}

Footprint partNetSize(const TextTable& parts, int row, LengthUnit unit)
{
    const auto th = [&](int edge) { return lengthOrZero(parts.cell(row, PartCol::Thickness + edge), unit); };
    Footprint f;
    f.len = ParseLength(unit, parts.cell(row, PartCol::Len)) - th(2) - th(3);
    f.wid = ParseLength(unit, parts.cell(row, PartCol::Wid)) - th(0) - th(1);
    return f;
}

Footprint partFootprint(const TextTable& parts, int row, LengthUnit unit, int kerf)
{
    Footprint f = partNetSize(parts, row, unit);
    f.len += kerf;
    f.wid += kerf;
    return f;
}

} // namespace engine
