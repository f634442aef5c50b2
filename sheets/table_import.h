#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/input_tables.h"
#include "engine/msg.h"
#include "engine/project.h"
#include "engine/units.h"
#include "sheets/workbook.h"

namespace sheets {

// Which input table an import fills.
enum class ImportTarget { Sheets, Parts };

// Most rows a preview holds: those of a table (a taller block could never
// go in).
constexpr std::int64_t kMaxPreviewRows = 499;

// The preview of one half of the import: four columns (1 length, 2 width,
// 3 quantity, 4 description), each with the range its cells came from
// ("B2:B40"; empty when the column is not linked), and the cell texts of
// rows 1..rowCount().
struct ImportPreview {
    std::array<std::string, 4> ranges;
    std::vector<std::array<std::string, 4>> rows;

    [[nodiscard]] int rowCount() const { return static_cast<int>(rows.size()); }
    // Column k (1..4) of row r (1..rowCount()).
    [[nodiscard]] const std::string& cell(int r, int k) const { return rows[static_cast<std::size_t>(r - 1)][static_cast<std::size_t>(k - 1)]; }
};

// A block of cells to preview: its size, its texts row by row, and where it
// lies in the worksheet (no place for cells pasted from the clipboard).
struct CellBlock {
    std::int64_t rows = 0;
    std::int64_t cols = 0;
    std::vector<std::string> texts;  // rows x cols, row by row
    std::optional<CellRange> range;

    [[nodiscard]] const std::string& text(std::int64_t r, std::int64_t c) const
    {
        return texts[static_cast<std::size_t>((r - 1) * cols + (c - 1))];
    }
};

// The block `range` of `sheet`. Errors: ImportSelectionTooWide (more than
// four columns), ImportTooManyRows ("1,500": more than kMaxPreviewRows rows).
[[nodiscard]] engine::Result<CellBlock> blockOf(const Worksheet& sheet, const CellRange& range);

// Cells copied from a spreadsheet program: lines of tab-separated texts
// (a last line end is no row; quoted fields as those programs write them).
// Errors: ImportSelectionUnreadable (nothing), ImportSelectionTooWide,
// ImportTooManyRows (more than kMaxPreviewRows rows).
[[nodiscard]] engine::Result<CellBlock> blockFromClipboard(std::string_view text);

// Each comma of `text` becomes a full stop (2,5 -> 2.5).
[[nodiscard]] std::string commasToDots(std::string text);

// The preview from a selected block: its row count becomes the block's, its
// columns 1..c take the block's columns (and their ranges, when the block
// has a place); the columns beyond c keep what they held. Errors, with the
// preview unchanged: ImportSelectionTooWide (more than four columns),
// ImportSelectionUnreadable (an empty block).
[[nodiscard]] engine::Status previewBlock(const CellBlock& block, bool commasToDots, ImportPreview& preview);

// The preview from the remembered ranges of `preview` (the automatic load):
// every column with a range takes that range's first column; the row count
// becomes that of the last column read. Errors, with the preview unchanged:
// RangeNotValid (with the range text), ImportTooManyRows (a range of more
// than kMaxPreviewRows rows).
[[nodiscard]] engine::Status loadRanges(const Worksheet& sheet, bool commasToDots, ImportPreview& preview);

// The checks before anything is written, column by column: columns 1 and 2
// must read as lengths in `unit` (ImportLengthNotNumber) above 0
// (ImportLengthNotPositive), column 3 as an integer (ImportQuantityNotInteger)
// above 0 (ImportQuantityNotPositive), each with "column,row"; an empty
// preview is ImportNothingToImport.
[[nodiscard]] engine::Status checkPreview(const ImportPreview& preview, engine::LengthUnit unit);

// The table can take the rows after `existingRows` rows (else
// ImportTooManyRows with "1,row" of the first preview row that does not fit).
[[nodiscard]] engine::Status checkRoom(const ImportPreview& preview, int existingRows);

// How the rows go in: after the table's rows, or into the emptied table.
enum class ImportMode { Append, Replace };

// Copies the preview into the table: columns 1..4 of each row; parts also
// get rotation lock "0" and `firstBand` (the first band type) on all four
// edges. The quantity sums are recomputed. Runs checkPreview and checkRoom
// first and changes nothing when they fail. Returns the first new row.
[[nodiscard]] engine::Result<int> importPreview(engine::Project& project, ImportTarget target,
                                                const ImportPreview& preview, ImportMode mode,
                                                const engine::BandValues& firstBand, engine::LengthUnit unit);

} // namespace sheets
