#include "engine/deep_engine.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <map>
#include <system_error>
#include <thread>
#include <utility>

#include "engine/pattern_cover.h"
#include "engine/sheet_fill.h"

namespace engine {

bool LayoutScore::betterThan(const LayoutScore& o) const
{
    if (unplaced != o.unplaced)
        return unplaced < o.unplaced;
    if (cost != o.cost)
        return cost < o.cost;
    if (biggestOffcut != o.biggestOffcut)
        return biggestOffcut > o.biggestOffcut;
    return cuts < o.cuts;
}

std::int64_t countCuts(std::vector<CutRect> rects)
{
    return walkCuts(rects).cuts;
}

LayoutScore scoreLayout(const DeepLayout& layout, std::span<const PartDemand> demand,
                        std::span<const SheetInstance> sheets, std::span<const std::int64_t> sheetCost)
{
    LayoutScore s;
    std::int64_t total = 0;
    for (const PartDemand& d : demand)
        total += std::max<std::int64_t>(d.qty, 0);
    s.unplaced = total - static_cast<std::int64_t>(layout.elements.size());
    std::map<std::int32_t, std::vector<CutRect>> bySheet;
    for (const PlacedElement& e : layout.elements)
        bySheet[e.tnb].push_back(CutRect{e.x, e.y, e.x1, e.y1});
    for (const auto& [tnb, pieces] : bySheet) {
        if (tnb < 1 || static_cast<std::size_t>(tnb) > sheets.size())
            continue;
        const auto k = static_cast<std::size_t>(tnb - 1);
        s.cost += k < sheetCost.size() ? sheetCost[k]
                                       : static_cast<std::int64_t>(sheets[k].len) * static_cast<std::int64_t>(sheets[k].wid);
    }
    for (const Offcut& o : layout.offcuts) {
        s.biggestOffcut = std::max(s.biggestOffcut, static_cast<std::int64_t>(o.x1 - o.x) * static_cast<std::int64_t>(o.y1 - o.y));
        if (o.x1 > o.x && o.y1 > o.y)
            bySheet[o.tnb].push_back(CutRect{o.x, o.y, o.x1, o.y1});
    }
    for (auto& [tnb, pieces] : bySheet)
        s.cuts += countCuts(std::move(pieces));
    return s;
}

namespace {

using detail::DeepRng;
using detail::FillItem;
using detail::FillPolicy;
using detail::SheetFill;
using detail::SheetFiller;

// What every chain reads.
struct Problem {
    std::vector<FillItem> items;
    std::vector<std::int32_t> itemRow;   // part row of each item
    std::vector<std::int32_t> qty;       // parts per item
    std::vector<double> area;            // of one part
    std::vector<SheetInstance> sheets;
    std::vector<std::int64_t> cost;      // per sheet
    // Runs of equal sheets (size and row) in list order.
    struct Group {
        std::size_t first = 0;
        std::size_t end = 0;
    };
    std::vector<Group> groups;
    std::vector<std::size_t> groupOf;  // per sheet
    double cheapestPerArea = 0;        // least cost per unit of sheet area
    std::int64_t totalParts = 0;
    std::int64_t lowerBoundCost = 0;   // no complete plan costs less (0: unknown)
    std::int64_t lowerBoundSheets = 0;
    int triesPerSheet = 12;
    // Sheet emptying: its share of the work, and the part values its fills
    // maximise (area, larger parts a little more).
    double emptyingShare = 0.4;
    std::vector<double> repackValue;
    // One sheet size and cost: every sheet layout made is kept for the
    // column generation at the end.
    bool keepPatterns = false;
};


struct SheetPlan {
    std::size_t sheet = 0;
    SheetFill fill;
};

struct Plan {
    std::vector<SheetPlan> sheets;
    std::int64_t unplaced = 0;
    std::int64_t cost = 0;
};

DeepLayout layoutOf(const Plan& plan, const Problem& p)
{
    DeepLayout out;
    for (const SheetPlan& sp : plan.sheets) {
        const std::int32_t tnb = p.sheets[sp.sheet].tnb;
        for (const detail::FillPlacement& pl : sp.fill.placed)
            out.elements.push_back(PlacedElement{tnb, pl.at.x, pl.at.y, pl.at.x1, pl.at.y1, pl.turned ? 1 : 0,
                                                 p.itemRow[static_cast<std::size_t>(pl.item)]});
        for (const detail::FillRect& r : sp.fill.leftover)
            if (r.x1 > r.x && r.y1 > r.y)
                out.offcuts.push_back(Offcut{tnb, r.x, r.y, r.x1, r.y1});
    }
    return out;
}

// The largest number of parts that can share no sheet: parts that, every way
// they may lie on it, are more than half the sheet in both directions.
std::int64_t pairwiseBound(const Problem& p, std::int32_t w, std::int32_t h)
{
    std::int64_t n = 0;
    for (std::size_t i = 0; i < p.items.size(); ++i) {
        const FillItem& it = p.items[i];
        const auto big = [&](std::int64_t a, std::int64_t b) {
            return a <= w && b <= h && 2 * a > w && 2 * b > h;
        };
        const auto fits = [&](std::int64_t a, std::int64_t b) { return a <= w && b <= h; };
        bool anyFit = fits(it.len, it.wid) || (it.turnable && fits(it.wid, it.len));
        bool allBig = (!fits(it.len, it.wid) || big(it.len, it.wid))
            && (!it.turnable || !fits(it.wid, it.len) || big(it.wid, it.len));
        if (anyFit && allBig)
            n += p.qty[i];
    }
    return n;
}

class Chain {
public:
    Chain(const Problem& p, std::uint64_t seed, std::int64_t budget)
        : m_p(p), m_rng(seed), m_budget(static_cast<std::uint64_t>(budget)), m_patterns(p.items.size())
    {
        m_mult.assign(p.items.size(), 1.0);
        m_value.assign(p.items.size(), 0.0);
    }

