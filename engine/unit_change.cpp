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
                    std::vector<Msg>& warnings)
{
    for (int r = 1; r <= table.rowCount(); ++r) {
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

LengthSettingTexts lengthSettingTexts(const Settings& settings, LengthUnit unit)
{
    return {FormatLength(settings.Testera, unit), FormatLength(settings.Visak, unit),
            FormatLength(settings.Visak2, unit), FormatLength(settings.DefSheetWidth, unit),
            FormatLength(settings.DefSheetHeight, unit)};
}

UnitChange changeLengthUnit(Project& project, Settings& settings, BandTypeTable& bands, LengthUnit to,
                            const std::string& bandFilePath)
{
    UnitChange out;
    const LengthUnit from = lengthUnitFromInt(settings.JedMere);
    if (from == to)
        return out;
    out.changed = true;
    out.texts = lengthSettingTexts(settings, to);
    out.warnings = convertTables(project, from, to);
    for (std::size_t n = bands.convertUnits(from, to).size(); n > 0; --n)
        out.warnings.push_back(Msg::BandCellNotConverted);
    out.bandFile = bands.save(bandFilePath);
    if (out.bandFile.ok())
        out.bandFile = bands.load(bandFilePath);
    settings.JedMere = toInt(to);
    return out;
}

} // namespace engine
