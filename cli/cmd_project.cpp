#include "cli/commands.h"

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "engine/paths.h"
#include "engine/project.h"
#include "engine/units.h"
#include "project/project_file.h"

namespace cli {

namespace {

std::string withoutTrailingBlanks(std::string s)
{
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

std::string padded(const std::string& s, size_t width, bool right)
{
    const size_t w = displayWidth(s);
    const std::string fill(w < width ? width - w : 0, ' ');
    return right ? fill + s : s + fill;
}

struct Column {
    std::string title;
    bool right = false;  // numbers are right-aligned, texts left-aligned
};

void printTable(std::ostream& out, const std::vector<Column>& columns, const std::vector<std::vector<std::string>>& rows)
{
    std::vector<size_t> widths;
    for (const Column& c : columns)
        widths.push_back(displayWidth(c.title));
    for (const auto& r : rows)
        for (size_t i = 0; i < r.size() && i < widths.size(); ++i)
            widths[i] = std::max(widths[i], displayWidth(r[i]));

    const auto line = [&](const std::vector<std::string>& cells) {
        std::string text;
        for (size_t i = 0; i < columns.size(); ++i)
            text += "  " + padded(i < cells.size() ? cells[i] : std::string(), widths[i], columns[i].right);
        out << withoutTrailingBlanks(text) << "\n";
    };
    std::vector<std::string> titles;
    for (const Column& c : columns)
        titles.push_back(c.title);
    line(titles);
    for (const auto& r : rows)
        line(r);
}

void printDetails(std::ostream& out, const engine::ProjectDetails& d)
{
    const auto field = [&](const char* name, const std::string& value) {
        out << withoutTrailingBlanks("  " + padded(name, 16, false) + value) << "\n";
    };
    out << "Details\n";
    field("Cover title:", d.coverTitle);
    field("Author:", d.author);
    field("Client name:", d.clientName);
    field("Client surname:", d.clientSurname);
    field("Address:", d.clientAddress[0]);
    field("", d.clientAddress[1]);
    field("", d.clientAddress[2]);
    field("Phone:", d.clientPhone);
    field("Note:", d.clientNote);
}

void printSheets(std::ostream& out, const engine::Project& project, const std::string& unit)
{
    namespace C = engine::SheetCol;
    out << "Sheets (" << project.sheetQtyTotal << ")\n";
    const std::vector<Column> columns = {
        {"#", true}, {"Length" + unit, true}, {"Width" + unit, true}, {"Qty", true}, {"Description", false}};
    std::vector<std::vector<std::string>> rows;
    for (int r = 1; r <= project.sheetRowCount(); ++r)
        rows.push_back({std::to_string(r), project.sheets.cell(r, C::Len), project.sheets.cell(r, C::Wid),
                        project.sheets.cell(r, C::Qty), project.sheets.cell(r, C::Descr)});
    printTable(out, columns, rows);
}

void printParts(std::ostream& out, const engine::Project& project, const std::string& unit)
{
    namespace C = engine::PartCol;
    out << "Parts (" << project.partQtyTotal << ")\n";
    static const char* const kEdges[4] = {"L1", "L2", "W1", "W2"};
    std::vector<Column> columns = {{"#", true},     {"Length" + unit, true}, {"Width" + unit, true},
                                   {"Qty", true},   {"Label", false},        {"Grain", true}};
    for (const char* e : kEdges)
        columns.push_back({std::string("Band ") + e, false});
    for (const char* e : kEdges)
        columns.push_back({std::string("Th ") + e, true});
    for (const char* e : kEdges)
        columns.push_back({std::string("Sg ") + e, true});
    std::vector<std::vector<std::string>> rows;
    for (int r = 1; r <= project.partRowCount(); ++r) {
        std::vector<std::string> cells = {std::to_string(r)};
        for (int c = 1; c < C::Count; ++c)
            cells.push_back(project.parts.cell(r, c));
        rows.push_back(std::move(cells));
    }
    printTable(out, columns, rows);
}

void printStats(std::ostream& out, const engine::Project& project)
{
    const engine::ProjectStats& s = project.result.stats;
    const auto field = [&](const char* name, const std::string& value) {
        out << withoutTrailingBlanks("  " + padded(name, 22, false) + value) << "\n";
    };
    out << "Statistics\n";
    field("Parts entered:", s.parts);
    field("Parts used:", s.used_parts);
    field("Sheets used:", s.used_sheets);
    field("Area of used parts:", s.part_area);
    field("Average yield (%):", s.average_yield);
    field("Last sheet yield (%):", s.last_sheet_yield);
    field("Cut length:", s.cut_length);
    field("Banding length:", s.banding_length);
    field("Placed parts:", std::to_string(project.result.elements.size()));
    field("Offcuts:", std::to_string(project.result.offcuts.size()));
}

// Opens a project as the Open command does (replace mode); warnings go to the
// error stream. Returns false after printing the failure.
bool openProject(Context& ctx, const std::string& fileName, engine::Project& project, int& exitCode)
{
    const project_io::OpenOutcome opened = project_io::OpenProject(fileName, false, project, ctx.settings);
    for (const engine::Status& w : opened.warnings)
        ctx.warn(w);
    if (!opened.status.ok()) {
        exitCode = ctx.fail(opened.status);
        return false;
    }
    return true;
}

} // namespace

int cmdShow(Context& ctx)
{
    if (ctx.args.size() != 1 || (ctx.args[0].size() > 1 && ctx.args[0][0] == '-'))
        return rejectArguments(ctx, "usage: velmora-cli show FILE");
    engine::Project project;
    int exitCode = kExitOk;
    if (!openProject(ctx, ctx.args[0], project, exitCode))
        return exitCode;

    const auto unit = engine::lengthUnitFromInt(ctx.settings.JedMere);
    const std::string label = engine::LengthUnitLabel(unit, true);
    const std::string unitSuffix = label.empty() ? std::string() : " (" + label + ")";
    std::ostream& out = *ctx.out;
    out << "Project: " << ctx.args[0] << "\n\n";
    printDetails(out, project.details);
    out << "\n";
    printSheets(out, project, unitSuffix);
    out << "\n";
    printParts(out, project, unitSuffix);
    out << "\n";
    printStats(out, project);
    return kExitOk;
}

int cmdConvert(Context& ctx)
{
    if (ctx.args.size() != 2 || std::any_of(ctx.args.begin(), ctx.args.end(), [](const std::string& a) {
            return a.size() > 1 && a[0] == '-';
        }))
        return rejectArguments(ctx, "usage: velmora-cli convert IN OUT");
    engine::Project project;
    int exitCode = kExitOk;
    if (!openProject(ctx, ctx.args[0], project, exitCode))
        return exitCode;
    const engine::Status saved = project_io::SaveProject(ctx.args[1], project, ctx.settings, engine::programFolder());
    if (!saved.ok())
        return ctx.fail(saved);
    return kExitOk;
}

} // namespace cli
