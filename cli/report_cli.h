#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/cli.h"
#include "engine/band_types.h"
#include "engine/language_table.h"
#include "engine/project.h"
#include "output/show_results.h"

namespace cli {

// What `optimize` does with a result besides storing it: the report and
// bill, and the two stock commands.
struct ReportOptions {
    std::string reportFile;      // --report FILE, "-" for standard output, empty for none
    bool takeOffcuts = false;    // --take-offcuts
    bool subtractSheets = false; // --subtract-sheets
};

// Takes --report, --take-offcuts and --subtract-sheets out of ctx.args.
// Returns kExitOk, or kExitUsage after printing what is wrong.
[[nodiscard]] int takeReportOptions(Context& ctx, ReportOptions& options);

// The language table (ctx.languageName) and the band types of the program
// folder. A language file that cannot be read is an error only when the
// report or the offcut description needs it; band types that cannot be read
// are reported and the run goes on without banding.
struct ReportResources {
    engine::LanguageTable lang;
    engine::BandTypeTable bands;
    bool languageLoaded = false;
};
[[nodiscard]] int loadReportResources(Context& ctx, const ReportOptions& options, ReportResources& resources);

// Message text for people: the loaded language entry, else the fallback.
[[nodiscard]] std::string messageText(const Context& ctx, const ReportResources& resources,
                                      const engine::Status& status);

// After a run, before --save: showResultsCore (warnings and message 20 go
// to the error stream), then --take-offcuts and --subtract-sheets, then the
// report and bill as plain text to the --report target. Returns kExitOk,
// kExitPartsMissing when not every part was placed, or kExitUsage when the
// report cannot be written.
[[nodiscard]] int finishRun(Context& ctx, engine::Project& project, const ReportOptions& options,
                            const ReportResources& resources, output::ShowResultsOutcome& shown);

// The project a printout shows: `input` opened into `project` and the
// report's resources loaded, then the stored result, or with `optimize` a
// fresh automatic run (message 444 naming `input` when there is none), then
// finishRun with no report, so the layout groups and totals are those the
// window prints. Returns what finishRun returns, or the exit status of a
// failed step after saying why.
[[nodiscard]] int resultForPrinting(Context& ctx, const std::string& input, bool optimize, engine::Project& project,
                                    ReportResources& resources, output::ShowResultsOutcome& shown);

// --paper a4|letter of the printing commands: returns kExitOk (`letter` set
// when the option asks for it) or the usage failure.
[[nodiscard]] int takePaperOption(Context& ctx, bool& letter);

// The report, then the bill, as plain text.
[[nodiscard]] std::string reportText(const engine::Project& project);

// "stats": the eight display texts; "groups": [{"tnb", "multiplicity"}]. Keys
// keep their order.
[[nodiscard]] nlohmann::ordered_json statsJson(const engine::ProjectStats& stats);
[[nodiscard]] nlohmann::ordered_json groupsJson(const std::vector<engine::LayoutGroup>& groups);

} // namespace cli
