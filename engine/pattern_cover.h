#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <unordered_set>
#include <vector>

#include "engine/sheet_fill.h"

namespace engine::detail {

// Sheet layouts met during a deep run, each kept once per multiset of parts
// it holds. Any of them can be cut from any sheet of the one size.
class PatternPool {
public:
    explicit PatternPool(std::size_t items, std::size_t limit = 20000) : m_items(items), m_limit(limit) {}
    // Keeps `fill` when no layout of the same parts is kept yet.
    void add(const SheetFill& fill);
    // The layouts of `other` this pool does not hold yet, in their order.
    void merge(const PatternPool& other);
    [[nodiscard]] const std::vector<SheetFill>& layouts() const { return m_layouts; }

    // Parts of every item in `fill`, into `count` (sized to the items).
    void countParts(const SheetFill& fill, std::vector<std::int32_t>& count) const;

private:
    [[nodiscard]] std::uint64_t keyOf(const SheetFill& fill) const;

    std::size_t m_items;
    std::size_t m_limit;
    std::vector<SheetFill> m_layouts;
    std::unordered_set<std::uint64_t> m_keys;
    mutable std::vector<std::int32_t> m_count;
};

// Column generation over sheet layouts: the linear programme "fewest sheets
// whose layouts hold the demand" over `pool` (which it extends), its dual values as part values
// for new layouts from the sheet filler, and an integer choice by diving
// (the layout used most in the programme's solution is fixed, the rest of the
// demand solved again). Returns at most `sheets` layouts holding exactly the
// demand, or nothing. Work, in thousands of the filler's part tests and of
// the programme's columns per solve, is added to `work`; the search ends
// after about `budget` of it, or when `stop` says so.
[[nodiscard]] std::vector<SheetFill> coverByColumnGeneration(std::int32_t w, std::int32_t h,
                                                             std::span<const FillItem> items,
                                                             std::span<const std::int32_t> qty,
                                                             PatternPool pool, std::size_t sheets,
                                                             std::uint64_t budget, std::uint64_t& work,
                                                             const std::function<bool()>& stop);

} // namespace engine::detail
