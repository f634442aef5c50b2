#include "cli/cmd_manual.h"

#include <ostream>

#include <nlohmann/json.hpp>

#include "cli/cmd_optimize.h"
#include "cli/commands.h"
#include "cli/report_cli.h"
#include "engine/auto_run.h"
#include "engine/manual_session.h"
#include "engine/paths.h"
#include "project/project_file.h"

namespace cli {

namespace {

using Json = nlohmann::ordered_json;

const char* searchEndName(engine::SearchEnd end)
{
    switch (end) {
    case engine::SearchEnd::NotRun: return "not_run";
    case engine::SearchEnd::Exhausted: return "exhausted";
    case engine::SearchEnd::GoodEnough: return "good_enough";
    case engine::SearchEnd::Stopped: return "stopped";
    case engine::SearchEnd::KnownListFull: return "known_list_full";
    }
    return "";
}

} // namespace

// The document of `optimize --json` without the figures of the automatic
// attempts, plus one record per searched sheet.
std::string manualJson(const engine::Project& project, const engine::Settings& settings,
                       const std::vector<engine::ManualSearchStats>& searches)
{
    Json j = Json::parse(optimizeJson(project, settings, engine::AutoRunOutcome{}));
    j.erase("attempts");
    j.erase("best_attempt");
    Json manual = Json::array();
    for (const engine::ManualSearchStats& s : searches)
        manual.push_back(Json{{"tnb", s.tnb},
                              {"generations", s.generations},
                              {"known", s.known},
                              {"best", s.best},
                              {"seconds", s.seconds},
                              {"end", searchEndName(s.end)}});
    j["manual"] = std::move(manual);
    return j.dump(1, ' ', false, Json::error_handler_t::replace) + "\n";
}

int cmdManual(Context& ctx)
{
    std::string alpha = "0.001";
    std::string pi = "92";
    std::string pickText = "0";
    std::string jsonTarget;
    std::string saveTarget;
    bool missing = false;
    if (takeOption(ctx, "--alpha", alpha, missing) && missing)
        return ctx.usage("--alpha needs a number");
    if (takeOption(ctx, "--pi", pi, missing) && missing)
        return ctx.usage("--pi needs a whole number");
    if (takeOption(ctx, "--pick", pickText, missing) && missing)
        return ctx.usage("--pick needs a slider position");
    const bool wantJson = takeOption(ctx, "--json", jsonTarget, missing);
    if (missing)
        return ctx.usage("--json needs a file name or -");
    const bool wantSave = takeOption(ctx, "--save", saveTarget, missing);
    if (missing)
        return ctx.usage("--save needs a file name");
    ReportOptions reportOptions;
    if (const int rc = takeReportOptions(ctx, reportOptions); rc != kExitOk)
        return rc;
    if (reportOptions.reportFile == "-" && wantJson && jsonTarget == "-")
        return ctx.usage("--report - and --json - cannot both use standard output");
    std::int32_t pick = 0;
    if (!engine::parseInteger(pickText, pick) || pick < 0 || pick > engine::ManualSession::kMaxSliderPosition)
        return ctx.usage("--pick needs a slider position from 0 to 20");
    if (ctx.args.size() != 1 || (ctx.args[0].size() > 1 && ctx.args[0][0] == '-'))
        return rejectArguments(ctx, "usage: manual INPUT [--alpha A] [--pi P] [--pick K] [--json FILE|-] [--report FILE|-]"
                         " [--save FILE] [--take-offcuts] [--subtract-sheets]");
    ReportResources resources;
    if (const int rc = loadReportResources(ctx, reportOptions, resources); rc != kExitOk)
        return rc;

    engine::Project project;
    if (const int rc = openInput(ctx, ctx.args[0], project); rc != kExitOk)
        return rc;
    engine::log3 search;
    const engine::UnattendedManualRun run =
        engine::runManualUnattended(project, search, ctx.settings, alpha, pi, pick);
    if (!run.status.ok())
        return ctx.fail(run.status);
    if (run.finalMessage != engine::Msg::Ok)
        ctx.warn(engine::Status{run.finalMessage});

    // With the JSON on standard output the summary moves to standard error.
    std::ostream& summaryOut =
        (wantJson && jsonTarget == "-") || reportOptions.reportFile == "-" ? *ctx.err : *ctx.out;
    for (const engine::ManualSearchStats& s : run.searches)
        summaryOut << "sheet " << s.tnb << ": " << s.generations << " generations, " << s.known
                   << " blocks, candidate " << s.best
                   << (s.end == engine::SearchEnd::KnownListFull ? " (stopped: the list of blocks is full)" : "")
                   << "\n";
    const std::int64_t placed = placedParts(project);
    summaryOut << "parts placed: " << placed << " of " << project.input.totalParts << "\n";

    // The result refresh (report, bill, statistics, message 20), then the
    // stock commands, as after an automatic run.
    output::ShowResultsOutcome shown;
    const int finished = finishRun(ctx, project, reportOptions, resources, shown);
    if (finished == kExitUsage)
        return finished;

    if (wantJson && !writeOutput(ctx, jsonTarget, manualJson(project, ctx.settings, run.searches)))
        return kExitUsage;
    if (wantSave) {
        const engine::Status st = project_io::SaveProject(saveTarget, project, ctx.settings, engine::programFolder());
        if (!st.ok())
            return ctx.fail(st);
    }
    return finished;
}

} // namespace cli
