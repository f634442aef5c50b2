#include "engine/band_grid.h"

#include <vector>

#include "engine/band_types.h"
#include "engine/file_io.h"

namespace engine {

void fillBandGrid(TextTable& grid, const BandTypeTable& table)
{
    grid.clear();
    for (const BandType& b : table.records())
        grid.appendRow({b.name, b.thickness, b.mark, b.extraLength, b.price});
}

Status readBandGrid(const std::string& path, TextTable& grid)
{
    BandTypeTable table;
    const Status read = readBandTypes(path, table);
    if (read.msg != Msg::CannotReadBandFile)
        fillBandGrid(grid, table);
    return read;
}

BandTypeTable bandTableFromGrid(const TextTable& grid)
{
    BandTypeTable table;
    for (int r = 1; r <= grid.rowCount(); ++r)
        table.append({grid.cell(r, BandCol::Name), grid.cell(r, BandCol::Thickness), grid.cell(r, BandCol::Mark),
                      grid.cell(r, BandCol::Extra), grid.cell(r, BandCol::Price)});
    return table;
}

// The file is written by the band type code, with its checks and its safe
// replace of the old file.
Status writeBandGrid(const std::string& path, const TextTable& grid)
{
    return saveBandTypes(path, bandTableFromGrid(grid));
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
