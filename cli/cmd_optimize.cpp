#include "cli/cmd_optimize.h"

#include <algorithm>
#include <cstdlib>
#include <ostream>
#include <thread>

#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "cli/report_cli.h"

#include "cli/drawing_options.h"
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
    if (!engine::parseInteger(value, n) || n < 0) {
        problem = "bad thread count '" + value + "'";
        return false;
    }
    // More threads than cores buys nothing and costs a stack each; under a
    // memory limit it could not even start them.
    const int cores = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    if (n > cores) {
        *ctx.err << "velmora-cli: --threads " << n << " is more than the " << cores << " cores here; using " << cores
                 << "\n";
        n = cores;
    }
    threads = n;
    return true;
}

} // namespace

std::int64_t placedParts(const engine::Project& project)
{
    return static_cast<std::int64_t>(project.result.elements.size());
}

const char* deepStopName(engine::DeepStop stop)
{
    switch (stop) {
    case engine::DeepStop::EffortSpent: return "effort spent";
    case engine::DeepStop::ProvenOptimal: return "proven optimal (a lower bound reached)";
    case engine::DeepStop::TimeLimit: return "time limit reached (another run may give another result)";
    case engine::DeepStop::Cancelled: return "cancelled";
    case engine::DeepStop::NotApplicable: return "not applicable (parts or sheets without area)";
    }
    return "";
}

