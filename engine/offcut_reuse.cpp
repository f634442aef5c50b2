#include "engine/offcut_reuse.h"

#include <string>
#include <unordered_map>
#include <unordered_set>

namespace engine {

namespace {

std::unordered_map<std::int32_t, const SheetInstance*> sheetsByNumber(const Project& project)
{
    std::unordered_map<std::int32_t, const SheetInstance*> map;
    for (const SheetInstance& s : project.input.sheets)
        map.emplace(s.tnb, &s);
    return map;
}

} // namespace

Result<int> takeGoodOffcuts(Project& project, const Settings& settings, const LanguageTable& lang)
{
    CuttingResult& result = project.result;
    if (!result.complete || result.offcutsTaken)
        return Msg::ResultCommandUsed;
    const LengthUnit unit = lengthUnitFromInt(settings.JedMere);
    const std::int64_t kerf = settings.Testera;
    const auto sheets = sheetsByNumber(project);
    int added = 0;
    for (const Offcut& o : result.offcuts) {
        const auto it = sheets.find(o.tnb);
        if (it == sheets.end())
            continue;
        const SheetInstance& s = *it->second;
        // The parts' footprints already carry a kerf on their far sides; an
        // offcut that stops short of the sheet edge still needs one cut to
        // come free, one that reaches the edge does not.
        std::int64_t len = std::int64_t{o.x1} - o.x - kerf;
        if (o.x1 == s.len)
            len += kerf;
        std::int64_t wid = std::int64_t{o.y1} - o.y - kerf;
        if (o.y1 == s.wid)
            wid += kerf;
        if (len < settings.Visak || wid < settings.Visak2)
            continue;
        project.sheets.appendRow({"", FormatLength(static_cast<Length>(len), unit),
                                  FormatLength(static_cast<Length>(wid), unit), "1",
                                  lang.text(Msg::GoodOffcutDescription)});
        ++added;
    }
    result.offcutsTaken = true;
    project.recomputeTotals();
    return added;
}

Result<int> subtractUsedSheets(Project& project, const Settings& settings)
{
    CuttingResult& result = project.result;
    if (!result.complete || result.sheetsSubtracted)
        return Msg::ResultCommandUsed;
    const LengthUnit unit = lengthUnitFromInt(settings.JedMere);
    std::unordered_set<std::int32_t> used;
    for (const PlacedElement& e : result.elements)
        used.insert(e.tnb);

    TextTable& table = project.sheets;
    int subtracted = 0;
    for (const SheetInstance& s : project.input.sheets) {
        if (!used.contains(s.tnb))
            continue;
        for (int r = 1; r <= table.rowCount(); ++r) {
            const std::int32_t qty = quantityOf(table.cell(r, SheetCol::Qty));
            if (qty > 0 && ParseLength(unit, table.cell(r, SheetCol::Len)) == s.len
                && ParseLength(unit, table.cell(r, SheetCol::Wid)) == s.wid) {
                table.setCell(r, SheetCol::Qty, std::to_string(qty - 1));
                ++subtracted;
                break;
            }
        }
    }
    for (int r = 1; r <= table.rowCount();) {
        if (quantityOf(table.cell(r, SheetCol::Qty)) == 0)
            table.removeRow(r);
        else
            ++r;
    }
    result.sheetsSubtracted = true;
    project.recomputeTotals();
    return subtracted;
}

} // namespace engine