    // Builds plans until the work done reaches `target` (or the budget, or
    // the best plan reaches the bound). Returns false when it has nothing
    // more to do. Of every stretch of work the first part goes to new plans,
    // the last `emptyingShare` to emptying sheets of the best plan.
    bool runUntil(std::uint64_t target, const std::function<bool()>& stopNow)
    {
        const std::uint64_t end = std::min(target, m_budget);
        const std::uint64_t begin = work();
        const std::uint64_t plans = end > begin ? begin + static_cast<std::uint64_t>(
                                                      static_cast<double>(end - begin) * (1.0 - m_p.emptyingShare))
                                                : end;
        while (work() < plans) {
            if (reachedBound() || stopNow())
                return false;
            pass();
        }
        while (work() < end) {
            if (reachedBound() || stopNow())
                return false;
            if (!emptySheets(end, stopNow))
                break;
        }
        while (work() < end) {
            if (reachedBound() || stopNow())
                return false;
            pass();
        }
        return work() < m_budget && !reachedBound();
    }

    [[nodiscard]] std::uint64_t work() const { return m_filler.work() / 1000; }
    [[nodiscard]] bool haveBest() const { return m_haveBest; }
    [[nodiscard]] const Plan& best() const { return m_best; }
    [[nodiscard]] const LayoutScore& bestScore() const { return m_bestScore; }
    [[nodiscard]] std::int64_t passes() const { return m_passes; }
    [[nodiscard]] bool reachedBound() const
    {
        return m_haveBest && m_best.unplaced == 0 && m_p.lowerBoundCost > 0 && m_best.cost <= m_p.lowerBoundCost;
    }
    void setBound(const LayoutScore& s) { m_bound = s; m_haveBound = true; }
    [[nodiscard]] const detail::PatternPool& patterns() const { return m_patterns; }

private:
    FillPolicy drawPolicy(int attempt)
    {
        FillPolicy pol;
        if (attempt == 0)
            return pol;  // the plain rule: piece-driven, smallest piece first, larger remainder whole
        pol.pieceDriven = m_rng.uniform() < 0.7;
        pol.smallestPieceFirst = m_rng.uniform() < 0.5;
        pol.split = static_cast<int>(m_rng.below(4U));
        pol.noise = 0.15 * m_rng.uniform();
        const double b = m_rng.uniform();
        pol.exactBonus = b < 0.3 ? 0.0 : (b < 0.5 ? 0.05 : (b < 0.7 ? 0.2 : 1.0));
        // Now and then strips by a width knapsack, or a beam search.
        pol.shelves = attempt == 1 && m_rng.uniform() < 0.5;
        if (m_rng.uniform() < 0.2) {
            pol.beamWidth = 16;
            pol.beamBranch = 4;
            pol.split = 3;
        }
        return pol;
    }

