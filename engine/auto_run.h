#pragma once

#include <atomic>
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

// Limits of one run: physical stock sheets and parts (sums of quantities).
constexpr std::int64_t kMaxStockSheets = 5000;
constexpr std::int64_t kMaxParts = 10000;

// Checks the two tables, sorts them and builds project.input: one
// SheetInstance per physical sheet, one PartDemand per part row with its
// footprint (finished size - band thickness + kerf) in both demand arrays,
// and the part total. Empties the result's elements and offcuts.
// Returns Ok; TablesEmpty when a table has no row; SheetRowSizeUnreadable,
// SheetRowQtyUnreadable, PartRowSizeUnreadable (also: a rotation lock that
// is no whole number, a size below zero once the bands are taken off) or
// PartRowQtyUnreadable, with the row number as detail, when a length, width
// or quantity does not read as a number of 0 or more; TooManySheets or
// TooManyParts beyond the limits above. On failure nothing changes (the
// tables stay unsorted).
[[nodiscard]] Status PrepareEngineInput(Project& project, const Settings& settings);

// Number of attempts for the setting autoparam: 100, 200 or 300.
[[nodiscard]] int automaticAttempts(int autoparam);

// The progress bar value after attempt a of n: trunc(a / (n div 100)).
[[nodiscard]] int automaticProgress(int a, int n);

struct AutoRunOptions {
    int threads = 0;                    // 0: one per core; results do not depend on it
    std::function<void(int)> progress;  // progress bar value (0..99) after each attempt
    Rand31* rng = nullptr;              // nullptr: the program's generator
    // Set from any thread to stop the run; checked after each attempt.
    const std::atomic<bool>* cancel = nullptr;
};

struct AutoRunOutcome {
    Status status;          // what PrepareEngineInput returned
    int attempts = 0;
    int bestAttempt = -1;
    bool cancelled = false;  // stopped through AutoRunOptions::cancel
};

// The automatic command without its windows: prepares the input, runs the
// automatic engine for automaticAttempts(settings.autoparam) attempts and
// copies the best attempt into project.result (elements in part-slot order,
// then the offcuts) and clears its offcutsTaken / sheetsSubtracted marks.
// Whether every part was placed is for the caller to
// check (result elements against input.totalParts).
// A cancelled run returns with `cancelled` set, leaves the generator as it
// was before the run and the result empty; the tables are sorted and the
// input rebuilt all the same, so a caller that must keep the project as it
// was runs on a copy.
[[nodiscard]] AutoRunOutcome runAutomatic(Project& project, const Settings& settings,
                                          const AutoRunOptions& options = {});

} // namespace engine
