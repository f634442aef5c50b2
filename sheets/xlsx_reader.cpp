#include "sheets/xlsx_reader.h"

#include <cctype>
#include <cstdlib>
#include <map>

#include <pugixml.hpp>

#include "engine/file_io.h"
#include "engine/units.h"
#include "sheets/xml_names.h"
#include "sheets/zip_package.h"

namespace sheets {

namespace {

using engine::Result;
using engine::Status;

using xml::attribute;
using xml::child;
using xml::local;

// The text of every <t> below `node`, leaving out phonetic runs (<rPh>).
void appendTexts(pugi::xml_node node, std::string& out)
{
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element)
            continue;
        const std::string_view name = local(c.name());
        if (name == "t")
            out += c.child_value();
        else if (name != "rPh" && name != "phoneticPr")
            appendTexts(c, out);
    }
}

// Parses a part of the package; a missing or malformed part is damage.
Status loadXml(const ZipPackage& zip, const std::string& name, const std::string& path, pugi::xml_document& doc)
{
    auto bytes = zip.read(name);
    if (!bytes.ok())
        return bytes.error();
    const pugi::xml_parse_result parsed = doc.load_buffer(bytes->data(), bytes->size(), pugi::parse_default);
    if (!parsed)
        return damaged(path, name + ": XML error at byte " + std::to_string(parsed.offset));
    return {};
}

// "worksheets/sheet1.xml" relative to "xl/", or "/xl/worksheets/sheet1.xml".
std::string resolveTarget(const std::string& base, std::string target)
{
    if (!target.empty() && target[0] == '/')
        return target.substr(1);
    std::string folder = base;
    while (target.rfind("../", 0) == 0) {
        target.erase(0, 3);
        if (!folder.empty())
            folder.pop_back();
        const std::size_t slash = folder.rfind('/');
        folder = slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
    }
    return folder + target;
}

// The relationships of a part: Id -> resolved target.
std::map<std::string, std::string> relationships(const ZipPackage& zip, const std::string& relsName,
                                                 const std::string& base)
{
    std::map<std::string, std::string> out;
    pugi::xml_document doc;
    auto bytes = zip.read(relsName);
    if (!bytes.ok() || !doc.load_buffer(bytes->data(), bytes->size()))
        return out;
    const pugi::xml_node root = doc.document_element();
    for (pugi::xml_node r = root.first_child(); r; r = r.next_sibling())
        if (local(r.name()) == "Relationship" && std::string_view(attribute(r, "TargetMode").value()) != "External")
            out[attribute(r, "Id").value()] = resolveTarget(base, attribute(r, "Target").value());
    return out;
}

// "B7" -> row 7, column 2; either part may be missing ("B" or "7" are not
// written by anyone, but nothing is assumed).
bool splitReference(std::string_view ref, std::int64_t& row, std::int64_t& col)
{
    std::size_t i = 0;
    while (i < ref.size() && std::isalpha(static_cast<unsigned char>(ref[i])))
        ++i;
    col = columnNumber(ref.substr(0, i));
    row = 0;
    const std::size_t digits = i;
    for (; i < ref.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(ref[i])))
            return false;
        row = row * 10 + (ref[i] - '0');
        if (row > kMaxRows)
            return false;
    }
    return col > 0 && i > digits && row > 0;
}

std::string cellWhere(const std::string& part, std::int64_t row, std::int64_t col)
{
    return part + ": cell " + cellAddress(row, col);
}

Status readSheet(const ZipPackage& zip, const std::string& part, const std::string& path,
                 const std::vector<std::string>& shared, Worksheet& ws, std::int64_t& cellsLeft)
{
    pugi::xml_document doc;
    if (Status s = loadXml(zip, part, path, doc); !s.ok())
        return s;
    const pugi::xml_node data = child(doc.document_element(), "sheetData");
    if (!data)
        return damaged(path, part + ": no sheetData");
    std::int64_t row = 0;
    for (pugi::xml_node r = data.first_child(); r; r = r.next_sibling()) {
        if (r.type() != pugi::node_element || local(r.name()) != "row")
            continue;
        const pugi::xml_attribute rowAttr = attribute(r, "r");
        if (rowAttr) {
            const long long n = std::atoll(rowAttr.value());
            if (n < 1 || n > kMaxRows)
                return damaged(path, part + ": row " + rowAttr.value());
            row = n;
        } else {
            ++row;
            if (row > kMaxRows)
                return tooLarge(path, part + ": more than " + std::to_string(kMaxRows) + " rows");
        }
        std::int64_t col = 0;
        for (pugi::xml_node c = r.first_child(); c; c = c.next_sibling()) {
            if (c.type() != pugi::node_element || local(c.name()) != "c")
                continue;
            const pugi::xml_attribute refAttr = attribute(c, "r");
            if (refAttr) {
                std::int64_t refRow = 0;
                if (!splitReference(refAttr.value(), refRow, col))
                    return damaged(path, part + ": cell " + refAttr.value());
                if (refRow != row)
                    return damaged(path, part + ": cell " + refAttr.value() + " in row " + std::to_string(row));
            } else if (++col > kMaxColumns) {
                return tooLarge(path, part + ": row " + std::to_string(row) + " has more than " +
                                          std::to_string(kMaxColumns) + " columns");
            }
            const std::string_view type = attribute(c, "t").value();
            const pugi::xml_node v = child(c, "v");
            std::string text;
            if (type == "inlineStr") {
                appendTexts(child(c, "is"), text);
            } else if (!v || *v.child_value() == '\0') {
                continue;  // a styled cell, or a formula never calculated
            } else if (type == "s") {
                // child_value() is the document's own null-terminated text.
                const char* value = v.child_value();
                char* end = nullptr;
                const long long index = std::strtoll(value, &end, 10);
                if (end == value || *end != '\0' || index < 0 || index >= static_cast<long long>(shared.size()))
                    return damaged(path, cellWhere(part, row, col) + ": shared string " + std::string(value) +
                                             " of " + std::to_string(shared.size()));
                text = shared[static_cast<std::size_t>(index)];
            } else if (type == "b") {
                text = std::string_view(v.child_value()) == "1" ? "TRUE" : "FALSE";
            } else if (type == "str" || type == "e" || type == "d") {
                text = v.child_value();
            } else {
                double number = 0;
                if (!engine::parseDecimal(v.child_value(), number))
                    return damaged(path, cellWhere(part, row, col) + ": number " + v.child_value());
                text = numberCellText(number);
            }
            if (text.empty())
                continue;
            if (--cellsLeft < 0)
                return tooLarge(path, part + ": more than " + std::to_string(kMaxCells) + " cells");
            ws.setText(row, col, std::move(text));
        }
    }
    ws.finish();
    return {};
}

} // namespace

