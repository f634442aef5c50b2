#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace engine::detail {

// A small, fast random source of the deep optimisation (splitmix64): every
// value depends only on the seed, so a run is the same on any thread.
class DeepRng {
public:
    explicit DeepRng(std::uint64_t seed = 0) : m_state(seed) {}
    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // In [0, 1).
    double uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
    // In [0, n), n > 0.
    std::uint32_t below(std::uint32_t n) { return static_cast<std::uint32_t>(next() % n); }

private:
    std::uint64_t m_state;
};

// One part row as the sheet filler sees it.
struct FillItem {
    std::int32_t len = 0;  // along x when not turned
    std::int32_t wid = 0;
    bool turnable = false;
};

struct FillRect {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t x1 = 0;
    std::int32_t y1 = 0;
    [[nodiscard]] std::int64_t area() const
    {
        return static_cast<std::int64_t>(x1 - x) * static_cast<std::int64_t>(y1 - y);
    }
};

struct FillPlacement {
    std::int32_t item = 0;  // index into the items
    FillRect at;
    bool turned = false;
};

// How one fill chooses. A fill is either driven by the free pieces (the
// next piece of board gets the most valuable part that fits it) or by the
// parts (the parts in order of value, each into the piece it fits best).
struct FillPolicy {
    bool pieceDriven = true;
    bool smallestPieceFirst = true;  // else the piece made last
    int split = 0;                   // 0 larger remainder whole, 1 shorter leftover side, 2 random,
                                     // 3 a strip a part spans exactly kept whole, else as 0
    double noise = 0;                // relative spread of the part values in this fill
    double exactBonus = 0;           // extra value for a part that spans a piece exactly
    // Shelves first: strips across the sheet, each filled by a knapsack over
    // the part widths (dynamic programming), the rest piece-driven.
    bool shelves = false;
    int shelfHeights = 6;            // strip heights tried per strip
    // Beam search over cut trees: piece by piece, the `beamBranch` best
    // parts for the piece, each with both cuts, and the `beamWidth` most
    // promising partial layouts kept (part value plus free area at the
    // parts' mean value per area).
    int beamWidth = 0;               // 0: no beam, one greedy layout
    int beamBranch = 3;
};

// One sheet's layout: the placed parts and the pieces of board left over.
struct SheetFill {
    std::vector<FillPlacement> placed;
    std::vector<FillRect> leftover;
    double value = 0;
    std::int64_t area = 0;
};

// Fills one sheet with a guillotine layout: every placement goes into the
// corner of a free piece of board, and what is left of the piece is cut in
// two by one straight cut right across it. The pieces are never joined
// again, so the layout is a cut tree and a panel saw can cut it.
class SheetFiller {
public:
    // Fills a W x H sheet from `avail` (parts left per item) with the parts
    // of most total value (`value` per part). `out` is overwritten.
    void fill(std::int32_t w, std::int32_t h, std::span<const FillItem> items, std::span<const double> value,
              std::span<const std::int32_t> avail, const FillPolicy& policy, DeepRng& rng, SheetFill& out);

    // Work units done so far: part-against-piece tests.
    [[nodiscard]] std::uint64_t work() const { return m_work; }

private:
    void fillPieces(std::span<const FillItem> items, std::span<const double> value, const FillPolicy& policy,
                    DeepRng& rng, SheetFill& out);
    void fillBeam(std::int32_t w, std::int32_t h, std::span<const FillItem> items, std::span<const double> value,
                  const FillPolicy& policy, SheetFill& out);
    void makeShelves(std::int32_t w, std::int32_t h, std::span<const FillItem> items, std::span<const double> value,
                     const FillPolicy& policy, SheetFill& out);
    void place(const FillRect& piece, std::int32_t item, std::int32_t pw, std::int32_t ph, bool turned,
               const FillPolicy& policy, DeepRng& rng, SheetFill& out);

    std::uint64_t m_work = 0;
    std::vector<FillRect> m_free;
    std::vector<std::int32_t> m_left;
    std::vector<double> m_score;
    std::vector<std::int32_t> m_order;
    std::int32_t m_minW = 0;
    std::int32_t m_minH = 0;
    // Scratch of makeShelves.
    struct Copy {
        std::int32_t item = 0;
        std::int32_t w = 0;
        std::int32_t h = 0;
        bool turned = false;
        std::int32_t units = 0;
    };
    std::vector<Copy> m_copies;
    std::vector<double> m_dp;
    std::vector<std::uint8_t> m_take;
    std::vector<std::int32_t> m_heights;
    std::vector<Copy> m_shelf;
    struct BeamState {
        std::vector<FillRect> free;
        std::vector<FillPlacement> placed;
        std::vector<FillRect> waste;
        std::vector<std::int32_t> left;
        double value = 0;
        std::int64_t area = 0;
        double score = 0;
    };
    std::vector<BeamState> m_beam;
    std::vector<BeamState> m_next;
    std::vector<std::size_t> m_rank;
    struct BeamCand {
        std::int32_t item;
        bool turned;
        double score;
    };
    std::vector<BeamCand> m_cands;
    std::vector<Copy> m_pick;
};

} // namespace engine::detail
