#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "engine/guillotine.h"
#include "engine/project.h"

namespace engine {

// A cutting plan as the result holds it.
struct DeepLayout {
    std::vector<PlacedElement> elements;
    std::vector<Offcut> offcuts;
    bool operator==(const DeepLayout&) const = default;
};

// What two plans for the same input are compared by, in this order: fewer
// parts left unplaced, lower cost of the sheets used (sheets holding a part),
// a larger biggest offcut, fewer cuts.
struct LayoutScore {
    std::int64_t unplaced = 0;
    std::int64_t cost = 0;
    std::int64_t biggestOffcut = 0;  // area
    std::int64_t cuts = 0;
    bool operator==(const LayoutScore&) const = default;
    [[nodiscard]] bool betterThan(const LayoutScore& other) const;
};

// The straight cuts a saw makes to free the parts and offcuts of one sheet:
// each cut runs right across the piece it is made in. Pieces that no cut
// separates any further count one cut each.
[[nodiscard]] std::int64_t countCuts(std::vector<CutRect> pieces);

// The score of a plan. `sheetCost` holds one cost per sheet of `sheets`
// (empty: each sheet costs its area).
[[nodiscard]] LayoutScore scoreLayout(const DeepLayout& layout, std::span<const PartDemand> demand,
                                      std::span<const SheetInstance> sheets,
                                      std::span<const std::int64_t> sheetCost = {});

// Effort of a deep run in work units, one unit being a thousand tests of a
// part against a piece of board.
constexpr std::int64_t kDefaultDeepEffort = 250000;
constexpr std::int64_t kMaxDeepEffort = 100000000;

struct DeepOptions {
    std::int64_t effort = kDefaultDeepEffort;
    int threads = 0;                          // 0: one per core; the result does not depend on it
    double timeLimitSeconds = 0;              // 0: none; a run stopped by it says so
    const std::atomic<bool>* cancel = nullptr;  // set from any thread to stop; the start plan is kept
    std::function<void(int)> progress;        // 0..100, on the calling thread
    std::vector<std::int64_t> sheetCost;      // per sheet; empty: sheet area
};

enum class DeepStop {
    EffortSpent,    // every work unit used
    ProvenOptimal,  // the plan reached a lower bound: nothing can be better
    TimeLimit,      // the time limit ended it early: another run may differ
    Cancelled,      // stopped by the caller: the start plan is returned
    NotApplicable,  // parts without area, no sheets, or no part rows: the start plan is returned
};

struct DeepOutcome {
    DeepLayout layout;         // the better of the start plan and the deep plan
    LayoutScore startScore;
    LayoutScore score;         // of `layout`
    bool improved = false;     // `layout` is the deep plan
    DeepStop stop = DeepStop::EffortSpent;
    std::int64_t lowerBoundSheets = 0;  // with one sheet size: no plan uses fewer (0: none known)
    std::uint64_t work = 0;             // work units done
    std::int64_t passes = 0;            // complete plans built
};

// The deep optimisation: sheet after sheet, in the order of `sheets`, is
// filled with the parts of most value that a guillotine layout fits on it
// (a knapsack over cut trees, solved by many randomised greedy fills per
// sheet); after each plan the value of every part is corrected by how well
// the sheets it lay on were used (sequential value correction), so the parts
// that were hard to place are placed first the next time. Two chains of
// such plans run side by side in rounds of fixed work; the best plan of all
// is compared with `start` by LayoutScore and returned only when it is
// better. Sheets may be passed over (a larger one used instead) but are
// always used in list order.
[[nodiscard]] DeepOutcome runDeepEngine(std::span<const PartDemand> demand, std::span<const SheetInstance> sheets,
                                        const DeepLayout& start, const DeepOptions& options = {});

} // namespace engine