Result<Workbook> XlsxReader::read(const std::string& path) const
{
    auto bytes = engine::readWholeFile(path, engine::FileLimit::kSpreadsheet);
    if (!bytes.ok())
        return bytes.error();
    return readBytes(std::move(*bytes), path);
}

Result<Workbook> XlsxReader::readBytes(std::string bytes, const std::string& path)
{
    ZipPackage zip;
    if (Status s = zip.open(std::move(bytes), path); !s.ok())
        return s;

    // The package relationships name the workbook part; xl/workbook.xml
    // when they do not.
    std::string workbookPart = "xl/workbook.xml";
    for (const auto& [id, target] : relationships(zip, "_rels/.rels", ""))
        if (target.size() > 4 && target.substr(target.size() - 4) == ".xml" && zip.has(target) &&
            target.find("workbook") != std::string::npos)
            workbookPart = target;
    const std::size_t slash = workbookPart.rfind('/');
    const std::string base = slash == std::string::npos ? std::string() : workbookPart.substr(0, slash + 1);
    const std::string relsName = base + "_rels/" + workbookPart.substr(base.size()) + ".rels";

    pugi::xml_document workbookDoc;
    if (Status s = loadXml(zip, workbookPart, path, workbookDoc); !s.ok())
        return s;
    const auto rels = relationships(zip, relsName, base);

    // Shared strings: optional (a workbook of numbers has none).
    std::vector<std::string> shared;
    std::string sharedPart = base + "sharedStrings.xml";
    for (const auto& [id, target] : rels)
        if (target.find("sharedStrings") != std::string::npos)
            sharedPart = target;
    if (zip.has(sharedPart)) {
        pugi::xml_document sst;
        if (Status s = loadXml(zip, sharedPart, path, sst); !s.ok())
            return s;
        for (pugi::xml_node si = sst.document_element().first_child(); si; si = si.next_sibling()) {
            if (si.type() != pugi::node_element || local(si.name()) != "si")
                continue;
            std::string text;
            appendTexts(si, text);
            shared.push_back(std::move(text));
            if (static_cast<std::int64_t>(shared.size()) > kMaxCells)
                return tooLarge(path, sharedPart);
        }
    }

    Workbook book;
    book.path = path;
    const pugi::xml_node sheetsNode = child(workbookDoc.document_element(), "sheets");
    if (!sheetsNode)
        return damaged(path, workbookPart + ": no sheets");
    std::int64_t cellsLeft = kMaxCells;
    int index = 0;
    for (pugi::xml_node s = sheetsNode.first_child(); s; s = s.next_sibling()) {
        if (s.type() != pugi::node_element || local(s.name()) != "sheet")
            continue;
        ++index;
        const std::string name = attribute(s, "name").value();
        const std::string id = attribute(s, "id").value();
        const auto target = rels.find(id);
        std::string part = target != rels.end() ? target->second : base + "worksheets/sheet" + std::to_string(index) + ".xml";
        if (!zip.has(part))
            return damaged(path, "worksheet " + name + ": " + part + ": missing");
        // Chart sheets and dialog sheets hold no cells.
        if (part.find("chartsheets/") != std::string::npos || part.find("dialogsheets/") != std::string::npos)
            continue;
        Worksheet ws(name);
        if (Status st = readSheet(zip, part, path, shared, ws, cellsLeft); !st.ok())
            return st;
        book.sheets.push_back(std::move(ws));
    }
    if (book.sheets.empty())
        return damaged(path, workbookPart + ": no worksheet");
    return book;
}

} // namespace sheets
