#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/auto_engine.h"
#include "engine/rand31.h"

namespace engine::detail {

// The part of the automatic engine that builds one cutting plan. AutoEngine
// (auto_engine.cpp) loads the input, runs a builder once per attempt, on one
// thread or several, and keeps the best plan.

struct AutoRow {
    std::int32_t len = 0;
    std::int32_t wid = 0;
    std::int32_t lock = 0;
    std::int32_t row = 0;
    std::int64_t qty = 0;
    std::int64_t firstSlot = 0;
};

struct AutoSheet {
    std::int32_t len = 0;
    std::int32_t wid = 0;
    std::int32_t tnb = 0;
};

// What Load keeps: shared read-only by every builder, also across threads.
struct AutoInput {
    std::vector<AutoRow> rows;
    std::vector<AutoSheet> sheets;
    std::vector<PartSlot> unplacedSlots;
    std::int64_t partCount = 0;
    bool positiveFootprints = true;  // parts all above 0 in both sizes, no sheet size below 0
};

// Sizes of a free rectangle as the fit tests want them: width and
// height for rows that keep their direction, short and long side for
// rows that may turn (a part fits a rectangle one way or the other
// exactly when its short side fits the short side and its long side the
// long one). Used only with parts of positive size, where every size
// fits 32 bits.
struct FreeDims {
    std::int32_t v[4] = {0, 0, 0, 0};  // width, height, short, long
};

// Builds one attempt. Holds only per-attempt scratch, so one builder per
// thread can work on different attempts at once.
class AttemptBuilder {
public:
    explicit AttemptBuilder(const AutoInput& input) : m_in(input) {}

    // Attempts 0 and 1 draw nothing (their split direction is fixed); later
    // attempts draw one value of `rng` per placement.
    void build(int attempt, Rand31& rng, AutoAttempt& out);

private:
    struct Rect {
        std::int32_t x = 0;
        std::int32_t y = 0;
        std::int32_t x1 = 0;
        std::int32_t y1 = 0;
    };
    using Dims = FreeDims;
    struct Choice {
        int index = -1;
        std::int32_t w = 0;
        std::int32_t h = 0;
        std::int32_t rot = 0;
    };
    // A part row with parts left, in row order.
    struct RowState {
        std::int64_t len = 0;
        std::int64_t wid = 0;
        std::int64_t left = 0;       // parts still to place
        std::int64_t nextSlot = 0;   // slot of the next part to place
        std::int64_t failedSheet = -1;
        std::size_t failedAt = 0;    // merge log size when it last found no room
        // Compared with the free-size bounds: the short and long side when
        // the part may turn, else its length and width.
        std::int64_t boundFirst = 0;
        std::int64_t boundSecond = 0;
        bool unlocked = true;
    };

    [[nodiscard]] Choice choose(const RowState& row) const;
    [[nodiscard]] Choice choosePositive(const RowState& row);
    [[nodiscard]] Choice bestScored(const RowState& row) const;
    [[nodiscard]] Choice scoredChoice(const RowState& row, int index) const;
    void refreshExtent();
    [[nodiscard]] bool extentMayHold(const RowState& row) const;
    [[nodiscard]] bool mergedSinceMayHold(const RowState& row, std::size_t since) const;
    void mergeFreeRects();

    const AutoInput& m_in;
    // The free table. With parts of positive size a deleted entry (all 0) can
    // take part in nothing, so deleted entries are dropped at each merge and
    // m_last counts the entries the table has had on this sheet, as if they
    // were still there.
    std::vector<Rect> m_free;
    int m_last = 0;
    // Sizes of the rectangles that merges produced on the current sheet.
    std::vector<Dims> m_merged;
    // Sizes of the free table entry by entry, kept in step by placements
    // and rebuilt after a merge.
    std::vector<Dims> m_extent;
    std::vector<std::uint64_t> m_corner;  // scratch of mergeFreeRects
    std::vector<RowState> m_rows;
    // Scores of every entry for the row choosePositive saw last: the next
    // part of the same row only needs the entries a placement changed.
    std::vector<std::int32_t> m_score;
    std::vector<std::uint8_t> m_scoreRot;
    bool m_extentStale = true;  // m_extent does not describe m_free
    int m_deleted = 0;          // entries deleted since the last clean-up
    bool m_mergeMayChange = true;  // false after a merge that changed nothing
};

} // namespace engine::detail
