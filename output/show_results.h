#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/band_types.h"
#include "engine/language_table.h"
#include "engine/msg.h"
#include "engine/project.h"
#include "engine/settings.h"

namespace output {

// What the result refresh leaves for the program to show.
struct ShowResultsOutcome {
    bool allPlaced = false;
    engine::Status status;               // Ok, or NotAllPartsPlaced (message 20) to show
    std::int64_t partsEntered = 0;
    std::int64_t partsPlaced = 0;
    // Captions of the statistics panel, in the order of the stats fields:
    // parts, used parts, used sheets, part area (A), average yield (%),
    // last-sheet yield (%), cut length (U), banding length (U).
    std::array<std::string, 8> statCaptions;
    // Commands that may run on this result (each is used once per result).
    bool canTakeOffcuts = false;
    bool canSubtractSheets = false;
    std::vector<engine::Status> warnings;  // problems the bill found (see stat::warnings)
};

// The UI-free part of ShowResults: builds the report, the bill and the
// statistics texts into `project` (BuildReport), then checks that every
// entered part was placed. A complete result sets project.result.complete
// and offers the offcut and subtraction commands not yet used on it; an
// incomplete one clears `complete` and gives NotAllPartsPlaced. The report and
// statistics are written in both cases.
[[nodiscard]] ShowResultsOutcome showResultsCore(engine::Project& project, const engine::Settings& settings,
                                                 const engine::BandTypeTable& bands,
                                                 const engine::LanguageTable& lang);

} // namespace output