    // The best of several fills of sheet `s`.
    void bestFill(std::size_t s, SheetFill& best) { bestFill(s, m_value, m_avail, best); }

    void bestFill(std::size_t s, std::span<const double> value, std::span<const std::int32_t> avail, SheetFill& best)
    {
        const SheetInstance& sh = m_p.sheets[s];
        best = SheetFill{};
        bool have = false;
        for (int t = 0; t < m_p.triesPerSheet; ++t) {
            const FillPolicy pol = drawPolicy(t);
            m_filler.fill(sh.len, sh.wid, m_p.items, value, avail, pol, m_rng, m_try);
            if (!have || m_try.value > best.value) {
                std::swap(best, m_try);
                have = true;
            }
            if (best.area == static_cast<std::int64_t>(sh.len) * sh.wid)
                break;  // the sheet is full
        }
    }

    void pass()
    {
        ++m_passes;
        const Problem& p = m_p;
        m_avail = p.qty;
        for (std::size_t i = 0; i < m_value.size(); ++i)
            m_value[i] = p.area[i] * m_mult[i];
        double remArea = 0;
        std::int64_t remParts = 0;
        for (std::size_t i = 0; i < p.items.size(); ++i) {
            remArea += p.area[i] * p.qty[i];
            remParts += p.qty[i];
        }
        m_plan.sheets.clear();
        m_plan.cost = 0;
        std::size_t next = 0;
        bool aborted = false;
        SheetFill fill;
        std::vector<std::pair<std::size_t, SheetFill>> cands;
        while (remParts > 0 && next < p.sheets.size()) {
            // The next sheet of every run of equal sheets not yet passed.
            cands.clear();
            for (std::size_t g = p.groupOf[next]; g < p.groups.size(); ++g) {
                const std::size_t s = std::max(next, p.groups[g].first);
                bestFill(s, fill);
                if (p.keepPatterns)
                    m_patterns.add(fill);
                if (!fill.placed.empty())
                    cands.emplace_back(s, fill);
            }
            if (cands.empty())
                break;  // nothing left fits any sheet left
            std::size_t pick = 0;
            bool pickAll = false;
            for (std::size_t c = 0; c < cands.size(); ++c) {
                const auto& [s, f] = cands[c];
                const bool all = static_cast<std::int64_t>(f.placed.size()) == remParts;
                const auto& [ps, pf] = cands[pick];
                if (c == 0) {
                    pickAll = all;
                    continue;
                }
                if (all != pickAll) {
                    if (all) {
                        pick = c;
                        pickAll = true;
                    }
                    continue;
                }
                if (all ? p.cost[s] < p.cost[ps]
                        : static_cast<double>(f.area) / static_cast<double>(p.cost[s])
                              > static_cast<double>(pf.area) / static_cast<double>(p.cost[ps]))
                    pick = c;
            }
            auto& [s, f] = cands[pick];
            for (const detail::FillPlacement& pl : f.placed) {
                --m_avail[static_cast<std::size_t>(pl.item)];
                remArea -= p.area[static_cast<std::size_t>(pl.item)];
                --remParts;
            }
            m_plan.cost += p.cost[s];
            m_plan.sheets.push_back(SheetPlan{s, std::move(f)});
            next = s + 1;
            // A plan that can no longer beat the best complete one is given up.
            if (m_haveBound && m_bound.unplaced == 0 && remParts > 0) {
                const double rest = std::ceil(std::max(0.0, remArea) * p.cheapestPerArea - 1e-9);
                if (static_cast<double>(m_plan.cost) + rest >= static_cast<double>(m_bound.cost)) {
                    aborted = true;
                    break;
                }
            }
        }
        m_plan.unplaced = remParts;
        correctValues(aborted);
        if (!aborted)
            consider();
    }

