#include "project/project_file.h"

#include "engine/date_format.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string_view>

#include "engine/file_io.h"
#include "engine/text_encoding.h"
#include "engine/units.h"
#include "engine/paths.h"
#include "project/foreign_project.h"
#include "project/legacy_project.h"
#include "project/limits.h"
#include "project/project_binding.h"
#include "project/xml_document.h"

namespace project_io {

namespace {

using engine::Msg;
namespace PartCol = engine::PartCol;
namespace SheetCol = engine::SheetCol;

std::string trimmed(std::string_view s)
{
    size_t b = 0;
    size_t e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ')
        --e;
    return std::string(s.substr(b, e - b));
}

std::string trimmedRight(std::string_view s)
{
    size_t e = s.size();
    while (e > 0 && static_cast<unsigned char>(s[e - 1]) <= ' ')
        --e;
    return std::string(s.substr(0, e));
}

// ---- reading ----

// Thrown inside ReadProjectDocument only, where one guard turns any failure
// into -1; it never leaves this file. `where` names the element (its path
// from `job`, items numbered from 1) and the value found there, for the
// message.
struct ReadFailure {
    std::string where;
};

std::string quoted(const std::string& value)
{
    // A long value is cut: the message needs to show which it is, not all of it.
    constexpr size_t kShown = 40;
    return "'" + (value.size() > kShown ? value.substr(0, kShown) + "..." : value) + "'";
}

void require(bool ok, const std::string& where, const std::string& value)
{
    if (!ok)
        throw ReadFailure{where + " = " + quoted(value)};
}

std::int32_t requiredInt(const std::string& text, const std::string& where)
{
    std::int32_t v = 0;
    require(engine::parseInteger(text, v), where, text);
    return v;
}

// The `count` of a list: required, not negative, and small enough to be real.
int requiredCount(const std::optional<std::string>& text, const std::string& where)
{
    if (!text)
        throw ReadFailure{where + " (missing)"};
    const std::int32_t k = requiredInt(*text, where);
    require(k >= 0 && k <= kMaxDocumentItems, where, *text);
    return k;
}

std::string itemName(const char* list, const char* item, int i)
{
    return std::string(list) + "/" + item + "[" + std::to_string(i + 1) + "]";
}

std::optional<std::string> countOf(const auto& list)
{
    if (!list.count.present())
        return std::nullopt;
    return list.count.get();
}

// Walks `k` items of a list; the item after the last one present fails the
// read, so a count larger than the list never reads past its end.
template <class List, class Fn>
void forEachItem(const List& list, int k, const char* listName, const char* itemTag, Fn&& fn)
{
    auto cursor = list.items();
    for (int i = 0; i < k; ++i) {
        auto item = cursor.next();
        if (!item)
            throw ReadFailure{itemName(listName, itemTag, i) + " (missing; count = " + std::to_string(k) + ")"};
        fn(*item, i);
    }
}

void readDetails(XmlVelmRoot& root, XmlJob& job, engine::Project& project, int& unit)
{
    project.details.author = root.author.get();
    const std::string measure = job.measure.get();
    unit = requiredInt(measure, "job/measure");
    // A unit outside the six known ones would turn every length into 0.
    require(unit >= 0 && unit <= 5, "job/measure", measure);
    project.details.coverTitle = job.cover_title.get();
    project.details.clientName = job.client_name.get();
    project.details.clientSurname = job.client_surname.get();

    const std::string address = job.client_address.get();
    std::array<std::string, 3> lines;
    size_t start = 0;
    for (size_t i = 0; i < lines.size() && start <= address.size(); ++i) {
        size_t end = address.find('\n', start);
        if (end == std::string::npos)
            end = address.size();
        std::string line = address.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines[i] = i < 2 ? trimmedRight(line) : line;
        start = end + 1;
    }
    project.details.clientAddress = lines;
    project.report.clear();
    project.details.clientPhone = job.client_phone.get();
    project.details.clientNote = job.client_note.get();
}

void readStats(const XmlStats& stats, engine::ProjectStats& out)
{
    out.parts = stats.parts.get();
    out.used_parts = stats.used_parts.get();
    out.used_sheets = stats.used_sheets.get();
    out.part_area = stats.part_area.get();
    out.average_yield = stats.average_yield.get();
    out.last_sheet_yield = stats.last_sheet_yield.get();
    out.cut_length = stats.cut_length.get();
    out.banding_length = stats.banding_length.get();
}

void readSheets(const XmlTabSheetsType& list, bool addMode, engine::Project& project)
{
    const int k = requiredCount(countOf(list), "tab_sheets/@count");
    if (!addMode)
        project.sheets.clear();
    forEachItem(list, k, "tab_sheets", "sheet", [&](const XmlSheetType& s, int) {
        project.sheets.appendRow({"", s.len.get(), s.wid.get(), s.qty.get(), s.descr.get()});
    });
}

void readBand(const XmlBand& band, int edge, std::vector<std::string>& row)
{
    row[static_cast<size_t>(PartCol::Band + edge)] = band.val.get();
    row[static_cast<size_t>(PartCol::Thickness + edge)] = band.th.get();
    row[static_cast<size_t>(PartCol::Sign + edge)] = band.sg.get();
}

void readParts(const XmlTabPartsType& list, bool addMode, engine::Project& project)
{
    const int k = requiredCount(countOf(list), "tab_parts/@count");
    if (!addMode)
        project.parts.clear();
    project.input.totalParts = 0;
    forEachItem(list, k, "tab_parts", "part", [&](const XmlPartType& p, int i) {
        std::vector<std::string> row(static_cast<size_t>(PartCol::Count));
        row[PartCol::Len] = p.len.get();
        row[PartCol::Wid] = p.wid.get();
        row[PartCol::Qty] = p.qty.get();
        const std::int32_t qty = requiredInt(row[PartCol::Qty], itemName("tab_parts", "part", i) + "/qty");
        row[PartCol::Ini] = p.ini.get();
        row[PartCol::Rot] = p.rot.get();
        readBand(p.bl1.get(), 0, row);
        readBand(p.bl2.get(), 1, row);
        readBand(p.bw1.get(), 2, row);
        readBand(p.bw2.get(), 3, row);
        project.parts.appendRow(row);
        project.input.totalParts += qty;
    });
}

void readResult(const XmlDiagrams& diagrams, engine::CuttingResult& result)
{
    const XmlElementsType elements = diagrams.elements.get();
    const int ke = requiredCount(countOf(elements), "diagrams/elements/@count");
    result.elements.clear();
    result.groups.clear();
    result.sheetRowUsage.clear();
    forEachItem(elements, ke, "elements", "e", [&](const XmlElemType& e, int i) {
        const std::string at = itemName("elements", "e", i) + "/";
        engine::PlacedElement p;
        p.tnb = requiredInt(e.tnb.get(), at + "tnb");
        p.x = requiredInt(e.x.get(), at + "x");
        p.y = requiredInt(e.y.get(), at + "y");
        p.x1 = requiredInt(e.x1.get(), at + "x1");
        p.y1 = requiredInt(e.y1.get(), at + "y1");
        p.rot = requiredInt(e.rot.get(), at + "rot");
        p.enb = requiredInt(e.enb.get(), at + "enb");
        result.elements.push_back(p);
    });

    const XmlOffcutsType offcuts = diagrams.offcuts.get();
    const int ko = requiredCount(countOf(offcuts), "diagrams/offcuts/@count");
    result.offcuts.clear();
    forEachItem(offcuts, ko, "offcuts", "o", [&](const XmlOffcutType& o, int i) {
        const std::string at = itemName("offcuts", "o", i) + "/";
        engine::Offcut c;
        c.tnb = requiredInt(o.tnb.get(), at + "tnb");
        c.x = requiredInt(o.x.get(), at + "x");
        c.y = requiredInt(o.y.get(), at + "y");
        c.x1 = requiredInt(o.x1.get(), at + "x1");
        c.y1 = requiredInt(o.y1.get(), at + "y1");
        result.offcuts.push_back(c);
    });
}

// One SheetInstance per physical sheet of every sheet row, as the run builds
// them, so that a stored result can be drawn without a new run.
void rebuildSheetInstances(engine::Project& project, int unit)
{
    const engine::LengthUnit u = engine::lengthUnitFromInt(unit);
    std::vector<std::int32_t> quantities;
    long long total = 0;
    for (int r = 1; r <= project.sheetRowCount(); ++r) {
        const std::string& qty = project.sheets.cell(r, SheetCol::Qty);
        const std::string where = itemName("tab_sheets", "sheet", r - 1) + "/qty";
        const std::int32_t q = requiredInt(qty, where);
        quantities.push_back(q);
        if (q > 0)
            total += q;
        require(total <= kMaxSheetInstances, where, qty);
    }
    std::vector<engine::SheetInstance> list;
    list.reserve(static_cast<size_t>(total));
    for (int r = 1; r <= project.sheetRowCount(); ++r) {
        const std::int32_t q = quantities[static_cast<size_t>(r - 1)];
        const engine::Length len = engine::ParseLength(u, project.sheets.cell(r, SheetCol::Len));
        const engine::Length wid = engine::ParseLength(u, project.sheets.cell(r, SheetCol::Wid));
        for (std::int32_t i = 0; i < q; ++i)
            list.push_back({len, wid, q, static_cast<std::int32_t>(list.size()) + 1, r});
    }
    project.input.sheets = std::move(list);
}

// ---- opening ----

// A cell that reads as a length in the file's unit is rewritten in the
// current unit; anything else (an empty band thickness) stays as it is.
void convertCell(engine::TextTable& table, int row, int col, engine::LengthUnit from, engine::LengthUnit to)
{
    const std::string& text = table.cell(row, col);
    const engine::Length v = engine::ParseLength(from, text);
    if (v == -1)
        return;
    table.setCell(row, col, engine::FormatLength(v, to));
}

void convertRows(engine::Project& project, int firstSheetRow, int firstPartRow, int fileUnit, int currentUnit)
{
    const auto from = engine::lengthUnitFromInt(fileUnit);
    const auto to = engine::lengthUnitFromInt(currentUnit);
    for (int r = firstSheetRow; r <= project.sheetRowCount(); ++r) {
        convertCell(project.sheets, r, SheetCol::Len, from, to);
        convertCell(project.sheets, r, SheetCol::Wid, from, to);
    }
    for (int r = firstPartRow; r <= project.partRowCount(); ++r) {
        convertCell(project.parts, r, PartCol::Len, from, to);
        convertCell(project.parts, r, PartCol::Wid, from, to);
        for (int e = 0; e < 4; ++e)
            convertCell(project.parts, r, PartCol::Thickness + e, from, to);
    }
}

enum class FileKind { Unknown, Foreign, Document, Xml };

// The root element's name of an XML text, or empty when the text does not
// start like an XML document. Only the start is looked at: the reader
// checks the rest.
std::string xmlRootName(std::string_view bytes)
{
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    size_t i = 0;
    for (;;) {
        while (i < bytes.size() && std::isspace(static_cast<unsigned char>(bytes[i])))
            ++i;
        if (i >= bytes.size() || bytes[i] != '<')
            return {};
        if (bytes.substr(i, 2) == "<?" || bytes.substr(i, 4) == "<!--" || bytes.substr(i, 2) == "<!") {
            const std::string_view close = bytes.substr(i, 4) == "<!--" ? "-->" : ">";
            const size_t end = bytes.find(close, i);
            if (end == std::string_view::npos)
                return {};
            i = end + close.size();
            continue;
        }
        size_t e = i + 1;
        while (e < bytes.size() && !std::isspace(static_cast<unsigned char>(bytes[e])) && bytes[e] != '>'
               && bytes[e] != '/')
            ++e;
        return std::string(bytes.substr(i + 1, e - i - 1));
    }
}

// A Quillon file: four header lines, then records of which at least one is
// a stock sheet ("tab_1" on a line of its own).
bool looksForeign(std::string_view bytes)
{
    int line = 0;
    size_t start = 0;
    while (start < bytes.size() && line < kMaxQuillonPieces) {
        size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos)
            end = bytes.size();
        if (line >= 4 && trimmed(bytes.substr(start, end - start)) == "tab_1")
            return true;
        start = end + 1;
        ++line;
    }
    return false;
}

// The extension decides in any case (".VLP", ".Vlp"); a name without one of
// the three known extensions ("job.vlp.bak", "job.txt") is judged by its
// content, so that no file is ever taken for an empty project.
FileKind kindOf(const std::string& fileName, std::string_view bytes)
{
    const std::string ext = engine::lowerExtension(fileName);
    if (ext == ".qln")
        return FileKind::Foreign;
    if (ext == ".vlp")
        return FileKind::Document;
    if (ext == ".xml")
        return FileKind::Xml;
    if (!bytes.empty() && bytes[0] == 'V')
        return FileKind::Document;  // the old text project, by its first byte
    if (xmlRootName(bytes) == "velm_root")
        return FileKind::Document;
    if (looksForeign(bytes))
        return FileKind::Foreign;
    return FileKind::Unknown;
}

// ---- saving ----

// A template is the document's structure only: rows it holds would come
// before the project's own and shift the items every `count` promises.
void dropTemplateRows(const XmlNode& root)
{
    const XmlNode data = root.findChild("job").findChild("data");
    const std::pair<XmlNode, const char*> lists[] = {
        {data.findChild("tab_sheets"), "sheet"},
        {data.findChild("tab_parts"), "part"},
        {data.findChild("diagrams").findChild("elements"), "e"},
        {data.findChild("diagrams").findChild("offcuts"), "o"},
    };
    for (const auto& [list, item] : lists)
        while (list.removeItem(item, 0)) {
        }
}

void writeBand(const XmlBand& band, const engine::TextTable& parts, int row, int edge)
{
    band.val.set(parts.cell(row, PartCol::Band + edge));
    band.th.set(parts.cell(row, PartCol::Thickness + edge));
    band.sg.set(parts.cell(row, PartCol::Sign + edge));
}

void fillDocument(XmlVelmRoot& root, const engine::Project& project, const engine::Settings& settings)
{
    const engine::ProjectDetails& d = project.details;
    root.version.set("1.3");
    root.type.set("Pro");
    root.author.set(d.author);
    root.company.set(settings.CompanyName);
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    root.date_time.set(formatSaveDateTime(settings.DateFormat, local));

    const XmlJob job = root.job.get();
    job.measure.set(std::to_string(settings.JedMere));
    job.cover_title.set(d.coverTitle);
    job.client_name.set(d.clientName);
    job.client_surname.set(d.clientSurname);
    job.client_address.set(d.clientAddress[0] + "\n" + d.clientAddress[1] + "\n" + d.clientAddress[2]);
    job.client_phone.set(d.clientPhone);
    job.client_note.set(d.clientNote);
    job.price1.set(engine::formatGeneral(static_cast<double>(settings.CENA1), 8));
    job.price2.set(engine::formatGeneral(static_cast<double>(settings.CENA2), 8));
    job.price3.set(engine::formatGeneral(static_cast<double>(settings.CENA3), 8));

    const XmlData data = job.data.get();
    const XmlStats stats = data.stats.get();
    const engine::ProjectStats& s = project.result.stats;
    stats.parts.set(s.parts);
    stats.used_parts.set(s.used_parts);
    stats.used_sheets.set(s.used_sheets);
    stats.part_area.set(s.part_area);
    stats.average_yield.set(s.average_yield);
    stats.last_sheet_yield.set(s.last_sheet_yield);
    stats.cut_length.set(s.cut_length);
    stats.banding_length.set(s.banding_length);

    const XmlTabSheetsType sheets = data.tab_sheets.get();
    sheets.count.set(std::to_string(project.sheetRowCount()));
    for (int r = 1; r <= project.sheetRowCount(); ++r) {
        const XmlSheetType sheet = sheets.add();
        sheet.len.set(project.sheets.cell(r, SheetCol::Len));
        sheet.wid.set(project.sheets.cell(r, SheetCol::Wid));
        sheet.qty.set(project.sheets.cell(r, SheetCol::Qty));
        sheet.descr.set(project.sheets.cell(r, SheetCol::Descr));
    }

    const XmlTabPartsType parts = data.tab_parts.get();
    parts.count.set(std::to_string(project.partRowCount()));
    for (int r = 1; r <= project.partRowCount(); ++r) {
        const XmlPartType part = parts.add();
        part.len.set(project.parts.cell(r, PartCol::Len));
        part.wid.set(project.parts.cell(r, PartCol::Wid));
        part.qty.set(project.parts.cell(r, PartCol::Qty));
        part.ini.set(project.parts.cell(r, PartCol::Ini));
        part.rot.set(project.parts.cell(r, PartCol::Rot));
        writeBand(part.bl1.get(), project.parts, r, 0);
        writeBand(part.bl2.get(), project.parts, r, 1);
        writeBand(part.bw1.get(), project.parts, r, 2);
        writeBand(part.bw2.get(), project.parts, r, 3);
    }

    const XmlDiagrams diagrams = data.diagrams.get();
    const XmlElementsType elements = diagrams.elements.get();
    elements.count.set(std::to_string(project.result.elements.size()));
    for (const engine::PlacedElement& p : project.result.elements) {
        const XmlElemType e = elements.add();
        e.tnb.set(std::to_string(p.tnb));
        e.x.set(std::to_string(p.x));
        e.y.set(std::to_string(p.y));
        e.x1.set(std::to_string(p.x1));
        e.y1.set(std::to_string(p.y1));
        e.rot.set(std::to_string(p.rot));
        e.enb.set(std::to_string(p.enb));
    }
    const XmlOffcutsType offcuts = diagrams.offcuts.get();
    offcuts.count.set(std::to_string(project.result.offcuts.size()));
    for (const engine::Offcut& c : project.result.offcuts) {
        const XmlOffcutType o = offcuts.add();
        o.tnb.set(std::to_string(c.tnb));
        o.x.set(std::to_string(c.x));
        o.y.set(std::to_string(c.y));
        o.x1.set(std::to_string(c.x1));
        o.y1.set(std::to_string(c.y1));
    }
}

} // namespace

