#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "engine/block_storage.h"
#include "engine/project.h"

namespace engine {

// The block search of the manual mode: for one stock sheet it builds
// guillotine blocks from parts, generation by generation, and names the block
// that leaves the least waste on the sheet. One object serves every sheet of
// a manual session; Init starts over.
//
// A block is a rectangle made of parts by guillotine cuts. Generation 0 holds
// the one-part blocks; each later generation joins every known block A with
// every block B of the previous generation, B above A (stacked) or B right of
// A (side by side). A join is kept when its total waste is at most alpha times
// its area; alpha grows by 1.2 after every generation. All sizes are internal
// lengths (tenths of a millimetre) of part footprints, kerf included, and all
// arithmetic is unsigned 32-bit as in the layouts this reproduces.

// A block written out in full (the search itself keeps blocks as joins).
struct Block {
    std::uint32_t length = 0;               // along x
    std::uint32_t width = 0;                // along y
    std::vector<std::uint32_t> counts;      // pieces of each engine part row
    std::vector<BlockItem> items;           // n = items.size()
    bool operator==(const Block&) const = default;
};

// Elapsed search time, split the way the manual page shows it.
struct ElapsedTime {
    std::uint16_t hours = 0;
    std::uint16_t minutes = 0;
    std::uint16_t seconds = 0;
    std::uint16_t milliseconds = 0;
    double totalSeconds = 0;
};

// Why a search ended.
enum class SearchEnd {
    NotRun,
    Exhausted,      // a generation produced nothing
    GoodEnough,     // a block covered more than P.I. percent of the sheet
    Stopped,        // the caller asked for a stop
    KnownListFull,  // the next generation could overflow the known list's limit or memory budget
};

// Reported at the start (end == false; count = blocks of the last
// generation) and at the end (end == true; count = new blocks, known = known
// blocks after merging) of every generation that ran.
struct SearchProgress {
    bool end = false;
    std::uint32_t generation = 0;
    std::uint32_t count = 0;
    std::uint32_t known = 0;
};
using SearchProgressFn = std::function<void(const SearchProgress&)>;

class log3 {
public:
    // The known list holds at most knownCapacity() blocks: max(combination
    // limit, kKnownFloor). A generation whose new blocks fill it keeps the
    // first ones that fit, in order, and the search ends after that
    // generation (SearchEnd::KnownListFull), keeping everything found so far.
    // As a second guard, before each generation the search checks that its
    // storage could take a full generation more without passing
    // kMemoryBudget bytes; otherwise it ends the same way.
    static constexpr std::size_t kKnownFloor = 15'000;
    static constexpr std::size_t kMaxKnownBlocks = 4'000'000;
    static constexpr std::size_t kMemoryBudget = std::size_t{640} << 20;

    log3();
    ~log3();
    log3(const log3&) = delete;
    log3& operator=(const log3&) = delete;

    // Prepares a search on a sheet L x W over `rows` (footprint, quantity,
    // part row, rotation lock). limit: combination limit (new blocks per
    // generation); pi: P.I. in percent; turnedOffset: added to the part row
    // of a turned part (the number of part rows of the part table).
    // A row with no parts to place (quantity 0 or less) or a footprint of no
    // area gives no block: a block may never hold more pieces of a row than
    // it may use, and such a part cannot be laid out.
    void Init(const std::vector<PartDemand>& rows, std::uint32_t limit, float alpha, std::uint32_t L,
              std::uint32_t W, std::int32_t pi, std::uint32_t turnedOffset);

    // Runs generations until one produces nothing, a block is good enough,
    // `stop` is set (checked after each generation) or the known list is
    // full; then runs ChooseBlock. `progress` may be empty.
    void Search(const SearchProgressFn& progress = {}, const std::atomic<bool>* stop = nullptr);

    // Scores every known block, names the best one and records the end time.
    void ChooseBlock();

    // Releases all blocks and lists.
    void FreeArrays();

    // Lowers the known-list capacity below max(limit, kKnownFloor) (tests use
    // it to reach the capacity with small inputs).
    void setKnownBlockLimit(std::size_t blocks) { m_knownLimit = std::min(blocks, kMaxKnownBlocks); }

    // Nodes of blocks no longer reachable are squeezed out once there are
    // more than this many beyond twice the live ones (tests lower it).
    void setCompactionSlack(std::size_t nodes) { m_nodes.setCompactionSlack(nodes); }
    [[nodiscard]] std::size_t compactions() const { return m_nodes.compactions(); }

    // Lists exist from an earlier Init (the manual page uses it to know
    // whether a preview can be drawn).
    [[nodiscard]] bool allocated() const { return m_allocated; }
    void setAllocated(bool v) { m_allocated = v; }

