#include "sheets/ods_reader.h"

#include <algorithm>
#include <cstdlib>

#include <pugixml.hpp>

#include "engine/file_io.h"
#include "engine/units.h"
#include "sheets/xml_names.h"
#include "sheets/zip_package.h"

namespace sheets {

namespace {

using engine::Result;
using engine::Status;

const std::string kContent = "content.xml";

using xml::attribute;
using xml::local;

// A repeat count: 1 when absent; 0 when it does not read.
std::int64_t repeatCount(pugi::xml_node node, std::string_view name)
{
    const pugi::xml_attribute a = attribute(node, name);
    if (!a)
        return 1;
    const std::string_view v = a.value();
    if (v.empty() || v.size() > 12 || v.find_first_not_of("0123456789") != std::string_view::npos)
        return 0;
    const std::int64_t n = std::atoll(a.value());
    return n >= 1 ? n : 0;
}

// The displayed text of a paragraph: its text, runs of spaces (<text:s>),
// tabs and line breaks; notes and annotations left out.
void paragraphText(pugi::xml_node node, std::string& out)
{
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
        if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata) {
            out += c.value();
            continue;
        }
        if (c.type() != pugi::node_element)
            continue;
        const std::string_view name = local(c.name());
        if (name == "s") {
            const std::int64_t n = std::clamp<std::int64_t>(repeatCount(c, "c"), 1, 1000);
            out.append(static_cast<std::size_t>(n), ' ');
        } else if (name == "tab") {
            out += '\t';
        } else if (name == "line-break") {
            out += '\n';
        } else if (name != "note" && name != "annotation" && name != "ruby-text") {
            paragraphText(c, out);
        }
    }
}

std::string displayedText(pugi::xml_node cell)
{
    std::string out;
    bool first = true;
    for (pugi::xml_node p = cell.first_child(); p; p = p.next_sibling()) {
        if (p.type() != pugi::node_element)
            continue;
        const std::string_view name = local(p.name());
        if (name != "p" && name != "h")
            continue;
        if (!first)
            out += '\n';
        first = false;
        paragraphText(p, out);
    }
    return out;
}

struct CellText {
    bool ok = true;
    std::string text;
};

CellText cellText(pugi::xml_node cell)
{
    if (local(cell.name()) == "covered-table-cell")
        return {};
    const std::string_view type = attribute(cell, "value-type").value();
    if (type == "float" || type == "percentage" || type == "currency") {
        double v = 0;
        const pugi::xml_attribute value = attribute(cell, "value");
        if (!value || !engine::parseDecimal(value.value(), v))
            return {false, value.value()};
        return {true, numberCellText(v)};
    }
    if (type == "boolean") {
        const std::string_view v = attribute(cell, "boolean-value").value();
        return {true, v == "true" || v == "1" ? "TRUE" : "FALSE"};
    }
    if (type == "string") {
        const pugi::xml_attribute sv = attribute(cell, "string-value");
        if (sv)
            return {true, sv.value()};
    }
    return {true, displayedText(cell)};
}

class TableReader {
public:
    TableReader(const std::string& path, Worksheet& ws, std::int64_t& cellsLeft)
        : m_path(path), m_ws(ws), m_cellsLeft(cellsLeft)
    {
    }

    // Rows may sit inside header-rows, row-groups and rows elements.
    Status rows(pugi::xml_node parent)
    {
        for (pugi::xml_node n = parent.first_child(); n; n = n.next_sibling()) {
            if (n.type() != pugi::node_element)
                continue;
            const std::string_view name = local(n.name());
            if (name == "table-row") {
                if (Status s = row(n); !s.ok())
                    return s;
            } else if (name == "table-header-rows" || name == "table-row-group" || name == "table-rows") {
                if (Status s = rows(n); !s.ok())
                    return s;
            }
        }
        return {};
    }

private:
    struct Run {
        std::int64_t col = 0;
        std::int64_t count = 0;
        std::string text;
    };

    std::string where(std::int64_t row, std::int64_t col) const
    {
        return kContent + ": table " + m_ws.name() + ", cell " +
               (row <= kMaxRows && col <= kMaxColumns ? cellAddress(row, col)
                                                       : "row " + std::to_string(row) + " column " + std::to_string(col));
    }