    // Sheet emptying, in the spirit of a goal-driven search: one sheet of
    // the best complete plan is taken away and its parts form a pool; then
    // one or two other sheets are filled again from their own parts and the
    // pool, and the change is kept when the pool does not grow in area. When
    // the pool runs dry the plan needs one sheet less. A pool that has not
    // become smaller for a long while is given up for another one. Returns
    // false when there is no complete plan of two or more sheets to work on.
    bool emptySheets(std::uint64_t end, const std::function<bool()>& stopNow)
    {
        if (!m_haveBest || m_best.unplaced != 0 || m_best.sheets.size() < 2)
            return false;
        const Problem& p = m_p;
        if (m_emptyVersion != m_bestVersion || m_emptyStale)
            startEmptying();
        std::vector<SheetPlan>& sheets = m_empty.sheets;
        const auto poolArea = [&](const std::vector<std::int32_t>& pool) {
            double a = 0;
            for (std::size_t i = 0; i < pool.size(); ++i)
                a += p.area[i] * pool[i];
            return a;
        };
        double area = poolArea(m_pool);
        std::vector<std::int32_t> avail(p.items.size(), 0);
        SheetFill fill[2];
        std::size_t stale = 0;
        const std::size_t patience = 6 * sheets.size() + 20;
        while (work() < end && !stopNow()) {
            if (stale >= patience) {
                m_emptyStale = true;  // next time another pool
                return true;
            }
            ++stale;
            // One sheet, or two.
            const std::size_t n = sheets.size() >= 2 && m_rng.uniform() < 0.3 ? 2 : 1;
            std::size_t pick[2] = {m_rng.below(static_cast<std::uint32_t>(sheets.size())), 0};
            if (n == 2) {
                pick[1] = m_rng.below(static_cast<std::uint32_t>(sheets.size() - 1));
                if (pick[1] >= pick[0])
                    ++pick[1];
            }
            avail = m_pool;
            std::int64_t before = 0;
            for (std::size_t k = 0; k < n; ++k) {
                before += sheets[pick[k]].fill.area;
                for (const detail::FillPlacement& pl : sheets[pick[k]].fill.placed)
                    ++avail[static_cast<std::size_t>(pl.item)];
            }
            std::int64_t after = 0;
            for (std::size_t k = 0; k < n; ++k) {
                bestFill(sheets[pick[k]].sheet, p.repackValue, avail, fill[k]);
                if (p.keepPatterns)
                    m_patterns.add(fill[k]);
                after += fill[k].area;
                for (const detail::FillPlacement& pl : fill[k].placed)
                    --avail[static_cast<std::size_t>(pl.item)];
            }
            if (after < before)
                continue;
            for (std::size_t k = 0; k < n; ++k)
                sheets[pick[k]].fill = std::move(fill[k]);
            m_pool = avail;
            const double now = poolArea(m_pool);
            if (now < area - 0.5)
                stale = 0;
            area = now;
            if (area > 0.5)
                continue;
            // The pool ran dry: one sheet less.
            m_empty.unplaced = 0;
            m_empty.cost = 0;
            for (const SheetPlan& sp : sheets)
                m_empty.cost += p.cost[sp.sheet];
            compactSheets(m_empty);
            m_plan = m_empty;
            consider();
            m_emptyStale = true;  // next time from the (new) best plan
            return true;
        }
        return true;
    }

