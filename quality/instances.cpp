#include "quality/instances.h"

#include <array>
#include <charconv>
#include <system_error>

#include "engine/file_io.h"

namespace quality {

namespace {

// Lines without their end (LF or CRLF); a last line without an end counts.
std::vector<std::string_view> splitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

bool isBlank(std::string_view line)
{
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

std::string where(std::string_view name, std::size_t line)
{
    return std::string(name) + ":" + std::to_string(line) + ": ";
}

// A whole number filling the text exactly.
bool parseInt(std::string_view text, std::int64_t& value)
{
    if (text.empty())
        return false;
    const char* end = text.data() + text.size();
    const auto [p, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc{} && p == end;
}

// The leading whole numbers of a line, then an optional comment that starts
// with something other than a digit or a sign. Exactly `count` numbers.
bool leadingNumbers(std::string_view line, std::size_t count, std::vector<std::int64_t>& out)
{
    out.clear();
    std::size_t pos = 0;
    while (out.size() < count) {
        pos = line.find_first_not_of(" \t", pos);
        if (pos == std::string_view::npos)
            return false;
        std::size_t end = line.find_first_of(" \t", pos);
        if (end == std::string_view::npos)
            end = line.size();
        std::int64_t v = 0;
        if (!parseInt(line.substr(pos, end - pos), v))
            return false;
        out.push_back(v);
        pos = end;
    }
    pos = line.find_first_not_of(" \t", pos);
    if (pos == std::string_view::npos)
        return true;
    const char c = line[pos];
    return !(c == '-' || c == '+' || (c >= '0' && c <= '9'));
}

std::vector<std::string_view> splitCommas(std::string_view line)
{
    std::vector<std::string_view> cells;
    for (;;) {
        const std::size_t comma = line.find(',');
        cells.push_back(line.substr(0, comma));
        if (comma == std::string_view::npos)
            return cells;
        line.remove_prefix(comma + 1);
    }
}

// Rows of four whole numbers under the given header; the first is an id,
// the other three must be above 0.
Read<std::vector<std::array<std::int64_t, 3>>> readFourColumns(std::string_view text, std::string_view name,
                                                                std::string_view header)
{
    Read<std::vector<std::array<std::int64_t, 3>>> r;
    const std::vector<std::string_view> lines = splitLines(text);
    if (lines.empty() || lines[0] != header) {
        r.error = where(name, 1) + "expected the header \"" + std::string(header) + "\"";
        return r;
    }
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (isBlank(lines[i]))
            continue;
        const std::vector<std::string_view> cells = splitCommas(lines[i]);
        std::int64_t v[4] = {};
        bool good = cells.size() == 4;
        for (std::size_t c = 0; good && c < 4; ++c)
            good = parseInt(cells[c], v[c]) && (c == 0 ? v[c] >= 0 : v[c] > 0);
        if (!good) {
            r.error = where(name, i + 1) + "expected four whole numbers (an id, then three above 0), found \""
                + std::string(lines[i]) + "\"";
            r.value.clear();
            return r;
        }
        r.value.push_back({v[1], v[2], v[3]});
    }
    if (r.value.empty())
        r.error = where(name, lines.size()) + "no data rows";
    return r;
}

} // namespace

Read<std::string> readTextFile(const std::string& path)
{
    Read<std::string> r;
    engine::Result<std::string> bytes = engine::readWholeFile(path, engine::FileLimit::kInstance);
    if (!bytes.ok()) {
        switch (bytes.error().msg) {
        case engine::Msg::FileMissing: r.error = path + ": cannot open the file"; break;
        case engine::Msg::FileNotRegular: r.error = path + ": not an ordinary file"; break;
        case engine::Msg::FileTooLarge: r.error = path + ": file too large"; break;
        default: r.error = path + ": cannot read the file"; break;
        }
        return r;
    }
    r.value = std::move(*bytes);
    return r;
}

Read<std::vector<Instance>> readClassFile(std::string_view text, std::string_view name)
{
    Read<std::vector<Instance>> r;
    const std::vector<std::string_view> lines = splitLines(text);
    std::size_t i = 0;  // next line; after a take, the 1-based number of the line taken
    std::vector<std::int64_t> v;
    std::string error;
    const auto skipBlank = [&] {
        while (i < lines.size() && isBlank(lines[i]))
            ++i;
    };
    // The next non-blank line with `count` numbers.
    const auto take = [&](std::size_t count, const char* what) {
        skipBlank();
        if (i == lines.size()) {
            error = where(name, lines.size()) + "the file ends where " + what + " should follow";
            return false;
        }
        if (!leadingNumbers(lines[i], count, v)) {
            error = where(name, i + 1) + "expected " + what + ", found \"" + std::string(lines[i]) + "\"";
            return false;
        }
        ++i;
        return true;
    };
    const auto check = [&](bool good, const char* what) {
        if (!good)
            error = where(name, i) + what;
        return good;
    };
    for (;;) {
        skipBlank();
        if (i == lines.size())
            break;
        Instance inst;
        if (!take(1, "the problem class") || !check(v[0] >= 1 && v[0] <= 99, "the problem class must be from 1 to 99"))
            break;
        inst.problemClass = static_cast<int>(v[0]);
        if (!take(1, "the number of items")
            || !check(v[0] >= 1 && v[0] <= 100000, "the number of items must be from 1 to 100000"))
            break;
        inst.itemCount = static_cast<int>(v[0]);
        if (!take(2, "the relative and absolute instance numbers")
            || !check(v[0] >= 1 && v[1] >= 1, "instance numbers must be above 0"))
            break;
        inst.relative = static_cast<int>(v[0]);
        if (!take(2, "the bin height and width") || !check(v[0] >= 1 && v[1] >= 1, "bin sizes must be above 0"))
            break;
        inst.stock.push_back(StockSize{v[1], v[0], v[1] * v[0]});
        bool itemsRead = true;
        for (int k = 0; k < inst.itemCount && itemsRead; ++k) {
            itemsRead = take(2, "an item height and width") && check(v[0] >= 1 && v[1] >= 1, "item sizes must be above 0");
            if (itemsRead)
                inst.items.push_back(ItemType{v[1], v[0], 1});
        }
        if (!itemsRead)
            break;
        inst.id = std::string(name) + "_" + std::to_string(inst.itemCount) + "_" + std::to_string(inst.relative);
        r.value.push_back(std::move(inst));
    }
    if (error.empty() && r.value.empty())
        error = where(name, 1) + "no instance in the file";
    if (!error.empty()) {
        r.error = std::move(error);
        r.value.clear();
    }
    return r;
}

Read<std::vector<StockSize>> readBinsCsv(std::string_view text, std::string_view name)
{
    Read<std::vector<StockSize>> r;
    auto rows = readFourColumns(text, name, "ID,WIDTH,HEIGHT,COST");
    r.error = std::move(rows.error);
    if (r.ok())
        for (const auto& row : rows.value)
            r.value.push_back(StockSize{row[0], row[1], row[2]});
    return r;
}

Read<std::vector<ItemType>> readItemsCsv(std::string_view text, std::string_view name)
{
    Read<std::vector<ItemType>> r;
    auto rows = readFourColumns(text, name, "ID,WIDTH,HEIGHT,COPIES");
    r.error = std::move(rows.error);
    if (r.ok())
        for (const auto& row : rows.value)
            r.value.push_back(ItemType{row[0], row[1], row[2]});
    return r;
}

Read<CsvTable> readCsv(std::string_view text, std::string_view name)
{
    Read<CsvTable> r;
    const std::vector<std::string_view> lines = splitLines(text);
    if (lines.empty() || isBlank(lines[0])) {
        r.error = where(name, 1) + "expected a header line";
        return r;
    }
    for (std::string_view t : splitCommas(lines[0]))
        r.value.titles.emplace_back(t);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (isBlank(lines[i]))
            continue;
        const std::vector<std::string_view> cells = splitCommas(lines[i]);
        if (cells.size() != r.value.titles.size()) {
            r.error = where(name, i + 1) + "expected " + std::to_string(r.value.titles.size()) + " cells, found "
                + std::to_string(cells.size());
            r.value = CsvTable{};
            return r;
        }
        r.value.rows.emplace_back(cells.begin(), cells.end());
    }
    return r;
}

Read<std::map<std::string, double>> readColumn(const CsvTable& table, std::string_view name,
                                               std::string_view keyTitle, std::string_view valueTitle)
{
    Read<std::map<std::string, double>> r;
    std::size_t key = table.titles.size();
    std::size_t value = table.titles.size();
    for (std::size_t c = 0; c < table.titles.size(); ++c) {
        if (table.titles[c] == keyTitle)
            key = c;
        if (table.titles[c] == valueTitle)
            value = c;
    }
    if (key == table.titles.size() || value == table.titles.size()) {
        r.error = std::string(name) + ": no column \""
            + std::string(key == table.titles.size() ? keyTitle : valueTitle) + "\"";
        return r;
    }
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        const std::string& cell = table.rows[i][value];
        if (cell.empty())
            continue;
        double v = 0;
        const char* end = cell.data() + cell.size();
        const auto [p, ec] = std::from_chars(cell.data(), end, v);
        std::string k = table.rows[i][key];
        if (const std::size_t slash = k.rfind('/'); slash != std::string::npos)
            k.erase(0, slash + 1);
        // Row i is line i + 2 when the table has no blank lines.
        if (ec != std::errc{} || p != end || k.empty()) {
            r.error = std::string(name) + ": row " + std::to_string(i + 1) + ": \"" + cell
                + "\" in column \"" + std::string(valueTitle) + "\" is no number";
            r.value.clear();
            return r;
        }
        if (!r.value.emplace(k, v).second) {
            r.error = std::string(name) + ": row " + std::to_string(i + 1) + ": \"" + k + "\" given twice";
            r.value.clear();
            return r;
        }
    }
    return r;
}

} // namespace quality
