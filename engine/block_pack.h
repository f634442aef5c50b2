#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

#include "engine/sheet_fill.h"

namespace engine::detail {

// Packs one sheet from a few parts by combining blocks bottom up: every
// part is a block, and two blocks side by side or one above the other make a
// larger one, as long as it fits the sheet and its waste (its area less its
// parts' area) stays within the slack the caller allows. Every guillotine
// layout is such a tree of blocks, so with room enough for the blocks the
// search is exact: it finds the layout of most value among all guillotine
// layouts whose parts cover at least the area asked for. The greedy fills
// only place parts in the corner of a piece; this reaches the layouts whose
// cuts run past the parts next to them.
class BlockPacker {
public:
    // Fills a W x H sheet from `avail` (parts left per item) with the parts
    // of most total `value` whose area is at least `minArea`. At most
    // `maxBlocks` blocks are made (beyond that the search is no longer
    // exact). Returns false, `out` cleared, when no such layout was found or
    // the parts are too many kinds for the search. `out.leftover` holds the
    // pieces of board left over.
    bool pack(std::int32_t w, std::int32_t h, std::span<const FillItem> items, std::span<const double> value,
              std::span<const std::int32_t> avail, std::int64_t minArea, std::size_t maxBlocks, SheetFill& out);

    // Work units done so far: block pairs tried.
    [[nodiscard]] std::uint64_t work() const { return m_work; }

    // Parts counted per kind in a few machine words: one field per kind,
    // two bits above its count so that two counts add without carry and a
    // sum over the kind's limit shows in those bits.
    static constexpr std::size_t kKeyWords = 4;
    using Key = std::array<std::uint64_t, kKeyWords>;

private:
    struct Block {
        Key key{};
        std::int32_t w = 0;
        std::int32_t h = 0;
        std::int64_t area = 0;   // of the parts
        double value = 0;
        std::int32_t a = -1;     // parts: the item; combined: the first block
        std::int32_t b = -1;     // -1 for a part; combined: the second block
        bool beside = false;     // combined: b right of a, else above it
        bool turned = false;     // a part turned
        bool dead = false;       // dominated by a later block of the same parts
    };
    struct KeyHash {
        std::size_t operator()(const Key& k) const noexcept;
    };

    bool add(const Block& b);
    void emit(std::int32_t index, std::int32_t x, std::int32_t y, std::int32_t rw, std::int32_t rh, SheetFill& out) const;

    std::uint64_t m_work = 0;
    std::vector<Block> m_blocks;
    std::unordered_map<Key, std::vector<std::int32_t>, KeyHash> m_byKey;
    Key m_check{};  // added to a sum of keys: a guard bit set means a count over its limit
    Key m_guard{};
};

} // namespace engine::detail