    // A pool from the best plan: the parts of one of its least used sheets.
    void startEmptying()
    {
        const Problem& p = m_p;
        m_empty = m_best;
        m_emptyVersion = m_bestVersion;
        m_emptyStale = false;
        std::vector<SheetPlan>& sheets = m_empty.sheets;
        std::vector<std::pair<double, std::size_t>> byUse;
        for (std::size_t k = 0; k < sheets.size(); ++k) {
            const SheetInstance& sh = p.sheets[sheets[k].sheet];
            byUse.emplace_back(static_cast<double>(sheets[k].fill.area) / (static_cast<double>(sh.len) * sh.wid), k);
        }
        std::sort(byUse.begin(), byUse.end());
        // Mostly the least used sheet, now and then one of the next two.
        const double r = m_rng.uniform();
        const std::size_t rank = std::min<std::size_t>(byUse.size() - 1, r < 0.6 ? 0 : (r < 0.85 ? 1 : 2));
        const std::size_t t = byUse[rank].second;
        m_pool.assign(p.items.size(), 0);
        for (const detail::FillPlacement& pl : sheets[t].fill.placed)
            ++m_pool[static_cast<std::size_t>(pl.item)];
        sheets.erase(sheets.begin() + static_cast<std::ptrdiff_t>(t));
    }

    // Equal sheets are taken from the front of their run: after a sheet was
    // freed the ones after it in the run move up.
    void compactSheets(Plan& plan) const
    {
        std::vector<std::size_t> nextOf(m_p.groups.size());
        for (std::size_t g = 0; g < m_p.groups.size(); ++g)
            nextOf[g] = m_p.groups[g].first;
        for (SheetPlan& sp : plan.sheets)
            sp.sheet = nextOf[m_p.groupOf[sp.sheet]]++;
    }

    void consider()
    {
        if (m_haveBound && (m_plan.unplaced > m_bound.unplaced
                            || (m_plan.unplaced == m_bound.unplaced && m_plan.cost > m_bound.cost)))
            return;
        const DeepLayout layout = layoutOf(m_plan, m_p);
        const LayoutScore s = scoreOf(layout);
        if (!m_haveBest || s.betterThan(m_bestScore)) {
            m_best = m_plan;
            ++m_bestVersion;
            m_bestScore = s;
            m_haveBest = true;
            if (!m_haveBound || s.betterThan(m_bound))
                setBound(s);
        }
    }

    LayoutScore scoreOf(const DeepLayout& layout) const
    {
        LayoutScore s;
        s.unplaced = m_plan.unplaced;
        s.cost = m_plan.cost;
        std::map<std::int32_t, std::vector<CutRect>> bySheet;
        for (const PlacedElement& e : layout.elements)
            bySheet[e.tnb].push_back(CutRect{e.x, e.y, e.x1, e.y1});
        for (const Offcut& o : layout.offcuts) {
            s.biggestOffcut = std::max(s.biggestOffcut, static_cast<std::int64_t>(o.x1 - o.x) * (o.y1 - o.y));
            bySheet[o.tnb].push_back(CutRect{o.x, o.y, o.x1, o.y1});
        }
        for (auto& [tnb, pieces] : bySheet)
            s.cuts += countCuts(std::move(pieces));
        return s;
    }