std::string formatSaveDateTime(const std::string& dateFormat, const std::tm& when)
{
    return engine::FormatDateTime(dateFormat, when) + " " + engine::FormatDateTime("hh:nn:ss", when);
}

std::string projectTemplatePath(const std::string& programFolder)
{
    std::string folder = programFolder;
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder + "Config/template.vlp";
}

engine::Status SaveProject(const std::string& fileName, const engine::Project& project,
                           const engine::Settings& settings, const std::string& programFolder)
{
    const engine::Status failed(Msg::CannotSaveProject, {fileName});
    if (trimmed(fileName).empty())
        return engine::Status(Msg::CannotSaveProject, {fileName}, Msg::FolderNotWritable);
    // The template is filled in memory and the result replaces the target in
    // one rename: copying the template over the target first, as a plain
    // copy-then-fill would, destroys the old project when the fill fails.
    XmlDocument doc;
    if (doc.load(projectTemplatePath(programFolder), engine::FileLimit::kTemplate) != XmlError::None)
        return engine::Status(Msg::CannotSaveProject, {fileName}, Msg::TemplateUnusable);
    std::optional<XmlVelmRoot> root = getVelmRoot(doc);
    if (!root)
        return engine::Status(Msg::CannotSaveProject, {fileName}, Msg::TemplateUnusable);
    try {
        dropTemplateRows(doc.root());
        fillDocument(*root, project, settings);
    } catch (const std::bad_alloc&) {
        return failed;
    }
    if (doc.saveAs(fileName) != XmlError::None)
        return engine::becauseOf(Msg::CannotSaveProject, {fileName}, doc.problem());
    return {};
}

