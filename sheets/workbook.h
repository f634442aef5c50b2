#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/msg.h"

namespace sheets {

// Largest sheet any reader accepts: the row and column limits of the
// spreadsheet programs people use, and the most non-empty cell texts one
// workbook may hold in memory once read (a repeated row held once).
constexpr std::int64_t kMaxRows = 1048576;
constexpr std::int64_t kMaxColumns = 16384;
constexpr std::int64_t kMaxCells = 4000000;

// A block of cells, 1-based and inclusive, first <= last in both directions.
struct CellRange {
    std::int64_t firstRow = 1;
    std::int64_t firstCol = 1;
    std::int64_t lastRow = 1;
    std::int64_t lastCol = 1;

    [[nodiscard]] std::int64_t rowCount() const { return lastRow - firstRow + 1; }
    [[nodiscard]] std::int64_t columnCount() const { return lastCol - firstCol + 1; }
    bool operator==(const CellRange&) const = default;
};

// "B2:B40", "b2:e40", "C7" (one cell), "$B$2:$B$40" (the marks are
// ignored); the corners in any order. Empty when the text names no block
// within kMaxRows x kMaxColumns.
[[nodiscard]] std::optional<CellRange> parseRange(std::string_view text);
// Relative address of a cell: column letters and row number ("B2", "AA10").
[[nodiscard]] std::string cellAddress(std::int64_t row, std::int64_t col);
// "B2:B40"; a single cell is written as "B2:B2", as a one-cell selection's
// first and last cell joined.
[[nodiscard]] std::string rangeAddress(const CellRange& range);
// Column letters to number (A = 1); 0 when `letters` is no column name.
[[nodiscard]] std::int64_t columnNumber(std::string_view letters);

// The text a number cell shows: its value in the general format, up to 15
// significant digits with "." as the decimal separator (2.5, 120, 0.3).
[[nodiscard]] std::string numberCellText(double value);

// One worksheet as read: the texts of its non-empty cells. Rows and columns
// are 1-based as in the spreadsheet; a cell never written reads as "".
class Worksheet {
public:
    explicit Worksheet(std::string name = {}) : m_name(std::move(name)) {}

    [[nodiscard]] const std::string& name() const { return m_name; }
    // The last row and column that hold a cell (0 for an empty sheet).
    [[nodiscard]] std::int64_t lastRow() const;
    [[nodiscard]] std::int64_t lastColumn() const { return m_lastCol; }
    [[nodiscard]] const std::string& text(std::int64_t row, std::int64_t col) const;
    // Cell (r, c) of `range`, both 1-based inside it.
    [[nodiscard]] const std::string& text(const CellRange& range, std::int64_t r, std::int64_t c) const
    {
        return text(range.firstRow + r - 1, range.firstCol + c - 1);
    }
    // Non-empty cells, a repeated row counted as often as it repeats.
    [[nodiscard]] std::int64_t cellCount() const { return m_cells; }
    // Cell texts held in memory (a repeated row holds its cells once).
    [[nodiscard]] std::int64_t storedCells() const { return m_stored; }

    // Readers: sets a cell (an empty text is not stored). Rows may come in
    // any order; finish() must be called once after the last one.
    void setText(std::int64_t row, std::int64_t col, std::string text);
    // Readers: rows first .. first + count - 1 all hold `cells` (cells[c - 1]
    // is column c), kept once. Such rows come in ascending order and after
    // every row set before them.
    void setRepeatedRows(std::int64_t first, std::int64_t count, std::vector<std::string> cells);
    void finish();

private:
    struct Row {
        std::int64_t index = 0;
        std::int64_t count = 1;           // rows index .. index + count - 1
        std::vector<std::string> cells;  // cells[c - 1]
    };
    std::string m_name;
    std::vector<Row> m_rows;  // ascending by index after finish()
    std::int64_t m_lastCol = 0;
    std::int64_t m_cells = 0;
    std::int64_t m_stored = 0;
    bool m_sorted = true;
};

struct Workbook {
    std::string path;
    std::vector<Worksheet> sheets;

    // The worksheet of that name (exact match first, then ignoring ASCII
    // case, as spreadsheet programs compare sheet names); nullptr when none.
    [[nodiscard]] const Worksheet* sheet(std::string_view name) const;
    [[nodiscard]] std::vector<std::string> sheetNames() const;
};

// The kinds of file the readers take.
enum class SpreadsheetKind { Xlsx, Ods, Xls, Csv };

// A reader of one kind of spreadsheet file. It reads the file once, never
// writes, locks or changes it (a workbook open in another program can be
// read), and returns every worksheet with its cell texts, or the message
// with the path and the place that did not read: SpreadsheetDamaged,
// SpreadsheetTooLarge and the file messages of engine::readWholeFile.
class WorkbookReader {
public:
    virtual ~WorkbookReader() = default;
    [[nodiscard]] virtual engine::Result<Workbook> read(const std::string& path) const = 0;
};

[[nodiscard]] std::unique_ptr<WorkbookReader> makeReader(SpreadsheetKind kind);

// The kind by the file name's extension (.xlsx/.xlsm, .ods, .xls,
// .csv/.txt/.tsv, any case); empty for any other name.
[[nodiscard]] std::optional<SpreadsheetKind> kindOfPath(std::string_view path);

// Opens `path` with the reader of its kind. A name without a known
// extension gives SpreadsheetUnknownKind; so does an .xls file
// when this build has no .xls reader.
[[nodiscard]] engine::Result<Workbook> readWorkbook(const std::string& path);

// The detail of a damaged-file message: the path, then the place.
[[nodiscard]] engine::Status damaged(const std::string& path, std::string where);
[[nodiscard]] engine::Status tooLarge(const std::string& path, std::string where);

} // namespace sheets
