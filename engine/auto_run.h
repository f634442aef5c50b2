#pragma once

#include <cstdint>
#include <functional>

#include "engine/msg.h"
#include "engine/project.h"
#include "engine/rand31.h"
#include "engine/settings.h"
#include "engine/text_table.h"
#include "engine/units.h"

namespace engine {

// Reorders the sheet table rows by ascending area of the typed sizes, the
// way the tables have always been sorted: an exchange sort on the 32-bit
// length x width product compared unsigned, so rows of equal area may change
// their order. Column 0 stays in place.
void SortSheetTable(TextTable& sheets, LengthUnit unit);

// The same for the part table, by descending area of the typed (finished)
// sizes.
void SortPartTable(TextTable& parts, LengthUnit unit);

// Checks the two tables, sorts them and builds project.input: one
// SheetInstance per physical sheet, one PartDemand per part row with its
// footprint (finished size - band thickness + kerf) in both demand arrays,
// and the part total. Empties the result's elements and offcuts.
// Returns Ok; TablesEmpty when a table has no row; SheetRowUnreadable or
// PartRowUnreadable (detail: the row number) when a length, width or
// quantity (for parts also the rotation lock) does not read as a
// non-negative number. On failure the tables are left unsorted.
[[nodiscard]] Status PrepareEngineInput(Project& project, const Settings& settings);

// Number of attempts for the setting autoparam: 100, 200 or 300.
[[nodiscard]] int automaticAttempts(int autoparam);

// The progress bar value after attempt a of n: trunc(a / (n div 100)).
[[nodiscard]] int automaticProgress(int a, int n);

struct AutoRunOptions {
    int threads = 0;                    // 0: one per core; results do not depend on it
    std::function<void(int)> progress;  // progress bar value (0..99) after each attempt
    Rand31* rng = nullptr;              // nullptr: the program's generator
};

struct AutoRunOutcome {
    Status status;          // what PrepareEngineInput returned
    int attempts = 0;
    int bestAttempt = -1;
};

// The automatic command without its windows: prepares the input, runs the
// automatic engine for automaticAttempts(settings.autoparam) attempts and
// copies the best attempt into project.result (elements in part-slot order,
// then the offcuts). Whether every part was placed is for the caller to
// check (result elements against input.totalParts).
[[nodiscard]] AutoRunOutcome runAutomatic(Project& project, const Settings& settings,
                                          const AutoRunOptions& options = {});

} // namespace engine