    // Sequential value correction: a part's value per unit of area moves
    // towards the inverse of the use of the sheet it lay on, so parts that
    // ended on poorly used sheets (or on none) weigh more in the next plan.
    void correctValues(bool aborted)
    {
        const Problem& p = m_p;
        m_target.assign(p.items.size(), 0.0);
        m_count.assign(p.items.size(), 0.0);
        double worst = 1.0;
        for (const SheetPlan& sp : m_plan.sheets) {
            const SheetInstance& sh = m_p.sheets[sp.sheet];
            const double used = static_cast<double>(sp.fill.area) / (static_cast<double>(sh.len) * sh.wid);
            const double inv = 1.0 / std::max(used, 0.05);
            worst = std::max(worst, inv);
            for (const detail::FillPlacement& pl : sp.fill.placed) {
                m_target[static_cast<std::size_t>(pl.item)] += inv;
                m_count[static_cast<std::size_t>(pl.item)] += 1;
            }
        }
        const double unplacedWeight = worst * (aborted ? 1.3 : 1.5);
        for (std::size_t i = 0; i < p.items.size(); ++i) {
            if (m_avail[i] > 0) {
                m_target[i] += unplacedWeight * m_avail[i];
                m_count[i] += m_avail[i];
            }
        }
        const double rate = 0.1 + 0.4 * m_rng.uniform();
        for (std::size_t i = 0; i < p.items.size(); ++i) {
            if (m_count[i] <= 0)
                continue;
            m_mult[i] = (1.0 - rate) * m_mult[i] + rate * (m_target[i] / m_count[i]);
        }
        // Now and then a fresh start, keeping the best plan.
        if (m_passes % 200 == 0)
            for (double& m : m_mult)
                m = 1.0 + 0.2 * m_rng.uniform();
    }

