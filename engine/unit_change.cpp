#include "engine/unit_change.h"

namespace engine {

bool convertLengthCell(std::string& cell, LengthUnit from, LengthUnit to)
{
    const Length v = ParseLength(from, cell);
    if (v < 0)
        return false;
    cell = FormatLength(v, to);
    return true;
}

namespace {

void convertColumns(TextTable& table, std::initializer_list<int> cols, LengthUnit from, LengthUnit to, Msg warning,
                    std::vector<Msg>& warnings, int firstRow = 1)
{
    for (int r = firstRow; r <= table.rowCount(); ++r) {
        for (const int c : cols) {
            std::string cell = table.cell(r, c);
            if (convertLengthCell(cell, from, to))
                table.setCell(r, c, std::move(cell));
            else
                warnings.push_back(warning);
        }
    }
}

} // namespace

std::vector<Msg> convertTables(Project& project, LengthUnit from, LengthUnit to)
{
    std::vector<Msg> warnings;
    if (from == to)
        return warnings;
    convertColumns(project.sheets, {SheetCol::Len, SheetCol::Wid}, from, to, Msg::SheetCellNotConverted, warnings);
    for (int r = 1; r <= project.parts.rowCount(); ++r) {
        for (const int c : {PartCol::Len, PartCol::Wid, PartCol::Thickness, PartCol::Thickness + 1,
                            PartCol::Thickness + 2, PartCol::Thickness + 3}) {
            std::string cell = project.parts.cell(r, c);
            if (c >= PartCol::Thickness && cell.empty())
                continue;
            if (convertLengthCell(cell, from, to))
                project.parts.setCell(r, c, std::move(cell));
            else
                warnings.push_back(Msg::PartCellNotConverted);
        }
    }
    return warnings;
}

std::vector<Msg> convertBandGrid(TextTable& bands, LengthUnit from, LengthUnit to)
{
    std::vector<Msg> warnings;
    if (from == to)
        return warnings;
    convertColumns(bands, {1, 3}, from, to, Msg::BandCellNotConverted, warnings, 2);
    return warnings;
}

} // namespace engine