    // Read access to the result.
    [[nodiscard]] std::size_t knownCount() const { return m_known.size(); }
    [[nodiscard]] std::uint32_t knownLength(std::size_t k) const { return m_known.len[k]; }
    [[nodiscard]] std::uint32_t knownWidth(std::size_t k) const { return m_known.wid[k]; }
    [[nodiscard]] std::uint32_t knownWaste(std::size_t k) const { return m_known.waste[k]; }
    // Number of part items of known block k.
    [[nodiscard]] std::uint32_t knownPartCount(std::size_t k) const;
    // Number of items (parts and waste markers) of known block k.
    [[nodiscard]] std::uint32_t knownItemCount(std::size_t k) const;
    [[nodiscard]] Block knownBlock(std::size_t k) const;
    [[nodiscard]] const std::vector<std::uint32_t>& scores() const { return m_scores; }
    [[nodiscard]] std::size_t bestIndex() const { return m_best; }
    [[nodiscard]] std::uint32_t generation() const { return m_generation; }
    [[nodiscard]] std::size_t lastCount() const { return m_last.size(); }
    [[nodiscard]] std::size_t newCount() const { return m_new.size(); }
    [[nodiscard]] float alpha() const { return m_alpha; }
    [[nodiscard]] bool goodEnough() const { return m_goodEnough; }
    [[nodiscard]] SearchEnd end() const { return m_end; }
    [[nodiscard]] ElapsedTime elapsed() const { return m_elapsed; }
    [[nodiscard]] std::uint32_t rowCount() const { return m_rows; }
    // Most pieces of engine part row l that a block may hold.
    [[nodiscard]] std::uint32_t avail(std::size_t l) const { return m_avail[l]; }
    // Bytes held by the search's lists now.
    [[nodiscard]] std::size_t memoryInUse() const;
    // Most blocks the known list holds: max(combination limit, kKnownFloor),
    // lowered by setKnownBlockLimit.
    [[nodiscard]] std::size_t knownCapacity() const;

private:
    // Blocks live in m_nodes (how each was made) and the three lists; see
    // block_storage.h.
    void resetStorage();

    int TryPair(std::size_t i, std::size_t j, bool stacked, bool sideBySide);
    // Also leaves the joined counts in m_joinCounts.
    bool CountsFit(std::size_t i, std::size_t j);
    int JoinStacked(std::size_t i, std::size_t j);
    int JoinSideBySide(std::size_t i, std::size_t j);
    int appendJoin(std::size_t i, std::size_t j, detail::BlockNodeKind kind, std::uint32_t len, std::uint32_t wid,
                   std::uint32_t waste, std::uint32_t total);
    // False when the known list filled up before every new block was kept.
    bool MergeNewBlocks();
    void ReplaceLastList();
    bool knownListCouldOverflow() const;
    void runGeneration();

    std::size_t m_knownLimit = kMaxKnownBlocks;
    std::uint32_t m_limit = 0;
    float m_alpha = 0;
    std::uint32_t m_L = 0;
    std::uint32_t m_W = 0;
    std::uint32_t m_area = 0;
    std::int32_t m_pi = 0;
    std::uint32_t m_rows = 0;
    std::uint32_t m_turnedOffset = 0;
    std::vector<std::uint32_t> m_avail;

    detail::BlockNodes m_nodes;
    detail::BlockList m_known;
    detail::BlockList m_last;
    detail::BlockList m_new;
    detail::KnownBlockIndex m_knownIndex;
    std::vector<std::uint32_t> m_joinCounts;
    // Per generation: the last-list blocks that can take part in a join,
    // copied together so that the pair loop reads them in one sweep.
    std::vector<std::uint32_t> m_candLen, m_candWid, m_candWaste, m_candIndex;
    std::vector<std::uint8_t> m_candMask;
    struct SortedCandidate {
        std::uint32_t len, wid, waste, c;
    };
    std::vector<SortedCandidate> m_byLen, m_byWid, m_sortScratch;
    std::vector<std::uint32_t> m_sortedLen, m_sortedWid;
    std::vector<std::uint64_t> m_bits;

    std::vector<std::uint32_t> m_scores;
    std::size_t m_best = 0;
    std::uint32_t m_generation = 0;
    bool m_generated = false;
    bool m_goodEnough = false;
    bool m_allocated = false;
    SearchEnd m_end = SearchEnd::NotRun;
    double m_start = 0;
    ElapsedTime m_elapsed;
};

// The alpha test of a join: true when `total` waste is admitted for a block
// whose unsigned 32-bit area product is `area`, i.e. total <= trunc(alpha x
// area) with the multiplication done in single precision.
[[nodiscard]] bool wasteAdmitted(std::uint32_t total, std::uint32_t area, float alpha);

// alpha x 1.2, kept as a 32-bit float (the growth after each generation).
[[nodiscard]] float grownAlpha(float alpha);

} // namespace engine
