#include "cli/report_cli.h"

#include <ostream>

#include "engine/auto_run.h"
#include "engine/offcut_reuse.h"
#include "engine/rand31.h"
#include "engine/paths.h"
#include "output/report_text.h"

namespace cli {

int takeReportOptions(Context& ctx, ReportOptions& options)
{
    std::string value;
    bool missing = false;
    if (takeOption(ctx, "--report", value, missing)) {
        if (missing || value.empty())
            return ctx.usage("--report needs a file name or -");
        options.reportFile = value;
    }
    options.takeOffcuts = takeFlag(ctx, "--take-offcuts");
    options.subtractSheets = takeFlag(ctx, "--subtract-sheets");
    return kExitOk;
}

int loadReportResources(Context& ctx, const ReportOptions& options, ReportResources& resources)
{
    const std::string folder = engine::programFolder();
    const std::string langPath = engine::LanguageTable::pathFor(folder, ctx.languageName);
    if (const engine::LanguageTable* table = ctx.language()) {
        resources.lang = *table;
        resources.languageLoaded = true;
    } else {
        if (!options.reportFile.empty() || options.takeOffcuts)
            return ctx.usage("cannot read language file " + langPath);
        *ctx.err << "velmora-cli: cannot read language file " << langPath << "\n";
    }

    engine::Result<engine::BandTypeTable> bands = engine::LoadBandTypes(engine::bandTypesPath(folder));
    if (bands.ok())
        resources.bands = std::move(bands.value());
    else
        *ctx.err << "velmora-cli: " << messageText(ctx, resources, bands.error()) << "; banding is not counted\n";
    return kExitOk;
}

std::string messageText(const Context& ctx, const ReportResources& resources, const engine::Status& status)
{
    const std::string& text = resources.lang.text(status.msg);
    std::string s = text.empty() ? ctx.text(status) : text;
    if (!text.empty()) {
        for (const std::string& a : status.args)
            s += " " + a;
        if (status.reason != engine::Msg::Ok) {
            const std::string& why = resources.lang.text(status.reason);
            s += " - " + (why.empty() ? ctx.plainText(status.reason) : why);
        }
    }
    // The number goes with every message so that scripts can tell them apart.
    const std::string tag = "(message " + std::to_string(engine::number(status.msg)) + ")";
    if (s.find(tag) == std::string::npos)
        s += " " + tag;
    return s;
}

int takePaperOption(Context& ctx, bool& letter)
{
    std::string value;
    bool missing = false;
    if (!takeOption(ctx, "--paper", value, missing))
        return kExitOk;
    if (value != "a4" && value != "A4" && value != "letter" && value != "Letter")
        return ctx.usage("--paper takes a4 or letter");
    letter = value == "letter" || value == "Letter";
    return kExitOk;
}

std::string reportText(const engine::Project& project)
{
    return output::toPlainText(project.report) + output::toPlainText(project.bill);
}

int resultForPrinting(Context& ctx, const std::string& input, bool optimize, engine::Project& project,
                      ReportResources& resources, output::ShowResultsOutcome& shown)
{
    if (const int rc = openInput(ctx, input, project); rc != kExitOk)
        return rc;
    if (const int rc = loadReportResources(ctx, ReportOptions{}, resources); rc != kExitOk)
        return rc;
    if (optimize) {
        engine::Rand31 rng;
        engine::AutoRunOptions run;
        run.rng = &rng;
        const engine::AutoRunOutcome outcome = engine::runAutomatic(project, ctx.settings, run);
        if (!outcome.status.ok())
            return ctx.fail(outcome.status);
    } else if (project.result.elements.empty()) {
        return ctx.fail(engine::Status(engine::Msg::NoResultToPrint, {input}));
    }
    return finishRun(ctx, project, ReportOptions{}, resources, shown);
}

int finishRun(Context& ctx, engine::Project& project, const ReportOptions& options, const ReportResources& resources,
              output::ShowResultsOutcome& shown)
{
    shown = output::showResultsCore(project, ctx.settings, resources.bands, resources.lang);
    for (const engine::Status& w : shown.warnings)
        *ctx.err << "velmora-cli: " << messageText(ctx, resources, w) << "\n";
    if (!shown.status.ok())
        *ctx.err << "velmora-cli: " << messageText(ctx, resources, shown.status) << "\n";

    if (options.takeOffcuts) {
        const engine::Result<int> r = engine::takeGoodOffcuts(project, ctx.settings, resources.lang);
        if (r.ok())
            *ctx.err << "velmora-cli: " << *r << " good offcut(s) added to the sheet table\n";
        else
            *ctx.err << "velmora-cli: --take-offcuts: " << messageText(ctx, resources, r.error()) << "\n";
    }
    if (options.subtractSheets) {
        const engine::Result<int> r = engine::subtractUsedSheets(project, ctx.settings);
        if (r.ok())
            *ctx.err << "velmora-cli: " << *r << " used sheet(s) taken out of the sheet table\n";
        else
            *ctx.err << "velmora-cli: --subtract-sheets: " << messageText(ctx, resources, r.error()) << "\n";
    }

    if (!options.reportFile.empty() && !writeOutput(ctx, options.reportFile, reportText(project)))
        return kExitUsage;
    return shown.allPlaced ? kExitOk : kExitPartsMissing;
}

nlohmann::ordered_json statsJson(const engine::ProjectStats& stats)
{
    return {
        {"parts", stats.parts},
        {"used_parts", stats.used_parts},
        {"used_sheets", stats.used_sheets},
        {"part_area", stats.part_area},
        {"average_yield", stats.average_yield},
        {"last_sheet_yield", stats.last_sheet_yield},
        {"cut_length", stats.cut_length},
        {"banding_length", stats.banding_length},
    };
}

nlohmann::ordered_json groupsJson(const std::vector<engine::LayoutGroup>& groups)
{
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const engine::LayoutGroup& g : groups)
        list.push_back({{"tnb", g.tnb}, {"multiplicity", g.multiplicity}});
    return list;
}

} // namespace cli
