#include "engine/band_grid.h"

#include <vector>

#include "engine/band_types.h"
#include "engine/file_io.h"

namespace engine {

namespace {

void fillGrid(TextTable& grid, const BandTypeTable& table)
{
    grid.clear();
    for (const BandType& b : table.records)
        grid.appendRow({b.name, b.thickness, b.mark, b.extraLength, b.price});
}

} // namespace

Status readBandGrid(const std::string& path, TextTable& grid)
{
    const Result<BandTypeTable> read = LoadBandTypes(path);
    if (read.ok()) {
        fillGrid(grid, *read);
        return {};
    }
    if (read.error().msg == Msg::CannotReadBandFile)
        return read.error();
    // A damaged file: show what it still holds beside the message.
    const Result<std::string> content = readWholeFile(path, FileLimit::kBandTypes);
    fillGrid(grid, wholeBandRecords(content.ok() ? *content : std::string()));
    return read.error();
}

BandTypeTable bandTableFromGrid(const TextTable& grid)
{
    BandTypeTable table;
    for (int r = 1; r <= grid.rowCount(); ++r)
        table.records.push_back({grid.cell(r, BandCol::Name), grid.cell(r, BandCol::Thickness),
                                 grid.cell(r, BandCol::Mark), grid.cell(r, BandCol::Extra),
                                 grid.cell(r, BandCol::Price)});
    return table;
}

// The file is written by the band type code, with its checks and its safe
// replace of the old file.
Status writeBandGrid(const std::string& path, const TextTable& grid)
{
    return SaveBandTypes(path, bandTableFromGrid(grid));
}

bool deleteBandRow(TextTable& grid, int row)
{
    if (row < 2 || row > grid.rowCount() || grid.cell(row, BandCol::Name).empty())
        return false;
    grid.removeRow(row);
    return true;
}

bool canDeleteBandRow(const TextTable& grid) { return grid.rowCount() >= 2; }

} // namespace engine
