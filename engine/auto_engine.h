#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "engine/project.h"
#include "engine/rand31.h"

namespace engine {

// Where one expanded part went in an attempt. Slots are in expansion order:
// every part of the first part row, then every part of the second, ...
struct PartSlot {
    std::int32_t tnb = 0;  // sheet number it lies on, 0 while unplaced
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t x1 = 0;
    std::int32_t y1 = 0;
    std::int32_t rot = 0;  // placed: 1 when turned; unplaced: the row's rotation lock
    std::int32_t row = 0;  // 1-based part row
    bool operator==(const PartSlot&) const = default;
};

// One complete cutting plan built by the automatic engine.
struct AutoAttempt {
    std::vector<PartSlot> slots;
    std::vector<Offcut> offcuts;
    std::int32_t sheetsUsed = 0;
    double lastFill = 0;          // percent of the last used sheet covered by footprints
    std::int32_t cutMeasure = 0;  // sum of width + height of placed parts and offcuts
    std::int64_t placed = 0;      // parts placed = random values drawn
};

namespace detail {
class AttemptBuilder;
struct AutoInput;
} // namespace detail

// The automatic layout engine: builds the cutting plan once per attempt with
// the same greedy guillotine method and keeps the best one. Sheets are used
// in list order, parts in expansion order; each part goes into the free
// rectangle that leaves the smallest leftover, and the rest of that rectangle
// is split in a direction that is fixed for attempts 0 (along x) and 1
// (along y) and random, placement by placement, for the others.
//
// Only the attempt being built and the best one so far are kept (runAll on
// several threads also keeps the few attempts it builds ahead). Calling
// order: Load, then RunAttempt(0..N-1) in order (or runAll), then ChooseBest
// and best().
class AutoEngine {
public:
    AutoEngine();
    ~AutoEngine();
    AutoEngine(const AutoEngine&) = delete;
    AutoEngine& operator=(const AutoEngine&) = delete;

    // Takes the part rows (footprints with the kerf already added), the stock
    // sheets in the order they are to be used, the kerf (kept, not used) and
    // the number of attempts.
    void Load(std::span<const PartDemand> demand, std::span<const SheetInstance> sheets, int kerf, int attempts);

    // Builds attempt a, drawing one value of `rng` per placed part (attempts
    // 0 and 1 advance it the same way without using the values), and compares
    // it with the best so far.
    void RunAttempt(int a, Rand31& rng);

    // Every attempt, with the result and the generator state of RunAttempt(0),
    // RunAttempt(1), ... on `rng`, on `threads` threads (0: one per core).
    // `afterAttempt(a)` is called on the calling thread after each attempt,
    // in attempt order.
    // Should the chosen attempt hold a sheet whose parts a saw cannot cut
    // apart (see bestCuttable), the attempts are built once more from the
    // same generator state and the choice passes over such attempts; the
    // second round calls afterAttempt again from 0. The generator ends in the
    // same state either way.
    void runAll(Rand31& rng, int threads, const std::function<void(int)>& afterAttempt = {});

    // Whether every sheet of the best attempt can be cut apart by straight
    // cuts right across the board.
    [[nodiscard]] bool bestCuttable() const;

    // Index of the best attempt of those run.
    [[nodiscard]] int ChooseBest() const;
    [[nodiscard]] const AutoAttempt& best() const { return m_best; }

    [[nodiscard]] int attempts() const { return m_attempts; }
    [[nodiscard]] std::int64_t partCount() const;
    [[nodiscard]] int kerf() const { return m_kerf; }

private:
    void foldIntoBest(int a, AutoAttempt& attempt);
    void runAllOnce(Rand31& rng, int threads, const std::function<void(int)>& afterAttempt);

    std::unique_ptr<detail::AutoInput> m_input;
    std::unique_ptr<detail::AttemptBuilder> m_builder;
    AutoAttempt m_current;
    AutoAttempt m_best;
    int m_attempts = 0;
    int m_kerf = 0;

    // The running best, held in single precision as the choice always was.
    float m_bestSheets = 0;
    float m_bestFill = 0;
    float m_bestIndex = 0;
    float m_bestCut = 0;
    // The second round of runAll: the choice passes over attempts the saw
    // cannot cut; m_haveCuttable tells whether one it can cut was seen.
    bool m_cuttableOnly = false;
    bool m_haveCuttable = false;
};

} // namespace engine
