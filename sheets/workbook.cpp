#include "sheets/workbook.h"

#include <algorithm>
#include <cassert>
#include <cctype>

#include "engine/units.h"
#include "sheets/csv_reader.h"
#include "sheets/ods_reader.h"
#include "sheets/xls_reader.h"
#include "sheets/xlsx_reader.h"

namespace sheets {

using engine::Msg;
using engine::Status;

namespace {

const std::string kEmpty;

char lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool equalIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lower(x) == lower(y);
           });
}

bool endsWithIgnoringCase(std::string_view s, std::string_view tail)
{
    return s.size() >= tail.size() && equalIgnoringCase(s.substr(s.size() - tail.size()), tail);
}

// One cell address: optional "$", letters, optional "$", digits.
std::optional<std::pair<std::int64_t, std::int64_t>> parseCell(std::string_view text)
{
    std::size_t i = 0;
    if (i < text.size() && text[i] == '$')
        ++i;
    const std::size_t lettersStart = i;
    while (i < text.size() && std::isalpha(static_cast<unsigned char>(text[i])))
        ++i;
    const std::int64_t col = columnNumber(text.substr(lettersStart, i - lettersStart));
    if (col == 0)
        return std::nullopt;
    if (i < text.size() && text[i] == '$')
        ++i;
    const std::size_t digitsStart = i;
    std::int64_t row = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        row = row * 10 + (text[i] - '0');
        if (row > kMaxRows)
            return std::nullopt;
        ++i;
    }
    if (i == digitsStart || i != text.size() || row < 1)
        return std::nullopt;
    return std::make_pair(row, col);
}

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

} // namespace

std::int64_t columnNumber(std::string_view letters)
{
    if (letters.empty() || letters.size() > 3)
        return 0;
    std::int64_t n = 0;
    for (const char c : letters) {
        if (!std::isalpha(static_cast<unsigned char>(c)))
            return 0;
        n = n * 26 + (std::toupper(static_cast<unsigned char>(c)) - 'A' + 1);
    }
    return n <= kMaxColumns ? n : 0;
}

std::optional<CellRange> parseRange(std::string_view text)
{
    text = trimmed(text);
    const std::size_t colon = text.find(':');
    const auto first = parseCell(text.substr(0, colon));
    const auto last = colon == std::string_view::npos ? first : parseCell(text.substr(colon + 1));
    if (!first || !last)
        return std::nullopt;
    CellRange r;
    r.firstRow = std::min(first->first, last->first);
    r.lastRow = std::max(first->first, last->first);
    r.firstCol = std::min(first->second, last->second);
    r.lastCol = std::max(first->second, last->second);
    return r;
}

std::string cellAddress(std::int64_t row, std::int64_t col)
{
    std::string letters;
    for (std::int64_t c = col; c > 0; c = (c - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (c - 1) % 26));
    return letters + std::to_string(row);
}

std::string rangeAddress(const CellRange& range)
{
    return cellAddress(range.firstRow, range.firstCol) + ":" + cellAddress(range.lastRow, range.lastCol);
}

std::string numberCellText(double value)
{
    const std::string text = engine::formatGeneral(value, 15);
    return text == "-0" ? "0" : text;
}

std::int64_t Worksheet::lastRow() const { return m_rows.empty() ? 0 : m_rows.back().index + m_rows.back().count - 1; }

const std::string& Worksheet::text(std::int64_t row, std::int64_t col) const
{
    // The last row run that starts at or before `row`.
    auto it = std::upper_bound(m_rows.begin(), m_rows.end(), row,
                               [](std::int64_t index, const Row& r) { return index < r.index; });
    if (it == m_rows.begin())
        return kEmpty;
    --it;
    if (row >= it->index + it->count || col < 1 || col > static_cast<std::int64_t>(it->cells.size()))
        return kEmpty;
    return it->cells[static_cast<std::size_t>(col - 1)];
}

void Worksheet::setText(std::int64_t row, std::int64_t col, std::string text)
{
    if (text.empty())
        return;
    if (m_rows.empty() || m_rows.back().index != row || m_rows.back().count != 1) {
        if (!m_rows.empty() && m_rows.back().index + m_rows.back().count - 1 >= row)
            m_sorted = false;
        m_rows.push_back(Row{row, 1, {}});
    }
    auto& cells = m_rows.back().cells;
    if (static_cast<std::int64_t>(cells.size()) < col)
        cells.resize(static_cast<std::size_t>(col));
    if (cells[static_cast<std::size_t>(col - 1)].empty()) {
        ++m_cells;
        ++m_stored;
    }
    cells[static_cast<std::size_t>(col - 1)] = std::move(text);
    m_lastCol = std::max(m_lastCol, col);
}

