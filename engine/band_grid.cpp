#include "engine/band_grid.h"

#include <fstream>
#include <vector>

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
        lines.push_back(std::move(line));
    }
    grid.clear();
    for (size_t i = 0; i + kBandColumns <= lines.size(); i += kBandColumns)
        grid.appendRow(std::vector<std::string>(lines.begin() + static_cast<long>(i),
                                                lines.begin() + static_cast<long>(i + kBandColumns)));
    return true;
}

bool writeBandGrid(const std::string& path, const TextTable& grid)
{
    std::string out;
    for (int r = 1; r <= grid.rowCount(); ++r) {
        if (grid.cell(r, BandCol::Thickness).empty() || grid.cell(r, BandCol::Extra).empty())
            continue;
        for (int c = 0; c < kBandColumns; ++c)
            out += grid.cell(r, c) + "\r\n";
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file)
        return false;
    file << out;
    return static_cast<bool>(file);
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
