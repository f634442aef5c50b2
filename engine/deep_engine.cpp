#include "engine/deep_engine.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <map>
#include <system_error>
#include <thread>
#include <utility>

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
    std::int64_t cuts = 0;
    std::vector<std::pair<std::size_t, std::size_t>> pending;
    pending.emplace_back(0, rects.size());
    const std::span<CutRect> all(rects);
    while (!pending.empty()) {
        const auto [from, to] = pending.back();
        pending.pop_back();
        if (to - from <= 1)
            continue;
        const std::span<CutRect> group = all.subspan(from, to - from);
        bool cut = false;
        for (int axis = 0; axis < 2 && !cut; ++axis) {
            const auto lo = [axis](const CutRect& r) { return axis == 0 ? r.x : r.y; };
            const auto hi = [axis](const CutRect& r) { return axis == 0 ? r.x1 : r.y1; };
            std::sort(group.begin(), group.end(), [&](const CutRect& a, const CutRect& b) {
                return lo(a) != lo(b) ? lo(a) < lo(b) : hi(a) < hi(b);
            });
            std::size_t start = 0;
            std::int64_t reach = hi(group[0]);
            for (std::size_t k = 1; k <= group.size(); ++k) {
                if (k == group.size() || lo(group[k]) >= reach) {
                    if (start == 0 && k == group.size())
                        break;
                    if (k < group.size())
                        ++cuts;
                    pending.emplace_back(from + start, from + k);
                    cut = true;
                    start = k;
                }
                if (k < group.size())
                    reach = std::max(reach, hi(group[k]));
            }
        }
        if (!cut)
            cuts += static_cast<std::int64_t>(group.size());
    }
    return cuts;
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
        : m_p(p), m_rng(seed), m_budget(static_cast<std::uint64_t>(budget))
    {
        m_mult.assign(p.items.size(), 1.0);
        m_value.assign(p.items.size(), 0.0);
    }

    // Builds plans until the work done reaches `target` (or the budget, or
    // the best plan reaches the bound). Returns false when it has nothing
    // more to do.
    bool runUntil(std::uint64_t target, const std::function<bool()>& stopNow)
    {
        while (work() < std::min(target, m_budget)) {
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
    void bestFill(std::size_t s, SheetFill& best)
    {
        const SheetInstance& sh = m_p.sheets[s];
        best = SheetFill{};
        bool have = false;
        for (int t = 0; t < m_p.triesPerSheet; ++t) {
            const FillPolicy pol = drawPolicy(t);
            m_filler.fill(sh.len, sh.wid, m_p.items, m_value, m_avail, pol, m_rng, m_try);
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

    void consider()
    {
        if (m_haveBound && (m_plan.unplaced > m_bound.unplaced
                            || (m_plan.unplaced == m_bound.unplaced && m_plan.cost > m_bound.cost)))
            return;
        const DeepLayout layout = layoutOf(m_plan, m_p);
        const LayoutScore s = scoreOf(layout);
        if (!m_haveBest || s.betterThan(m_bestScore)) {
            m_best = m_plan;
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
    LayoutScore m_bestScore;
    bool m_haveBest = false;
    LayoutScore m_bound;  // the best known score: the start plan or a better one
    bool m_haveBound = false;
    std::int64_t m_passes = 0;
};

constexpr int kChains = 2;
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
    if (timedOut)
        out.stop = DeepStop::TimeLimit;
    else if (p.lowerBoundCost > 0 && out.score.unplaced == 0 && out.score.cost <= p.lowerBoundCost)
        out.stop = DeepStop::ProvenOptimal;
    else
        out.stop = DeepStop::EffortSpent;
    return out;
}

} // namespace engine
