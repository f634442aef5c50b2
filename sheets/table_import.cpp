#include "sheets/table_import.h"

#include <algorithm>

#include "project/limits.h"

namespace sheets {

using engine::Msg;
using engine::Result;
using engine::Status;

static_assert(kMaxPreviewRows == project_io::kMaxTableRows);

namespace {

// The first preview row that no table can take.
engine::Status tooManyRows() { return Status(Msg::ImportTooManyRows, {"1," + std::to_string(kMaxPreviewRows + 1)}); }

std::string place(int col, int row) { return std::to_string(col) + "," + std::to_string(row); }

// A length cell: 0 when it reads, else the message.
Msg lengthCheck(const std::string& text, engine::LengthUnit unit)
{
    const int u = engine::toInt(unit);
    if (u == 4 || u == 5) {
        if (engine::ParseImperialText(text).msg != Msg::Ok)
            return Msg::ImportLengthNotNumber;
    } else {
        double v = 0;
        if (!engine::parseDecimal(text, v))
            return Msg::ImportLengthNotNumber;
        // Beyond what an internal length holds (some 214 km).
        if (v > 2.0e8)
            return Msg::ImportLengthNotNumber;
    }
    return engine::ParseLength(unit, text) > 0 ? Msg::Ok : Msg::ImportLengthNotPositive;
}

} // namespace

Result<CellBlock> blockOf(const Worksheet& sheet, const CellRange& range)
{
    if (range.columnCount() > 4)
        return Status(Msg::ImportSelectionTooWide);
    if (range.rowCount() > kMaxPreviewRows)
        return tooManyRows();
    CellBlock block;
    block.rows = range.rowCount();
    block.cols = range.columnCount();
    block.range = range;
    block.texts.reserve(static_cast<std::size_t>(block.rows * block.cols));
    for (std::int64_t r = 1; r <= block.rows; ++r)
        for (std::int64_t c = 1; c <= block.cols; ++c)
            block.texts.push_back(sheet.text(range, r, c));
    return block;
}

Result<CellBlock> blockFromClipboard(std::string_view text)
{
    std::vector<std::vector<std::string>> lines;
    std::vector<std::string> fields;
    std::string field;
    bool open = false;  // a line has begun
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '"' && field.empty()) {
            // Spreadsheet programs quote a cell that holds a tab, a quote or
            // a line break; "" inside is one quote.
            std::size_t j = i + 1;
            std::string quoted;
            bool closed = false;
            while (j < text.size()) {
                if (text[j] == '"') {
                    if (j + 1 < text.size() && text[j + 1] == '"') {
                        quoted += '"';
                        j += 2;
                        continue;
                    }
                    closed = true;
                    ++j;
                    break;
                }
                quoted += text[j++];
            }
            if (closed && (j == text.size() || text[j] == '\t' || text[j] == '\n' || text[j] == '\r')) {
                field = std::move(quoted);
                i = j;
                open = true;
                continue;
            }
        }
        if (c == '\t') {
            fields.push_back(std::move(field));
            field.clear();
            open = true;
        } else if (c == '\n' || c == '\r') {
            fields.push_back(std::move(field));
            field.clear();
            lines.push_back(std::move(fields));
            fields.clear();
            open = false;
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            if (static_cast<std::int64_t>(lines.size()) > kMaxPreviewRows)
                return tooManyRows();
        } else {
            field += c;
            open = true;
        }
        ++i;
    }
    if (open) {
        fields.push_back(std::move(field));
        lines.push_back(std::move(fields));
    }
    if (static_cast<std::int64_t>(lines.size()) > kMaxPreviewRows)
        return tooManyRows();
    if (lines.empty())
        return Status(Msg::ImportSelectionUnreadable);
    CellBlock block;
    block.rows = static_cast<std::int64_t>(lines.size());
    for (const auto& l : lines)
        block.cols = std::max<std::int64_t>(block.cols, static_cast<std::int64_t>(l.size()));
    if (block.cols > 4)
        return Status(Msg::ImportSelectionTooWide);
    for (auto& l : lines) {
        l.resize(static_cast<std::size_t>(block.cols));
        for (auto& f : l)
            block.texts.push_back(std::move(f));
    }
    return block;
}

std::string commasToDots(std::string text)
{
    std::replace(text.begin(), text.end(), ',', '.');
    return text;
}

