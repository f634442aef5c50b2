#include "engine/pattern_cover.h"

#include <algorithm>
#include <functional>

namespace engine::detail {

std::uint64_t PatternPool::keyOf(const SheetFill& fill) const
{
    m_count.assign(m_items, 0);
    for (const FillPlacement& pl : fill.placed)
        ++m_count[static_cast<std::size_t>(pl.item)];
    std::uint64_t h = 1469598103934665603ULL;
    for (std::size_t i = 0; i < m_items; ++i) {
        if (m_count[i] == 0)
            continue;
        h = (h ^ (i * 0x9E3779B97F4A7C15ULL + static_cast<std::uint64_t>(m_count[i]))) * 1099511628211ULL;
    }
    return h;
}

void PatternPool::add(const SheetFill& fill)
{
    if (fill.placed.empty() || m_layouts.size() >= m_limit)
        return;
    if (m_keys.insert(keyOf(fill)).second)
        m_layouts.push_back(fill);
}

void PatternPool::merge(const PatternPool& other)
{
    for (const SheetFill& f : other.m_layouts)
        add(f);
}

namespace {

struct Pattern {
    std::vector<std::pair<std::int32_t, std::int32_t>> parts;  // item, count
};

class CoverSearch {
public:
    CoverSearch(std::span<const SheetFill> layouts, std::span<const std::int32_t> qty, std::span<const double> area,
                double sheetArea, std::uint64_t budget)
        : m_area(area), m_sheetArea(sheetArea), m_budget(budget), m_left(qty.begin(), qty.end())
    {
        const std::size_t items = qty.size();
        m_patterns.resize(layouts.size());
        m_with.resize(items);
        std::vector<std::int32_t> count(items, 0);
        for (std::size_t p = 0; p < layouts.size(); ++p) {
            std::fill(count.begin(), count.end(), 0);
            for (const FillPlacement& pl : layouts[p].placed)
                ++count[static_cast<std::size_t>(pl.item)];
            for (std::size_t i = 0; i < items; ++i)
                if (count[i] > 0) {
                    m_patterns[p].parts.emplace_back(static_cast<std::int32_t>(i), count[i]);
                    m_with[i].push_back(p);
                }
        }
        // The largest parts first: they are the hardest to place.
        for (std::size_t i = 0; i < items; ++i)
            m_order.push_back(i);
        std::stable_sort(m_order.begin(), m_order.end(),
                         [&](std::size_t a, std::size_t b) { return m_area[a] > m_area[b]; });
        for (std::size_t i = 0; i < items; ++i)
            m_leftArea += m_area[i] * m_left[i];
    }

    bool run(std::size_t sheets)
    {
        m_chosen.clear();
        return dfs(sheets);
    }
    [[nodiscard]] const std::vector<std::size_t>& chosen() const { return m_chosen; }
    [[nodiscard]] std::uint64_t work() const { return m_work; }

private:
    // Part area of pattern p that still counts towards the demand.
    double useful(std::size_t p) const
    {
        double a = 0;
        for (const auto& [i, c] : m_patterns[p].parts)
            a += m_area[static_cast<std::size_t>(i)] * std::min(c, m_left[static_cast<std::size_t>(i)]);
        return a;
    }

    bool dfs(std::size_t sheets)
    {
        if (m_leftArea <= 0.5)
            return true;
        if (sheets == 0 || m_leftArea > static_cast<double>(sheets) * m_sheetArea + 0.5 || m_work >= m_budget)
            return false;
        std::size_t item = m_order.size();
        for (const std::size_t i : m_order)
            if (m_left[i] > 0) {
                item = i;
                break;
            }
        // The layouts holding it, best first, each different coverage once;
        // one that leaves more than the other sheets can take is skipped.
        const double need = m_leftArea - static_cast<double>(sheets - 1) * m_sheetArea;
        std::vector<std::pair<double, std::size_t>> cands;
        for (const std::size_t p : m_with[item]) {
            ++m_work;
            const double u = useful(p);
            if (u + 0.5 >= need)
                cands.emplace_back(u, p);
        }
        std::stable_sort(cands.begin(), cands.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
        std::unordered_set<std::uint64_t> seen;
        int tried = 0;
        for (const auto& [u, p] : cands) {
            if (m_work >= m_budget || tried >= kBranch)
                break;
            std::uint64_t h = 1469598103934665603ULL;
            for (const auto& [i, c] : m_patterns[p].parts)
                h = (h ^ (static_cast<std::uint64_t>(i) * 0x9E3779B97F4A7C15ULL
                          + static_cast<std::uint64_t>(std::min(c, m_left[static_cast<std::size_t>(i)]))))
                    * 1099511628211ULL;
            if (!seen.insert(h).second)
                continue;
            ++tried;
            std::vector<std::int32_t> took;
            for (const auto& [i, c] : m_patterns[p].parts) {
                const std::int32_t t = std::min(c, m_left[static_cast<std::size_t>(i)]);
                took.push_back(t);
                m_left[static_cast<std::size_t>(i)] -= t;
            }
            m_leftArea -= u;
            m_chosen.push_back(p);
            if (dfs(sheets - 1))
                return true;
            m_chosen.pop_back();
            m_leftArea += u;
            for (std::size_t k = 0; k < took.size(); ++k)
                m_left[static_cast<std::size_t>(m_patterns[p].parts[k].first)] += took[k];
        }
        return false;
    }

    static constexpr int kBranch = 6;
    std::span<const double> m_area;
    double m_sheetArea;
    std::uint64_t m_budget;
    std::uint64_t m_work = 0;
    std::vector<std::int32_t> m_left;
    double m_leftArea = 0;
    std::vector<Pattern> m_patterns;
    std::vector<std::vector<std::size_t>> m_with;
    std::vector<std::size_t> m_order;
    std::vector<std::size_t> m_chosen;
};

} // namespace

std::vector<std::size_t> coverWithPatterns(std::span<const SheetFill> layouts, std::span<const std::int32_t> qty,
                                           std::span<const double> area, double sheetArea, std::size_t sheets,
                                           std::uint64_t budget, std::uint64_t& work)
{
    CoverSearch search(layouts, qty, area, sheetArea, budget);
    const bool found = search.run(sheets);
    work += search.work();
    return found ? search.chosen() : std::vector<std::size_t>{};
}

std::vector<SheetFill> trimToDemand(std::span<const SheetFill> layouts, std::span<const std::size_t> chosen,
                                    std::span<const std::int32_t> qty)
{
    std::vector<std::int32_t> left(qty.begin(), qty.end());
    std::vector<SheetFill> out;
    for (const std::size_t p : chosen) {
        SheetFill f;
        f.leftover = layouts[p].leftover;
        for (const FillPlacement& pl : layouts[p].placed) {
            std::int32_t& l = left[static_cast<std::size_t>(pl.item)];
            if (l > 0) {
                --l;
                f.placed.push_back(pl);
                f.area += pl.at.area();
            } else {
                f.leftover.push_back(pl.at);
            }
        }
        out.push_back(std::move(f));
    }
    return out;
}

} // namespace engine::detail