namespace {

ReadOutcome readDocument(XmlDocument& doc, XmlError loaded, const std::string& fileName, bool addMode,
                         engine::Project& project)
{
    if (loaded == XmlError::CannotOpen)
        return {-1, engine::becauseOf(Msg::CannotOpenProject, {fileName}, doc.problem())};
    if (loaded != XmlError::None)
        return {-1, engine::Status(Msg::CannotReadProject, {fileName, doc.errorDetail()})};
    std::optional<XmlVelmRoot> root = getVelmRoot(doc);
    if (!root)
        return {-1, engine::Status(Msg::CannotReadProject, {fileName, "<" + doc.root().tag() + ">"})};

    int unit = -1;
    try {
        XmlJob job = root->job.get();
        readDetails(*root, job, project, unit);
        const XmlData data = job.data.get();
        readStats(data.stats.get(), project.result.stats);
        readSheets(data.tab_sheets.get(), addMode, project);
        readParts(data.tab_parts.get(), addMode, project);
        readResult(data.diagrams.get(), project.result);
        rebuildSheetInstances(project, unit);
    } catch (const ReadFailure& f) {
        return {-1, engine::Status(Msg::CannotReadProject, {fileName, f.where})};
    } catch (const std::bad_alloc&) {
        return {-1, engine::Status(Msg::CannotReadProject, {fileName})};
    }
    return {unit, {}};
}

} // namespace

