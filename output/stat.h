#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/band_types.h"
#include "engine/language_table.h"
#include "engine/msg.h"
#include "engine/project.h"
#include "engine/settings.h"

namespace output {

// The report builder: the counters of one report pass over the layout
// groups. A fresh one is used for every ShowResults; the per-group fields
// are reset at the start of each group. Lengths are internal (0.1 mm),
// areas in square internal units; every area product is 64-bit.
class stat {
public:
    std::vector<std::string> partLines;
    std::vector<std::string> offcutLines;
    std::int32_t groupIndex = 0;
    std::int64_t placedTotal = 0;       // pieces over all groups, counting multiplicity
    std::int64_t groupPieces = 0;       // pieces of the group times its multiplicity
    std::int32_t sheetId = 0;
    std::int32_t multiplicity = 0;
    engine::Length sheetLength = 0;
    engine::Length sheetHeight = 0;
    engine::Area groupPartArea = 0;     // net part area of the group times multiplicity
    engine::Area totalPartArea = 0;
    std::int64_t perimeterSum = 0;      // pieces of the group, parts and offcuts
    std::int64_t cutLength = 0;
    std::int64_t sheetsUsed = 0;
    engine::Area usefulOffcutArea = 0;  // offcuts of at least Visak on both sides
    engine::Area totalSheetArea = 0;
    float yieldSum = 0;                 // percent, summed over groups
    float groupYield = 0;               // percent, of the current (finally the last) group
    std::int64_t bandingLength = 0;
    int columnWidths[2] = {0, 0};
    const std::string indent = "  ";

    std::int64_t groupCount = 0;
    std::int32_t lastMultiplicity = 0;
    // Problems the bill found: a band price that is not a number
    // (BandPriceNotANumber), a band name in the part table that no counted
    // band type carries (BandNameNotInTable, once per name).
    std::vector<engine::Status> warnings;
};

// BuildReport: groups the layouts (GroupLayouts), then writes project.report
// (header, one section per group, totals), project.bill and the statistics
// texts project.result.stats. The language table supplies every caption;
// bands supplies the banding lengths and prices. Never stops half way: a
// band price that is not a number shows message BandPriceNotANumber in its
// bill line and adds a warning to s.warnings.
void BuildReport(stat& s, engine::Project& project, const engine::Settings& settings,
                 const engine::BandTypeTable& bands, const engine::LanguageTable& lang);

// The two yield texts: general format, 4 significant digits. An empty result
// (no group) shows "0" for both.
[[nodiscard]] std::string averageYieldText(const stat& s);
[[nodiscard]] std::string lastSheetYieldText(const stat& s);

} // namespace output