Status previewBlock(const CellBlock& block, bool convert, ImportPreview& preview)
{
    if (block.cols > 4)
        return Status(Msg::ImportSelectionTooWide);
    if (block.rows < 1 || block.cols < 1)
        return Status(Msg::ImportSelectionUnreadable);
    preview.rows.resize(static_cast<std::size_t>(block.rows));
    for (std::int64_t k = 1; k <= block.cols; ++k) {
        if (block.range) {
            CellRange column = *block.range;
            column.firstCol = column.lastCol = block.range->firstCol + k - 1;
            preview.ranges[static_cast<std::size_t>(k - 1)] = rangeAddress(column);
        } else {
            preview.ranges[static_cast<std::size_t>(k - 1)].clear();
        }
        for (std::int64_t r = 1; r <= block.rows; ++r) {
            const std::string& t = block.text(r, k);
            preview.rows[static_cast<std::size_t>(r - 1)][static_cast<std::size_t>(k - 1)] =
                convert ? commasToDots(t) : t;
        }
    }
    return {};
}

Status loadRanges(const Worksheet& sheet, bool convert, ImportPreview& preview)
{
    std::array<std::optional<CellRange>, 4> ranges;
    for (std::size_t k = 0; k < 4; ++k) {
        if (preview.ranges[k].empty())
            continue;
        ranges[k] = parseRange(preview.ranges[k]);
        if (!ranges[k])
            return Status(Msg::RangeNotValid, {preview.ranges[k]});
        if (ranges[k]->rowCount() > kMaxPreviewRows)
            return tooManyRows();
    }
    ImportPreview out = preview;
    std::int64_t n = out.rowCount();
    for (std::size_t k = 0; k < 4; ++k) {
        if (!ranges[k])
            continue;
        n = ranges[k]->rowCount();
        if (static_cast<std::int64_t>(out.rows.size()) < n)
            out.rows.resize(static_cast<std::size_t>(n));
        for (std::int64_t r = 1; r <= n; ++r) {
            const std::string& t = sheet.text(*ranges[k], r, 1);
            out.rows[static_cast<std::size_t>(r - 1)][k] = convert ? commasToDots(t) : t;
        }
    }
    out.rows.resize(static_cast<std::size_t>(n));
    preview = std::move(out);
    return {};
}

Status checkPreview(const ImportPreview& preview, engine::LengthUnit unit)
{
    if (preview.rowCount() == 0)
        return Status(Msg::ImportNothingToImport);
    for (int k = 1; k <= 2; ++k)
        for (int r = 1; r <= preview.rowCount(); ++r)
            if (const Msg m = lengthCheck(preview.cell(r, k), unit); m != Msg::Ok)
                return Status(m, {place(k, r)});
    for (int r = 1; r <= preview.rowCount(); ++r) {
        std::int32_t q = 0;
        if (!engine::parseInteger(preview.cell(r, 3), q))
            return Status(Msg::ImportQuantityNotInteger, {place(3, r)});
        if (q <= 0)
            return Status(Msg::ImportQuantityNotPositive, {place(3, r)});
    }
    return {};
}

Status checkRoom(const ImportPreview& preview, int existingRows)
{
    const int room = std::max(0, project_io::kMaxTableRows - existingRows);
    if (preview.rowCount() > room)
        return Status(Msg::ImportTooManyRows, {place(1, room + 1)});
    return {};
}

Result<int> importPreview(engine::Project& project, ImportTarget target, const ImportPreview& preview,
                          ImportMode mode, const engine::BandValues& firstBand, engine::LengthUnit unit)
{
    if (Status s = checkPreview(preview, unit); !s.ok())
        return s;
    engine::TextTable& table = target == ImportTarget::Sheets ? project.sheets : project.parts;
    if (Status s = checkRoom(preview, mode == ImportMode::Replace ? 0 : table.rowCount()); !s.ok())
        return s;
    if (mode == ImportMode::Replace)
        table.clear();
    const int first = table.rowCount() + 1;
    for (const auto& cells : preview.rows) {
        if (target == ImportTarget::Sheets) {
            table.appendRow({"", cells[0], cells[1], cells[2], cells[3]});
        } else {
            const int row = table.appendRow({"", cells[0], cells[1], cells[2], cells[3], "0"});
            for (int e = 0; e < 4; ++e)
                engine::setPartBand(table, row, engine::PartCol::Band + e, firstBand);
        }
    }
    project.recomputeTotals();
    return first;
}

} // namespace sheets