void Worksheet::setRepeatedRows(std::int64_t first, std::int64_t count, std::vector<std::string> cells)
{
    while (!cells.empty() && cells.back().empty())
        cells.pop_back();
    if (cells.empty() || count < 1)
        return;
    std::int64_t filled = 0;
    for (const std::string& c : cells)
        filled += c.empty() ? 0 : 1;
    assert(m_rows.empty() || m_rows.back().index + m_rows.back().count <= first);
    m_lastCol = std::max(m_lastCol, static_cast<std::int64_t>(cells.size()));
    m_cells += filled * count;
    m_stored += filled;
    m_rows.push_back(Row{first, count, std::move(cells)});
}

void Worksheet::finish()
{
    if (m_sorted)
        return;
    // Rows written out of order (or the same row twice): merge them. Only
    // setText makes such rows, each of count 1.
    std::stable_sort(m_rows.begin(), m_rows.end(), [](const Row& a, const Row& b) { return a.index < b.index; });
    std::vector<Row> merged;
    for (Row& r : m_rows) {
        if (!merged.empty() && merged.back().index == r.index) {
            auto& into = merged.back().cells;
            if (into.size() < r.cells.size())
                into.resize(r.cells.size());
            for (std::size_t c = 0; c < r.cells.size(); ++c)
                if (!r.cells[c].empty()) {
                    if (!into[c].empty()) {
                        --m_cells;
                        --m_stored;
                    }
                    into[c] = std::move(r.cells[c]);
                }
        } else {
            merged.push_back(std::move(r));
        }
    }
    m_rows = std::move(merged);
    m_sorted = true;
}

const Worksheet* Workbook::sheet(std::string_view name) const
{
    for (const Worksheet& s : sheets)
        if (s.name() == name)
            return &s;
    for (const Worksheet& s : sheets)
        if (equalIgnoringCase(s.name(), name))
            return &s;
    return nullptr;
}

std::vector<std::string> Workbook::sheetNames() const
{
    std::vector<std::string> names;
    for (const Worksheet& s : sheets)
        names.push_back(s.name());
    return names;
}

std::unique_ptr<WorkbookReader> makeReader(SpreadsheetKind kind)
{
    switch (kind) {
    case SpreadsheetKind::Xlsx: return std::make_unique<XlsxReader>();
    case SpreadsheetKind::Ods: return std::make_unique<OdsReader>();
    case SpreadsheetKind::Xls: return makeXlsReader();
    case SpreadsheetKind::Csv: return std::make_unique<CsvReader>();
    }
    return nullptr;
}

std::optional<SpreadsheetKind> kindOfPath(std::string_view path)
{
    if (endsWithIgnoringCase(path, ".xlsx") || endsWithIgnoringCase(path, ".xlsm"))
        return SpreadsheetKind::Xlsx;
    if (endsWithIgnoringCase(path, ".ods"))
        return SpreadsheetKind::Ods;
    if (endsWithIgnoringCase(path, ".xls"))
        return SpreadsheetKind::Xls;
    if (endsWithIgnoringCase(path, ".csv") || endsWithIgnoringCase(path, ".txt") || endsWithIgnoringCase(path, ".tsv"))
        return SpreadsheetKind::Csv;
    return std::nullopt;
}

engine::Result<Workbook> readWorkbook(const std::string& path)
{
    const auto kind = kindOfPath(path);
    if (!kind)
        return Status(Msg::SpreadsheetUnknownKind, {path});
    const auto reader = makeReader(*kind);
    if (!reader)
        return Status(Msg::SpreadsheetUnknownKind, {path});
    return reader->read(path);
}

Status damaged(const std::string& path, std::string where)
{
    std::vector<std::string> args{path};
    if (!where.empty())
        args.push_back(std::move(where));
    return Status(Msg::SpreadsheetDamaged, std::move(args));
}

Status tooLarge(const std::string& path, std::string where)
{
    std::vector<std::string> args{path};
    if (!where.empty())
        args.push_back(std::move(where));
    return Status(Msg::SpreadsheetTooLarge, std::move(args));
}

} // namespace sheets
