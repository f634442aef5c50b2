#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "engine/msg.h"
#include "engine/units.h"

namespace project_io {

// One listed project file of the archive, as the archive page shows it.
struct ArchiveRow {
    std::string name;   // file name with extension
    std::string area;   // total stock sheet area with the unit name
    std::string price;  // price per area stored in the file
    std::string total;  // area x price
};

// The outcome of one archive scan.
struct ArchiveScan {
    // Files read, in listing order; up to, not including, a file that stopped the scan.
    std::vector<ArchiveRow> rows;
    // False when no file matched: the page keeps what it showed.
    bool listed = false;
    // The grand total ("###,###,###.00"); empty when the scan stopped early
    // or listed nothing, in which case the page keeps the old one.
    std::optional<std::string> grandTotal;
    // Ok; ArchiveFolderUnreadable + folder when the folder is missing or
    // cannot be listed; ArchiveCannotOpenFile + path when a file cannot be
    // read (the file problem as reason: not an ordinary file, no
    // permission, too large); CannotReadProject
    // + path when a file's content does not read (malformed document, a
    // count, price, unit, length or quantity that is no number).
    engine::Status status;
};

// The file mask of the filter text f: "*" + f + "*.qln;*" + f + "*.vlp".
[[nodiscard]] std::string archiveMask(const std::string& filter);

// Whether `name` matches one of the ';'-separated wildcard patterns of
// `mask` ('*' any run, '?' one character, letters compared without case).
[[nodiscard]] bool matchesArchiveMask(const std::string& name, const std::string& mask);

// The names of the files in `folder` that match `mask`, sorted alphabetically
// without regard to case. Folders are not listed. Empty when the folder cannot be read.
[[nodiscard]] std::vector<std::string> listArchiveFolder(const std::string& folder, const std::string& mask);

// Lists the project files (.vlp, .qln) of `folder` whose names contain
// `filter`, with the total area of their stock sheets in `areaUnit`, their
// price per area and the product, and the grand total.
[[nodiscard]] ArchiveScan scanArchive(const std::string& folder, const std::string& filter, engine::AreaUnit areaUnit);

// A price typed into row `row` (0-based): recomputes that row's total from
// the number at the start of its area text ("00.00") and returns the new
// grand total. An empty price counts 0. NotANumber when the price is no
// number: the row is left as it was.
[[nodiscard]] engine::Result<std::string> editArchivePrice(std::vector<ArchiveRow>& rows, std::size_t row,
                                                           const std::string& price);

// The grand total of the rows' totals, formatted "###,###,###.00".
[[nodiscard]] std::string archiveGrandTotal(const std::vector<ArchiveRow>& rows);

// Pixel widths of the archive table's four columns (name, area, price,
// total) for a table `tableWidth` pixels wide: 60, 15, 10 and 15 % of the
// width less the 22 pixels of the scroll bar, each truncated, none below 0.
[[nodiscard]] std::array<int, 4> archiveColumnWidths(int tableWidth);

// Left edge of the heading of column `col` (1..3) above the table: the widths
// of the columns before it plus half the pixel width of the heading's text.
[[nodiscard]] int archiveHeadingLeft(const std::array<int, 4>& widths, int col, int textWidth);

} // namespace project_io
