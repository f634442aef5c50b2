#include "project/project_file.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string_view>

#include <fcntl.h>
#include <unistd.h>

#include "engine/units.h"
#include "project/foreign_project.h"
#include "project/legacy_project.h"
#include "project/project_binding.h"
#include "project/xml_document.h"

namespace project_io {

namespace {

using engine::Msg;
namespace PartCol = engine::PartCol;
namespace SheetCol = engine::SheetCol;

constexpr std::array<const char*, 12> kMonthShort = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::array<const char*, 12> kMonthLong = {"January", "February", "March",     "April",
                                                    "May",     "June",     "July",      "August",
                                                    "September", "October", "November", "December"};
constexpr std::array<const char*, 7> kDayShort = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr std::array<const char*, 7> kDayLong = {"Sunday", "Monday", "Tuesday", "Wednesday",
                                                 "Thursday", "Friday", "Saturday"};

std::string twoDigits(int v)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", v);
    return buf;
}

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
// into -1; it never leaves this file.
struct ReadFailure {};

void require(bool ok)
{
    if (!ok)
        throw ReadFailure{};
}

std::int32_t requiredInt(const std::string& text)
{
    std::int32_t v = 0;
    require(engine::parseInteger(text, v));
    return v;
}

// The `count` of a list: required, not negative, and small enough to be real.
int requiredCount(const std::optional<std::string>& text)
{
    require(text.has_value());
    const std::int32_t k = requiredInt(*text);
    require(k >= 0 && k <= kMaxDocumentItems);
    return k;
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
void forEachItem(const List& list, int k, Fn&& fn)
{
    auto cursor = list.items();
    for (int i = 0; i < k; ++i) {
        auto item = cursor.next();
        require(item.has_value());
        fn(*item);
    }
}

void readDetails(XmlVelmRoot& root, XmlJob& job, engine::Project& project, int& unit)
{
    project.details.author = root.author.get();
    unit = requiredInt(job.measure.get());
    // A unit outside the six known ones would turn every length into 0.
    require(unit >= 0 && unit <= 5);
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
    const int k = requiredCount(countOf(list));
    if (!addMode)
        project.sheets.clear();
    forEachItem(list, k, [&](const XmlSheetType& s) {
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
    const int k = requiredCount(countOf(list));
    if (!addMode)
        project.parts.clear();
    project.input.totalParts = 0;
    forEachItem(list, k, [&](const XmlPartType& p) {
        std::vector<std::string> row(static_cast<size_t>(PartCol::Count));
        row[PartCol::Len] = p.len.get();
        row[PartCol::Wid] = p.wid.get();
        row[PartCol::Qty] = p.qty.get();
        const std::int32_t qty = requiredInt(row[PartCol::Qty]);
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
    const int ke = requiredCount(countOf(elements));
    result.elements.clear();
    result.groups.clear();
    result.sheetRowUsage.clear();
    forEachItem(elements, ke, [&](const XmlElemType& e) {
        engine::PlacedElement p;
        p.tnb = requiredInt(e.tnb.get());
        p.x = requiredInt(e.x.get());
        p.y = requiredInt(e.y.get());
        p.x1 = requiredInt(e.x1.get());
        p.y1 = requiredInt(e.y1.get());
        p.rot = requiredInt(e.rot.get());
        p.enb = requiredInt(e.enb.get());
        result.elements.push_back(p);
    });

    const XmlOffcutsType offcuts = diagrams.offcuts.get();
    const int ko = requiredCount(countOf(offcuts));
    result.offcuts.clear();
    forEachItem(offcuts, ko, [&](const XmlOffcutType& o) {
        engine::Offcut c;
        c.tnb = requiredInt(o.tnb.get());
        c.x = requiredInt(o.x.get());
        c.y = requiredInt(o.y.get());
        c.x1 = requiredInt(o.x1.get());
        c.y1 = requiredInt(o.y1.get());
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
        const std::int32_t q = requiredInt(project.sheets.cell(r, SheetCol::Qty));
        quantities.push_back(q);
        if (q > 0)
            total += q;
        require(total <= kMaxSheetInstances);
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

// The extension must match its all-upper or all-lower form exactly.
FileKind kindOf(const std::string& fileName)
{
    const std::string ext = std::filesystem::path(fileName).extension().string();
    if (ext == ".QLN" || ext == ".qln")
        return FileKind::Foreign;
    if (ext == ".VLP" || ext == ".vlp")
        return FileKind::Document;
    if (ext == ".XML" || ext == ".xml")
        return FileKind::Xml;
    return FileKind::Unknown;
}

// ---- saving ----

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
    std::string out;
    const std::string& f = dateFormat;
    size_t i = 0;
    const auto run = [&](char c) {
        size_t n = 0;
        while (i + n < f.size() && std::tolower(static_cast<unsigned char>(f[i + n])) == c)
            ++n;
        return n;
    };
    while (i < f.size()) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(f[i])));
        if (c == 'd') {
            const size_t n = run('d');
            if (n == 1)
                out += std::to_string(when.tm_mday);
            else if (n == 2)
                out += twoDigits(when.tm_mday);
            else if (n == 3)
                out += kDayShort[static_cast<size_t>(when.tm_wday % 7)];
            else
                out += kDayLong[static_cast<size_t>(when.tm_wday % 7)];
            i += n;
        } else if (c == 'm') {
            const size_t n = run('m');
            const auto month = static_cast<size_t>(when.tm_mon % 12);
            if (n == 1)
                out += std::to_string(when.tm_mon + 1);
            else if (n == 2)
                out += twoDigits(when.tm_mon + 1);
            else if (n == 3)
                out += kMonthShort[month];
            else
                out += kMonthLong[month];
            i += n;
        } else if (c == 'y') {
            const size_t n = run('y');
            const int year = when.tm_year + 1900;
            out += n <= 2 ? twoDigits(year % 100) : std::to_string(year);
            i += n;
        } else if (f[i] == '\'' || f[i] == '"') {
            const char quote = f[i++];
            while (i < f.size() && f[i] != quote)
                out += f[i++];
            ++i;
        } else {
            out += f[i++];
        }
    }
    out += ' ' + twoDigits(when.tm_hour) + ':' + twoDigits(when.tm_min) + ':' + twoDigits(when.tm_sec);
    return out;
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
        return failed;
    // The template is filled in memory and the result replaces the target in
    // one rename: copying the template over the target first, as a plain
    // copy-then-fill would, destroys the old project when the fill fails.
    XmlDocument doc;
    if (doc.load(projectTemplatePath(programFolder)) != XmlError::None)
        return failed;
    std::optional<XmlVelmRoot> root = getVelmRoot(doc);
    if (!root)
        return failed;
    try {
        fillDocument(*root, project, settings);
    } catch (const std::bad_alloc&) {
        return failed;
    }
    if (doc.saveAs(fileName) != XmlError::None)
        return failed;
    return {};
}

ReadOutcome ReadProjectDocument(const std::string& fileName, bool addMode, engine::Project& project,
                                const engine::Settings&)
{
    const ReadOutcome failed{-1, engine::Status(Msg::CannotReadProject, {fileName})};
    XmlDocument doc;
    if (doc.load(fileName) != XmlError::None)
        return failed;
    std::optional<XmlVelmRoot> root = getVelmRoot(doc);
    if (!root)
        return failed;

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
    } catch (const ReadFailure&) {
        return failed;
    } catch (const std::bad_alloc&) {
        return failed;
    }
    return {unit, {}};
}

OpenOutcome OpenProject(const std::string& fileName, bool addMode, engine::Project& project,
                        const engine::Settings& settings)
{
    OpenOutcome outcome;
    // The file must open for reading and writing, as it always had to; the
    // handle only gives the first byte.
    int firstByte = -1;
    {
        const int fd = ::open(fileName.c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0) {
            outcome.status = engine::Status(Msg::CannotOpenProject, {fileName});
            return outcome;
        }
        unsigned char c = 0;
        if (::read(fd, &c, 1) == 1)
            firstByte = c;
        ::close(fd);
    }

    project.fileName = fileName;
    if (!addMode)
        project.clearTables();
    int firstSheetRow = project.sheetRowCount() + 1;
    int firstPartRow = project.partRowCount() + 1;

    const FileKind kind = kindOf(fileName);
    ReadOutcome read;
    bool readerRan = true;
    switch (kind) {
    case FileKind::Foreign:
        read = ReadForeignProject(fileName, project, settings);
        break;
    case FileKind::Document:
        read = firstByte == 'V' ? ReadLegacyProject(fileName, addMode, project, settings)
                                : ReadProjectDocument(fileName, addMode, project, settings);
        break;
    case FileKind::Xml:
        // An XML file always replaces the rows, even for the add command, so
        // all of them are new and in the file's unit.
        read = ReadProjectDocument(fileName, false, project, settings);
        firstSheetRow = 1;
        firstPartRow = 1;
        break;
    case FileKind::Unknown:
        readerRan = false;
        break;
    }

    if (readerRan) {
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
    }

    project.recomputeTotals();

    outcome.showResults = readerRan && outcome.status.ok() && !addMode && kind == FileKind::Document
        && project.sheetRowCount() > 0 && project.partRowCount() > 0 && !project.result.elements.empty()
        && !settings.LoadSema;
    return outcome;
}

} // namespace project_io