    const Problem& m_p;
    DeepRng m_rng;
    std::uint64_t m_budget;
    SheetFiller m_filler;
    SheetFill m_try;
    std::vector<double> m_mult;
    std::vector<double> m_value;
    std::vector<std::int32_t> m_avail;
    std::vector<double> m_target;
    std::vector<double> m_count;
    Plan m_plan;
    Plan m_best;
    detail::PatternPool m_patterns;
    std::uint64_t m_bestVersion = 0;
    Plan m_empty;  // the plan sheet emptying works on, one sheet taken away
    std::vector<std::int32_t> m_pool;  // the parts of that sheet not yet placed again
    std::uint64_t m_emptyVersion = ~std::uint64_t{0};
    bool m_emptyStale = true;
    LayoutScore m_bestScore;
    bool m_haveBest = false;
    LayoutScore m_bound;  // the best known score: the start plan or a better one
    bool m_haveBound = false;
    std::int64_t m_passes = 0;
};

constexpr int kChains = 2;
// The column generation over the kept sheet layouts may take up to twice
// the work of the chains.
constexpr std::uint64_t kCoverEffortShare = 2;
constexpr int kRounds = 25;

} // namespace

DeepOutcome runDeepEngine(std::span<const PartDemand> demand, std::span<const SheetInstance> sheets,
                          const DeepLayout& start, const DeepOptions& options)
{
    DeepOutcome out;
    out.layout = start;
    out.startScore = scoreLayout(start, demand, sheets, options.sheetCost);
    out.score = out.startScore;
    const auto began = std::chrono::steady_clock::now();

    Problem p;
    bool usable = !sheets.empty();
    for (const PartDemand& d : demand) {
        if (d.qty <= 0)
            continue;
        if (d.len <= 0 || d.wid <= 0 || (d.lock != 0 && d.lock != 1))
            usable = false;
        p.items.push_back(FillItem{d.len, d.wid, d.lock == 0});
        p.itemRow.push_back(d.row);
        p.qty.push_back(d.qty);
        p.area.push_back(static_cast<double>(d.len) * d.wid);
        p.repackValue.push_back(std::pow(p.area.back(), 1.1));
        p.totalParts += d.qty;
    }
    for (std::size_t k = 0; k < sheets.size(); ++k) {
        const SheetInstance& s = sheets[k];
        if (s.len <= 0 || s.wid <= 0)
            usable = false;
        p.sheets.push_back(s);
        p.cost.push_back(k < options.sheetCost.size() ? options.sheetCost[k]
                                                      : static_cast<std::int64_t>(s.len) * s.wid);
        if (p.cost.back() <= 0)
            usable = false;
    }
    if (!usable || p.items.empty()) {
        out.stop = DeepStop::NotApplicable;
        return out;
    }
    p.cheapestPerArea = std::numeric_limits<double>::max();
    for (std::size_t k = 0; k < p.sheets.size(); ++k) {
        const SheetInstance& s = p.sheets[k];
        if (k == 0 || s.len != p.sheets[k - 1].len || s.wid != p.sheets[k - 1].wid || s.row != p.sheets[k - 1].row)
            p.groups.push_back(Problem::Group{k, k});
        p.groups.back().end = k + 1;
        p.groupOf.push_back(p.groups.size() - 1);
        p.cheapestPerArea = std::min(p.cheapestPerArea, static_cast<double>(p.cost[k]) / (static_cast<double>(s.len) * s.wid));
    }

    // A lower bound when every sheet has one size and cost and every part
    // fits it: the part area, and the parts that can share no sheet.
    bool oneSize = true;
    for (std::size_t k = 1; k < p.sheets.size(); ++k)
        oneSize = oneSize && p.sheets[k].len == p.sheets[0].len && p.sheets[k].wid == p.sheets[0].wid
            && p.cost[k] == p.cost[0];
    if (oneSize) {
        const std::int32_t w = p.sheets[0].len;
        const std::int32_t h = p.sheets[0].wid;
        bool allFit = true;
        double partArea = 0;
        for (std::size_t i = 0; i < p.items.size(); ++i) {
            const FillItem& it = p.items[i];
            allFit = allFit && ((it.len <= w && it.wid <= h) || (it.turnable && it.wid <= w && it.len <= h));
            partArea += p.area[i] * p.qty[i];
        }
        if (allFit) {
            const auto byArea = static_cast<std::int64_t>(std::ceil(partArea / (static_cast<double>(w) * h) - 1e-9));
            p.lowerBoundSheets = std::max(byArea, pairwiseBound(p, w, h));
            p.lowerBoundCost = p.lowerBoundSheets * p.cost[0];
            out.lowerBoundSheets = p.lowerBoundSheets;
        }
        p.keepPatterns = true;
    }
    if (p.lowerBoundCost > 0 && out.startScore.unplaced == 0 && out.startScore.cost <= p.lowerBoundCost) {
        out.stop = DeepStop::ProvenOptimal;
        return out;
    }

    const std::int64_t effort = std::clamp<std::int64_t>(options.effort, 1, kMaxDeepEffort);
    std::vector<Chain> chains;
    chains.reserve(kChains);
    for (int c = 0; c < kChains; ++c) {
        chains.emplace_back(p, 0x5EED0000ULL + static_cast<std::uint64_t>(c) * 7919ULL, effort / kChains + 1);
        chains.back().setBound(out.startScore);
    }
    int threads = options.threads;
    if (threads <= 0)
        threads = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    threads = std::min(threads, kChains);

    bool timedOut = false;
    bool cancelled = false;
    const auto stopNow = [&]() {
        if (options.cancel && options.cancel->load())
            return true;
        if (options.timeLimitSeconds > 0
            && std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count() > options.timeLimitSeconds)
            return true;
        return false;
    };
    const std::uint64_t perChain = static_cast<std::uint64_t>(effort / kChains + 1);
    std::vector<char> going(kChains, 1);
    for (int round = 1; round <= kRounds; ++round) {
        const std::uint64_t target = perChain * static_cast<std::uint64_t>(round) / kRounds;
        const auto runChain = [&](int c) {
            if (going[static_cast<std::size_t>(c)])
                going[static_cast<std::size_t>(c)] = chains[static_cast<std::size_t>(c)].runUntil(target, stopNow) ? 1 : 0;
        };
        if (threads > 1) {
            std::thread helper;
            try {
                helper = std::thread([&] { for (int c = 1; c < kChains; c += 2) runChain(c); });
            } catch (const std::system_error&) {
                for (int c = 1; c < kChains; c += 2)
                    runChain(c);
            }
            for (int c = 0; c < kChains; c += 2)
                runChain(c);
            if (helper.joinable())
                helper.join();
        } else {
            for (int c = 0; c < kChains; ++c)
                runChain(c);
        }
        if (options.progress)
            options.progress(round * 100 / kRounds);
        if (options.cancel && options.cancel->load()) {
            cancelled = true;
            break;
        }
        if (stopNow()) {
            timedOut = true;
            break;
        }
        bool anyBound = false;
        bool anyGoing = false;
        for (int c = 0; c < kChains; ++c) {
            anyBound = anyBound || chains[static_cast<std::size_t>(c)].reachedBound();
            anyGoing = anyGoing || going[static_cast<std::size_t>(c)];
        }
        if (anyBound || !anyGoing)
            break;
        // The chains share their best score, so each gives up plans that
        // cannot beat the best of all.
        LayoutScore shared = out.startScore;
        for (const Chain& ch : chains)
            if (ch.haveBest() && ch.bestScore().betterThan(shared))
                shared = ch.bestScore();
        for (Chain& ch : chains)
            ch.setBound(shared);
    }

    for (const Chain& ch : chains) {
        out.work += ch.work();
        out.passes += ch.passes();
    }
    if (cancelled) {
        out.stop = DeepStop::Cancelled;
        return out;
    }
    const Chain* winner = nullptr;
    for (const Chain& ch : chains)
        if (ch.haveBest() && (!winner || ch.bestScore().betterThan(winner->bestScore())))
            winner = &ch;
    if (winner && winner->bestScore().betterThan(out.startScore)) {
        out.layout = layoutOf(winner->best(), p);
        out.score = winner->bestScore();
        out.improved = true;
    }
    // Column generation over the sheet layouts both chains made, for one
    // sheet fewer than the best plan (parts held twice are taken off).
    if (p.keepPatterns && !timedOut && out.score.unplaced == 0 && p.lowerBoundCost > 0
        && out.score.cost > p.lowerBoundCost) {
        detail::PatternPool pool(p.items.size(), std::numeric_limits<std::size_t>::max());
        for (const Chain& ch : chains)
            pool.merge(ch.patterns());
        const auto used = static_cast<std::size_t>(out.score.cost / p.cost[0]);
        std::uint64_t coverWork = 0;
        std::vector<SheetFill> fills = detail::coverByColumnGeneration(
            p.sheets[0].len, p.sheets[0].wid, p.items, p.qty, std::move(pool), used - 1,
            static_cast<std::uint64_t>(effort) * kCoverEffortShare, coverWork, stopNow);
        out.work += coverWork;
        if (options.cancel && options.cancel->load()) {
            out.layout = start;
            out.score = out.startScore;
            out.improved = false;
            out.stop = DeepStop::Cancelled;
            return out;
        }
        timedOut = stopNow();
        if (!fills.empty()) {
            Plan plan;
            for (std::size_t k = 0; k < fills.size(); ++k) {
                plan.sheets.push_back(SheetPlan{k, std::move(fills[k])});
                plan.cost += p.cost[k];
            }
            const DeepLayout layout = layoutOf(plan, p);
            const LayoutScore score = scoreLayout(layout, demand, sheets, options.sheetCost);
            if (score.betterThan(out.score)) {
                out.layout = layout;
                out.score = score;
                out.improved = true;
            }
        }
    }
    if (timedOut)
        out.stop = DeepStop::TimeLimit;
    else if (p.lowerBoundCost > 0 && out.score.unplaced == 0 && out.score.cost <= p.lowerBoundCost)
        out.stop = DeepStop::ProvenOptimal;
    else
        out.stop = DeepStop::EffortSpent;
    return out;
}

} // namespace engine
