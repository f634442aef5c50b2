#pragma once

#include <cstdint>
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

private:
    [[nodiscard]] std::uint64_t keyOf(const SheetFill& fill) const;

    std::size_t m_items;
    std::size_t m_limit;
    std::vector<SheetFill> m_layouts;
    std::unordered_set<std::uint64_t> m_keys;
    mutable std::vector<std::int32_t> m_count;
};

// Chooses `sheets` layouts of the pool that together hold at least `qty`
// parts of every item (a depth-first search, the largest part left first,
// its layouts by the part area they still cover). `area` is one part's
// area per item, `sheetArea` the sheet's. Work: pattern tests, at most
// `budget`. Returns the indices of the layouts chosen, empty when none
// were found within the budget.
[[nodiscard]] std::vector<std::size_t> coverWithPatterns(std::span<const SheetFill> layouts,
                                                         std::span<const std::int32_t> qty,
                                                         std::span<const double> area, double sheetArea,
                                                         std::size_t sheets, std::uint64_t budget,
                                                         std::uint64_t& work);

// The chosen layouts as sheets holding exactly `qty` parts of every item:
// parts beyond the demand are taken off (their places stay as offcuts).
[[nodiscard]] std::vector<SheetFill> trimToDemand(std::span<const SheetFill> layouts,
                                                  std::span<const std::size_t> chosen,
                                                  std::span<const std::int32_t> qty);

} // namespace engine::detail