    Status row(pugi::xml_node r)
    {
        const std::int64_t repeat = repeatCount(r, "number-rows-repeated");
        const std::int64_t first = m_row + 1;
        if (repeat == 0)
            return damaged(m_path, where(first, 1) + ": number-rows-repeated");
        std::vector<Run> runs;
        std::int64_t col = 0;
        std::int64_t filled = 0;
        for (pugi::xml_node c = r.first_child(); c; c = c.next_sibling()) {
            if (c.type() != pugi::node_element)
                continue;
            const std::string_view name = local(c.name());
            if (name != "table-cell" && name != "covered-table-cell")
                continue;
            const std::int64_t count = repeatCount(c, "number-columns-repeated");
            if (count == 0)
                return damaged(m_path, where(first, col + 1) + ": number-columns-repeated");
            CellText ct = cellText(c);
            if (!ct.ok)
                return damaged(m_path, where(first, col + 1) + ": office:value " + ct.text);
            if (!ct.text.empty()) {
                if (col + count > kMaxColumns)
                    return tooLarge(m_path, where(first, col + 1) + ": more than " + std::to_string(kMaxColumns) +
                                                " columns");
                filled += count;
                runs.push_back({col + 1, count, std::move(ct.text)});
            }
            // Empty cells only move on; the count stays far from overflow.
            col = std::min(col + count, kMaxColumns * 1024);
        }
        if (runs.empty()) {
            m_row = std::min(m_row + repeat, kMaxRows * 1024);
            return {};
        }
        if (m_row + repeat > kMaxRows)
            return tooLarge(m_path, where(first, runs.front().col) + ": more than " + std::to_string(kMaxRows) + " rows");
        // Memory holds the cells of one row, however often it repeats.
        if (filled > m_cellsLeft)
            return tooLarge(m_path, where(first, runs.front().col) + ": more than " + std::to_string(kMaxCells) +
                                        " cells");
        m_cellsLeft -= filled;
        std::vector<std::string> cells(static_cast<std::size_t>(runs.back().col + runs.back().count - 1));
        for (const Run& run : runs)
            for (std::int64_t j = 0; j < run.count; ++j)
                cells[static_cast<std::size_t>(run.col + j - 1)] = run.text;
        m_ws.setRepeatedRows(first, repeat, std::move(cells));
        m_row += repeat;
        return {};
    }

    const std::string& m_path;
    Worksheet& m_ws;
    std::int64_t& m_cellsLeft;
    std::int64_t m_row = 0;
};

pugi::xml_node findChild(pugi::xml_node node, std::string_view name)
{
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && local(c.name()) == name)
            return c;
    return {};
}

} // namespace

Result<Workbook> OdsReader::read(const std::string& path) const
{
    auto bytes = engine::readWholeFile(path, engine::FileLimit::kSpreadsheet);
    if (!bytes.ok())
        return bytes.error();
    return readBytes(std::move(*bytes), path);
}

Result<Workbook> OdsReader::readBytes(std::string bytes, const std::string& path)
{
    ZipPackage zip;
    if (Status s = zip.open(std::move(bytes), path); !s.ok())
        return s;
    auto content = zip.read(kContent);
    if (!content.ok())
        return content.error();
    pugi::xml_document doc;
    const pugi::xml_parse_result parsed = doc.load_buffer(content->data(), content->size());
    if (!parsed)
        return damaged(path, kContent + ": XML error at byte " + std::to_string(parsed.offset));
    const pugi::xml_node spreadsheet =
        findChild(findChild(doc.document_element(), "body"), "spreadsheet");
    if (!spreadsheet)
        return damaged(path, kContent + ": no spreadsheet");

    Workbook book;
    book.path = path;
    std::int64_t cellsLeft = kMaxCells;
    for (pugi::xml_node t = spreadsheet.first_child(); t; t = t.next_sibling()) {
        if (t.type() != pugi::node_element || local(t.name()) != "table")
            continue;
        Worksheet ws(attribute(t, "name").value());
        TableReader reader(path, ws, cellsLeft);
        if (Status s = reader.rows(t); !s.ok())
            return s;
        ws.finish();
        book.sheets.push_back(std::move(ws));
    }
    if (book.sheets.empty())
        return damaged(path, kContent + ": no table");
    return book;
}

} // namespace sheets
