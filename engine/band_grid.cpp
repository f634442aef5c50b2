#include "engine/band_grid.h"

#include <fstream>
#include <vector>

#include "engine/band_types.h"
#include "engine/text_encoding.h"

namespace engine {

bool readBandGrid(const std::string& path, TextTable& grid)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(toUtf8(line));
    }
    grid.clear();
    for (size_t i = 0; i + kBandColumns <= lines.size(); i += kBandColumns)
        grid.appendRow(std::vector<std::string>(lines.begin() + static_cast<long>(i),
                                                lines.begin() + static_cast<long>(i + kBandColumns)));
    return true;
}

// The file is written by the band type code, with its checks and its safe
// replace of the old file.
BandTypeTable bandTableFromGrid(const TextTable& grid)
{
    BandTypeTable table;
    for (int r = 1; r <= grid.rowCount(); ++r)
        table.records.push_back({grid.cell(r, BandCol::Name), grid.cell(r, BandCol::Thickness),
                                 grid.cell(r, BandCol::Mark), grid.cell(r, BandCol::Extra),
                                 grid.cell(r, BandCol::Price)});
    return table;
}

bool writeBandGrid(const std::string& path, const TextTable& grid)
{
    return SaveBandTypes(path, bandTableFromGrid(grid)).ok();
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
