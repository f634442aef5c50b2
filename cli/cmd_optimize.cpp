#include "cli/cmd_optimize.h"

#include <cstdlib>
#include <fstream>
#include <ostream>
#include <set>

#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "engine/auto_run.h"
#include "engine/paths.h"
#include "engine/units.h"
#include "project/project_file.h"

namespace cli {

namespace {

using Json = nlohmann::ordered_json;

// Parses --threads N, else $VELMORA_THREADS; 0 means one thread per core.
bool threadCount(Context& ctx, int& threads, std::string& problem)
{
    threads = 0;
    std::string value;
    bool missing = false;
    if (takeOption(ctx, "--threads", value, missing)) {
        if (missing) {
            problem = "--threads needs a number";
            return false;
        }
    } else if (const char* env = std::getenv("VELMORA_THREADS")) {
        value = env;
    } else {
        return true;
    }
    std::int32_t n = 0;
    if (!engine::ParseInteger(value, n) || n < 0) {
        problem = "bad thread count '" + value + "'";
        return false;
    }
    threads = n;
    return true;
}

// Yield figures for the summary, from the engine's footprints: the share of
// the used sheets' area that the parts cover, overall and on the last sheet.
struct Summary {
    std::int64_t sheetsUsed = 0;
    double yield = 0;
    double lastSheetYield = 0;
};

Summary summarize(const engine::Project& project)
{
    Summary s;
    std::set<std::int32_t> used;
    std::int64_t partArea = 0;
    for (const engine::PlacedElement& e : project.result.elements) {
        used.insert(e.tnb);
        partArea += static_cast<std::int64_t>(e.x1 - e.x) * (e.y1 - e.y);
    }
    s.sheetsUsed = static_cast<std::int64_t>(used.size());
    std::int64_t sheetArea = 0;
    const auto& sheets = project.input.sheets;
    for (const std::int32_t tnb : used)
        if (tnb >= 1 && static_cast<size_t>(tnb) <= sheets.size())
            sheetArea += static_cast<std::int64_t>(sheets[static_cast<size_t>(tnb - 1)].len)
                * sheets[static_cast<size_t>(tnb - 1)].wid;
    if (sheetArea > 0)
        s.yield = 100.0 * static_cast<double>(partArea) / static_cast<double>(sheetArea);
    if (!used.empty()) {
        const std::int32_t last = *used.rbegin();
        std::int64_t lastArea = 0;
        for (const engine::PlacedElement& e : project.result.elements)
            if (e.tnb == last)
                lastArea += static_cast<std::int64_t>(e.x1 - e.x) * (e.y1 - e.y);
        const engine::SheetInstance& sh = sheets[static_cast<size_t>(last - 1)];
        const std::int64_t area = static_cast<std::int64_t>(sh.len) * sh.wid;
        if (area > 0)
            s.lastSheetYield = 100.0 * static_cast<double>(lastArea) / static_cast<double>(area);
    }
    return s;
}

std::string percent(double v)
{
    return engine::FormatGeneral(engine::RoundHalfUp(v, -2));
}

} // namespace

std::int64_t placedParts(const engine::Project& project)
{
    return static_cast<std::int64_t>(project.result.elements.size());
}

std::string optimizeJson(const engine::Project& project, const engine::Settings& settings,
                         const engine::AutoRunOutcome& outcome)
{
    namespace PartCol = engine::PartCol;
    namespace SheetCol = engine::SheetCol;
    Json j;
    j["unit"] = settings.JedMere;
    j["attempts"] = outcome.attempts;
    j["best_attempt"] = outcome.bestAttempt;

    Json sheetTable = Json::array();
    for (int r = 1; r <= project.sheets.rowCount(); ++r)
        sheetTable.push_back(Json{{"len", project.sheets.cell(r, SheetCol::Len)},
                                  {"wid", project.sheets.cell(r, SheetCol::Wid)},
                                  {"qty", project.sheets.cell(r, SheetCol::Qty)},
                                  {"descr", project.sheets.cell(r, SheetCol::Descr)}});
    j["sheet_table"] = std::move(sheetTable);

    Json partTable = Json::array();
    for (int r = 1; r <= project.parts.rowCount(); ++r)
        partTable.push_back(Json{{"len", project.parts.cell(r, PartCol::Len)},
                                 {"wid", project.parts.cell(r, PartCol::Wid)},
                                 {"qty", project.parts.cell(r, PartCol::Qty)},
                                 {"ini", project.parts.cell(r, PartCol::Ini)},
                                 {"rot", project.parts.cell(r, PartCol::Rot)}});
    j["part_table"] = std::move(partTable);

    Json sheets = Json::array();
    for (const engine::SheetInstance& s : project.input.sheets)
        sheets.push_back(Json{{"tnb", s.tnb}, {"len", s.len}, {"wid", s.wid}, {"qty", s.rowQty}, {"row", s.row}});
    j["sheets"] = std::move(sheets);

    Json parts = Json::array();
    for (const engine::PartDemand& d : project.input.parts)
        parts.push_back(Json{{"row", d.row}, {"len", d.len}, {"wid", d.wid}, {"qty", d.qty}, {"lock", d.lock}});
    j["parts"] = std::move(parts);

    Json elements = Json::array();
    for (const engine::PlacedElement& e : project.result.elements)
        elements.push_back(Json{{"tnb", e.tnb}, {"x", e.x}, {"y", e.y}, {"x1", e.x1}, {"y1", e.y1},
                                {"rot", e.rot}, {"enb", e.enb}});
    j["elements"] = std::move(elements);

    Json offcuts = Json::array();
    for (const engine::Offcut& o : project.result.offcuts)
        offcuts.push_back(Json{{"tnb", o.tnb}, {"x", o.x}, {"y", o.y}, {"x1", o.x1}, {"y1", o.y1}});
    j["offcuts"] = std::move(offcuts);

    j["placed"] = placedParts(project);
    j["total_parts"] = project.input.totalParts;
    // Texts from old 8-bit files that slipped through unconverted must not
    // abort the output: invalid bytes become U+FFFD.
    return j.dump(1, ' ', false, Json::error_handler_t::replace) + "\n";
}

int cmdOptimize(Context& ctx)
{
    std::string jsonTarget;
    std::string saveTarget;
    bool missing = false;
    const bool wantJson = takeOption(ctx, "--json", jsonTarget, missing);
    if (missing)
        return ctx.usage("--json needs a file name or -");
    const bool wantSave = takeOption(ctx, "--save", saveTarget, missing);
    if (missing)
        return ctx.usage("--save needs a file name");
    int threads = 0;
    std::string problem;
    if (!threadCount(ctx, threads, problem))
        return ctx.usage(problem);
    if (ctx.args.size() != 1 || (!ctx.args[0].empty() && ctx.args[0][0] == '-'))
        return ctx.usage("usage: optimize INPUT [--json FILE|-] [--save FILE] [--threads N]");
    const std::string input = ctx.args[0];

    engine::Project project;
    const project_io::OpenOutcome opened = project_io::OpenProject(input, false, project, ctx.settings);
    if (!opened.status.ok())
        return ctx.fail(opened.status);
    for (const engine::Status& w : opened.warnings)
        *ctx.err << "velmora-cli: " << ctx.text(w) << "\n";

    // One velmora-cli process runs one command, so a generator in its start
    // state is the program's generator; a fresh one also keeps in-process
    // callers (the tests) independent of each other.
    engine::Rand31 rng;
    engine::AutoRunOptions options;
    options.threads = threads;
    options.rng = &rng;
    const engine::AutoRunOutcome outcome = engine::runAutomatic(project, ctx.settings, options);
    if (!outcome.status.ok())
        return ctx.fail(outcome.status);

    const std::int64_t placed = placedParts(project);
    const Summary sum = summarize(project);
    // With the JSON on standard output the summary moves to standard error.
    std::ostream& summaryOut = wantJson && jsonTarget == "-" ? *ctx.err : *ctx.out;
    summaryOut << "sheets used: " << sum.sheetsUsed << "\n"
               << "parts placed: " << placed << " of " << project.input.totalParts << "\n"
               << "yield: " << percent(sum.yield) << " %\n"
               << "last sheet yield: " << percent(sum.lastSheetYield) << " %\n"
               << "best attempt: " << outcome.bestAttempt << " of " << outcome.attempts << "\n";

    if (wantJson) {
        const std::string text = optimizeJson(project, ctx.settings, outcome);
        if (jsonTarget == "-") {
            *ctx.out << text;
        } else {
            std::ofstream f(jsonTarget, std::ios::binary | std::ios::trunc);
            f << text;
            f.close();
            if (!f)
                return ctx.usage("cannot write " + jsonTarget);
        }
    }
    if (wantSave) {
        const engine::Status st = project_io::SaveProject(saveTarget, project, ctx.settings, engine::programFolder());
        if (!st.ok())
            return ctx.fail(st);
    }
    if (placed < project.input.totalParts) {
        *ctx.err << "velmora-cli: " << ctx.text(engine::Status{engine::Msg::NotAllPartsPlaced}) << "\n";
        return kExitPartsMissing;
    }
    return kExitOk;
}

} // namespace cli
