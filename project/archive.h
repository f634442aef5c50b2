#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "engine/language_table.h"
#include "engine/msg.h"
#include "engine/project.h"
#include "engine/units.h"

namespace project_io {

// One listed project file of the archive, as the archive page shows it.
// A file that cannot be read, or whose content does not read, is a row of
// its own with `problem` set and the three figures empty; it takes no part
// in the grand total and its price cannot be edited.
struct ArchiveRow {
    std::string name;   // file name with extension
    std::string area;   // total stock sheet area with the unit name
    std::string price;  // price per shown area unit
    std::string total;  // area x price
    // Ok; ArchiveCannotOpenFile + path (the file problem as reason: missing
    // link target, not an ordinary file, no permission, too large);
    // CannotReadProject + path (malformed document, a count, price, unit,
    // length or quantity that is no number, an area that overflows);
    // QuillonFileTooLong + path.
    engine::Status problem{};

    [[nodiscard]] bool readable() const { return problem.ok(); }
};

// The outcome of one archive scan.
struct ArchiveScan {
    // Every listed file, in listing order; files that do not read are rows
    // with their problem set (the listing goes on after them).
    std::vector<ArchiveRow> rows;
    // False when no file matched: the page keeps what it showed.
    bool listed = false;
    // The grand total over the readable rows ("###,###,###.00"); empty when
    // nothing was listed, in which case the page keeps the old one.
    std::optional<std::string> grandTotal;
    // Ok, or ArchiveFolderUnreadable + folder when the folder is missing or
    // cannot be listed (then nothing is listed).
    engine::Status status;
};

// The names the scan of `folder` with `filter` lists, in listing order.
struct ArchiveListing {
    std::vector<std::string> names;
    engine::Status status;  // Ok or ArchiveFolderUnreadable + folder
};

// The file mask of the filter text f: "*" + f + "*.qln;*" + f + "*.vlp".
[[nodiscard]] std::string archiveMask(const std::string& filter);

// Whether `name` matches one of the ';'-separated wildcard patterns of
// `mask` ('*' any run, '?' one character, letters compared without case).
[[nodiscard]] bool matchesArchiveMask(const std::string& name, const std::string& mask);

// The names of the files in `folder` that match `mask`, sorted alphabetically
// without regard to case. Folders are not listed. Empty when the folder cannot be read.
[[nodiscard]] std::vector<std::string> listArchiveFolder(const std::string& folder, const std::string& mask);

// The folders directly inside `folder`, sorted alphabetically without regard
// to case; hidden ones (a name starting with '.') are left out. Files are
// not looked at one by one, so a folder of thousands of projects lists as
// fast as an empty one. Empty when the folder cannot be read.
[[nodiscard]] std::vector<std::string> listSubfolders(const std::string& folder);

// The project files (.vlp, .qln) of `folder` whose names contain `filter`.
[[nodiscard]] ArchiveListing listArchive(const std::string& folder, const std::string& filter);

// One row of the archive: the file `name` of `folder` read (for reading
// only) with the total area of its stock sheets in `areaUnit`, its price per
// shown area unit and the product. A file that does not read gives a row
// with its problem set. Safe to call from any thread.
//
// A Quillon file keeps its price per square centimetre: the row shows that
// price per `areaUnit`, so that its total, whole square centimetres x the
// stored price, is the shown area x the shown price like every other row
// (and a price typed into the row means the same as in any other row).
[[nodiscard]] ArchiveRow readArchiveRow(const std::string& folder, const std::string& name,
                                        engine::AreaUnit areaUnit);

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

// The grand total of the readable rows' totals, formatted "###,###,###.00".
[[nodiscard]] std::string archiveGrandTotal(const std::vector<ArchiveRow>& rows);

// The name column of a row: the file name, or for a row that does not read
// message 22 (`unreadableText`), a blank and the file name.
[[nodiscard]] std::string archiveRowName(const ArchiveRow& row, const std::string& unreadableText);

// The printed archive list: message 23 + folder + message 24 + date, a line
// of one blank, the heading line (message 25), 83 "-" and a blank, then per
// row the trimmed name filled with "-" to 50 characters, and the area, price
// and total each after one blank, filled with blanks to 10 characters.
// Plain lines (no bold, no size change).
[[nodiscard]] engine::RichText archivePrintText(const std::string& folder, const std::vector<ArchiveRow>& rows,
                                                const engine::LanguageTable& language, const std::string& date);

// Pixel widths of the archive table's four columns (name, area, price,
// total) for a table `tableWidth` pixels wide: 60, 15, 10 and 15 % of the
// width less the 22 pixels of the scroll bar, each truncated, none below 0.
[[nodiscard]] std::array<int, 4> archiveColumnWidths(int tableWidth);

// Left edge of the heading of column `col` (1..3) above the table: the widths
// of the columns before it plus half the pixel width of the heading's text.
[[nodiscard]] int archiveHeadingLeft(const std::array<int, 4>& widths, int col, int textWidth);

} // namespace project_io