std::string optimizeJson(const engine::Project& project, const engine::Settings& settings,
                         const engine::AutoRunOutcome& outcome, const engine::DeepRunOutcome* deep)
{
    namespace PartCol = engine::PartCol;
    namespace SheetCol = engine::SheetCol;
    Json j;
    j["unit"] = settings.JedMere;
    j["attempts"] = outcome.attempts;
    j["best_attempt"] = outcome.bestAttempt;
    if (deep) {
        j["method"] = engine::resultMethodName(project.result.method);
        j["deep"] = Json{{"stop", deepStopName(deep->deep.stop)},
                         {"improved", deep->deep.improved},
                         {"work_units", deep->deep.work},
                         {"plans", deep->deep.passes},
                         {"lower_bound_sheets", deep->deep.lowerBoundSheets}};
    }

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
    j["stats"] = statsJson(project.result.stats);
    j["groups"] = groupsJson(project.result.groups);
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
    ReportOptions reportOptions;
    if (const int rc = takeReportOptions(ctx, reportOptions); rc != kExitOk)
        return rc;
    const bool reportToStdout = reportOptions.reportFile == "-";
    if (reportToStdout && wantJson && jsonTarget == "-")
        return ctx.usage("--report - and --json - cannot both write to standard output");
    DrawingOptions drawing;
    if (int code = kExitOk; !takeDrawingOptions(ctx, drawing, code))
        return code;
    int threads = 0;
    std::string problem;
    if (!threadCount(ctx, threads, problem))
        return ctx.usage(problem);
    const bool deep = takeFlag(ctx, "--deep");
    std::string effortText;
    std::string limitText;
    const bool haveEffort = takeOption(ctx, "--effort", effortText, missing);
    if (missing)
        return ctx.usage("--effort needs a number of work units");
    const bool haveLimit = takeOption(ctx, "--time-limit", limitText, missing);
    if (missing)
        return ctx.usage("--time-limit needs a number of seconds");
    if ((haveEffort || haveLimit) && !deep)
        return ctx.usage("--effort and --time-limit belong to --deep");
    engine::DeepOptions deepOptions;
    if (haveEffort) {
        std::int32_t effort = 0;
        if (!engine::parseInteger(effortText, effort) || effort < 1 || effort > engine::kMaxDeepEffort)
            return ctx.usage("bad effort '" + effortText + "' (1 to " + std::to_string(engine::kMaxDeepEffort) + " work units)");
        deepOptions.effort = effort;
    }
    if (haveLimit) {
        std::int32_t seconds = 0;
        if (!engine::parseInteger(limitText, seconds) || seconds < 1)
            return ctx.usage("bad time limit '" + limitText + "' (whole seconds, 1 or more)");
        deepOptions.timeLimitSeconds = seconds;
    }
    if (ctx.args.size() != 1 || (ctx.args[0].size() > 1 && ctx.args[0][0] == '-'))
        return rejectArguments(ctx, "usage: optimize INPUT [--json FILE|-] [--report FILE|-] [--save FILE] [--threads N]"
                         " [--deep [--effort N] [--time-limit S]]"
                         " [--take-offcuts] [--subtract-sheets] [--dxf FILE [--dxf-release NAME]]"
                         " [--svg DIR [--svg-size WxH]]");
    const std::string input = ctx.args[0];

    engine::Project project;
    if (const int rc = openInput(ctx, input, project); rc != kExitOk)
        return rc;

    // One velmora-cli process runs one command, so a generator in its start
    // state is the program's generator; a fresh one also keeps in-process
    // callers (the tests) independent of each other.
    ReportResources resources;
    if (const int rc = loadReportResources(ctx, reportOptions, resources); rc != kExitOk)
        return rc;

    engine::Rand31 rng;
    engine::AutoRunOptions options;
    options.threads = threads;
    options.rng = &rng;
    engine::DeepRunOutcome deepOutcome;
    if (deep) {
        engine::DeepRunOptions runOptions;
        runOptions.automatic = options;
        runOptions.deep = deepOptions;
        runOptions.deep.threads = threads;
        deepOutcome = engine::runDeep(project, ctx.settings, runOptions);
    } else {
        deepOutcome.automatic = engine::runAutomatic(project, ctx.settings, options);
    }
    const engine::AutoRunOutcome& outcome = deepOutcome.automatic;
    if (!outcome.status.ok())
        return ctx.fail(outcome.status);

    const std::int64_t placed = placedParts(project);

    // The result refresh, then the stock commands: the JSON and the saved
    // project show the tables as they are after them.
    output::ShowResultsOutcome shown;
    const int finished = finishRun(ctx, project, reportOptions, resources, shown);
    if (finished == kExitUsage)
        return finished;

    // The figures of the statistics panel, as the report gives them. With the
    // JSON or the report on standard output the summary moves to standard
    // error.
    const engine::ProjectStats& stats = project.result.stats;
    std::ostream& summaryOut = (wantJson && jsonTarget == "-") || reportToStdout ? *ctx.err : *ctx.out;
    summaryOut << "sheets used: " << stats.used_sheets << "\n"
               << "parts placed: " << placed << " of " << project.input.totalParts << "\n"
               << "yield: " << stats.average_yield << " %\n"
               << "last sheet yield: " << stats.last_sheet_yield << " %\n"
               << "best attempt: " << outcome.bestAttempt << " of " << outcome.attempts << "\n";
    if (deep) {
        summaryOut << "method: " << engine::resultMethodName(project.result.method) << "\n"
                   << "deep: " << deepStopName(deepOutcome.deep.stop) << ", " << deepOutcome.deep.passes << " plans, "
                   << deepOutcome.deep.work << " work units\n";
    }

    if (wantJson && !writeOutput(ctx, jsonTarget, optimizeJson(project, ctx.settings, outcome, deep ? &deepOutcome : nullptr)))
        return kExitUsage;
    if (drawing.any()) {
        groupLayoutsForDrawing(project, ctx.settings);
        if (const int code = writeDrawings(ctx, project, drawing); code != kExitOk)
            return code;
    }
    if (wantSave) {
        const engine::Status st = project_io::SaveProject(saveTarget, project, ctx.settings, engine::programFolder());
        if (!st.ok())
            return ctx.fail(st);
    }
    // finishRun has reported message 20 when parts are missing.
    return finished;
}

} // namespace cli
