#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/guillotine.h"
#include "engine/project.h"
#include "engine/settings.h"
#include "quality/instances.h"

// An instance as a project, and what a finished run made of it.
namespace quality {

// Instance sizes are typed as whole millimetres, so the engine works in
// tenths of them: no size rounds, and a 1200 x 800 sheet is 12000 x 8000
// internally, far from any 32-bit area limit.
constexpr std::int64_t kInternalPerUnit = 10;

// Millimetres, no kerf, the given number of automatic attempts (autoparam).
[[nodiscard]] engine::Settings BenchSettings(int autoparam = 2);

// One sheet row per stock size and one part row per item type (its copies as
// quantity; rotation lock 1 on every row when `rotation` is false). A stock
// size gets as many sheets as parts fit on it one by one, so a run never runs
// short of a size it wants; when the sizes together would pass the engine's
// limit of stock sheets, each size gets an equal share of it. Refuses an
// instance with a part that fits no stock size, more parts than the engine
// takes, or a size whose internal area leaves 32 bits.
[[nodiscard]] Read<engine::Project> makeProject(const Instance& instance, bool rotation);

// What a run left in project.result, checked against project.input.
struct Outcome {
    bool complete = false;        // every part placed
    std::string fault;            // empty, or the first thing found wrong with the layout
    bool guillotine = true;       // every used sheet can be cut apart by edge-to-edge cuts
    std::int64_t sheets = 0;      // sheets holding at least one part
    std::int64_t sheetArea = 0;   // their total area, in instance units
    double seconds = 0;
    int stoppedSearches = 0;      // manual searches stopped for time
};

// Checks every placed part: on a real sheet, inside it, of its row's size
// (turned only when the row may turn), no two overlapping, no row placed
// more often than its quantity; then counts the sheets and their area.
[[nodiscard]] Outcome inspectLayout(const engine::Project& project);

// Pieces of a sheet, as the saw check takes them.
using Rect = engine::CutRect;

// The automatic run with a fixed generator and the given threads; the time
// covers the preparation of the input and every attempt.
[[nodiscard]] Outcome runAutomaticOn(engine::Project project, const engine::Settings& settings, int threads);

// The automatic run followed by the deep optimisation at `effort` work
// units; `method` tells which one produced the result.
[[nodiscard]] Outcome runDeepOn(engine::Project project, const engine::Settings& settings, int threads,
                                std::int64_t effort, std::string* method = nullptr);

// The manual mode as a person would drive it without second thoughts: every
// sheet searched with the given Alpha text and P.I. 92 (the field's
// default), Stop pressed once a search has run `searchSeconds` (it ends after
// the generation under way), the candidate that leaves the least waste
// accepted. A refused Alpha or search shows as a fault.
[[nodiscard]] Outcome runManualOn(engine::Project project, const engine::Settings& settings,
                                  const std::string& alpha = "0.001", double searchSeconds = 1e9);

} // namespace quality