ReadOutcome ReadProjectDocument(const std::string& fileName, bool addMode, engine::Project& project,
                                const engine::Settings&)
{
    XmlDocument doc;
    const XmlError loaded = doc.load(fileName);
    return readDocument(doc, loaded, fileName, addMode, project);
}

OpenOutcome OpenProject(const std::string& fileName, bool addMode, engine::Project& project,
                        const engine::Settings& settings)
{
    OpenOutcome outcome;
    // The file is read once, for reading only: on this system a read-only
    // file is not a locked one, and asking for write access would refuse it.
    const engine::Result<std::string> bytes = engine::readWholeFile(fileName, engine::FileLimit::kProject);
    if (!bytes.ok()) {
        outcome.status = engine::becauseOf(Msg::CannotOpenProject, {fileName}, bytes.error());
        return outcome;
    }
    const FileKind kind = kindOf(fileName, *bytes);
    if (kind == FileKind::Unknown) {
        // Nothing changes: no reader would run, and an empty project must
        // never stand in for a file that was not understood.
        outcome.status = engine::Status(Msg::UnknownFileKind, {fileName});
        return outcome;
    }

    project.fileName = fileName;
    if (!addMode)
        project.clearTables();
    int firstSheetRow = project.sheetRowCount() + 1;
    int firstPartRow = project.partRowCount() + 1;

    ReadOutcome read;
    std::size_t replaced = 0;
    const bool legacy = kind == FileKind::Document && !bytes->empty() && (*bytes)[0] == 'V';
    // A file within its size limit may still hold more than memory: that is
    // a file that cannot be read, said with its name.
    try {
        switch (kind) {
        case FileKind::Foreign:
            replaced = engine::decodeTextFile(*bytes).replaced;
            read = readForeignProjectText(*bytes, project);
            if (!read.status.ok())
                read.status.args = {fileName};
            break;
        case FileKind::Document:
            if (legacy) {
                replaced = engine::decodeTextFile(*bytes).replaced;
                read = readLegacyProjectText(*bytes, addMode, project, settings);
                if (!read.status.ok())
                    read.status.args.insert(read.status.args.begin(), fileName);
            } else {
                XmlDocument doc;
                const XmlError loaded = doc.loadFromText(*bytes);
                replaced = doc.replacedBytes();
                read = readDocument(doc, loaded, fileName, addMode, project);
            }
            break;
        case FileKind::Xml: {
            // An XML file always replaces the rows, even for the add command, so
            // all of them are new and in the file's unit.
            XmlDocument doc;
            const XmlError loaded = doc.loadFromText(*bytes);
            replaced = doc.replacedBytes();
            read = readDocument(doc, loaded, fileName, false, project);
            firstSheetRow = 1;
            firstPartRow = 1;
            break;
        }
        case FileKind::Unknown:
            break;
        }
    } catch (const std::bad_alloc&) {
        read = ReadOutcome{-1, engine::Status(Msg::CannotReadProject, {fileName})};
    }
    if (replaced > 0)
        outcome.warnings.emplace_back(Msg::TextBytesReplaced, std::vector<std::string>{fileName, std::to_string(replaced)});

    if (read.unit < 0) {
        outcome.status = read.status.ok() ? engine::Status(Msg::CannotReadProject, {fileName}) : read.status;
    } else {
        if (!read.status.ok())
            outcome.warnings.push_back(read.status);
        // After a failed read there is no file unit, so the rows read
        // before the failure stay as they were read.
        if (read.unit != settings.JedMere)
            convertRows(project, firstSheetRow, firstPartRow, read.unit, settings.JedMere);
    }

    project.recomputeTotals();

    outcome.showResults = outcome.status.ok() && !addMode && kind == FileKind::Document
        && project.sheetRowCount() > 0 && project.partRowCount() > 0 && !project.result.elements.empty()
        && !settings.LoadSema;
    return outcome;
}

} // namespace project_io
