#include "engine/deep_engine.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/auto_run.h"
#include "engine/deep_run.h"
#include "engine/guillotine.h"
#include "engine/project.h"
#include "engine/rand31.h"
#include "engine/settings.h"

using namespace engine;

namespace {

Settings kerfSettings(int kerf, int autoparam = 0)
{
    Settings s;
    s.JedMere = 0;  // millimetres: "60" is 600 internal
    s.Testera = static_cast<std::uint16_t>(kerf);
    s.autoparam = autoparam;
    return s;
}

void addSheet(Project& p, int len, int wid, int qty)
{
    p.sheets.appendRow({"", std::to_string(len), std::to_string(wid), std::to_string(qty), ""});
}

void addPart(Project& p, int len, int wid, int qty, bool locked)
{
    p.parts.appendRow({"", std::to_string(len), std::to_string(wid), std::to_string(qty), "", locked ? "1" : "0"});
}

// A small reproducible source for the test inputs.
struct TestRng {
    std::uint64_t s;
    int below(int n)
    {
        s = s * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<int>((s >> 33) % static_cast<std::uint64_t>(n));
    }
};

// Everything a result must be, checked from scratch against the input:
// parts of their footprint size (turned only when allowed), inside a sheet of
// the list, no two overlapping, each row placed at most its quantity, every
// sheet separable by straight cuts. Returns "" or the first fault.
std::string layoutFault(const Project& p)
{
    const EngineInput& in = p.input;
    std::map<std::int32_t, std::int64_t> perRow;
    std::map<std::int32_t, std::vector<CutRect>> bySheet;
    for (const PlacedElement& e : p.result.elements) {
        if (e.tnb < 1 || static_cast<std::size_t>(e.tnb) > in.sheets.size())
            return "a part on no sheet";
        const SheetInstance& sheet = in.sheets[static_cast<std::size_t>(e.tnb - 1)];
        const auto row = std::find_if(in.parts.begin(), in.parts.end(), [&](const PartDemand& d) { return d.row == e.enb; });
        if (row == in.parts.end())
            return "a part of no row";
        if (e.rot != 0 && (e.rot != 1 || row->lock != 0))
            return "a locked part turned";
        const std::int32_t w = e.rot ? row->wid : row->len;
        const std::int32_t h = e.rot ? row->len : row->wid;
        if (e.x1 - e.x != w || e.y1 - e.y != h)
            return "a part of the wrong size";
        if (e.x < 0 || e.y < 0 || e.x1 > sheet.len || e.y1 > sheet.wid)
            return "a part outside its sheet";
        if (++perRow[e.enb] > row->qty)
            return "a row placed too often";
        bySheet[e.tnb].push_back(CutRect{e.x, e.y, e.x1, e.y1});
    }
    for (const Offcut& o : p.result.offcuts) {
        if (o.tnb < 1 || static_cast<std::size_t>(o.tnb) > in.sheets.size())
            return "an offcut on no sheet";
        const SheetInstance& sheet = in.sheets[static_cast<std::size_t>(o.tnb - 1)];
        if (o.x < 0 || o.y < 0 || o.x1 > sheet.len || o.y1 > sheet.wid || o.x1 <= o.x || o.y1 <= o.y)
            return "an offcut outside its sheet";
    }
    for (const auto& [tnb, rects] : bySheet) {
        for (std::size_t a = 0; a < rects.size(); ++a)
            for (std::size_t b = a + 1; b < rects.size(); ++b)
                if (rects[a].x < rects[b].x1 && rects[b].x < rects[a].x1 && rects[a].y < rects[b].y1
                    && rects[b].y < rects[a].y1)
                    return "two parts overlap on sheet " + std::to_string(tnb);
        if (!isGuillotineSeparable(rects))
            return "sheet " + std::to_string(tnb) + " cannot be cut apart";
    }
    return "";
}

LayoutScore scoreOf(const Project& p)
{
    return scoreLayout(DeepLayout{p.result.elements, p.result.offcuts}, p.input.parts, p.input.sheets);
}

std::size_t sheetsUsed(const Project& p)
{
    std::set<std::int32_t> used;
    for (const PlacedElement& e : p.result.elements)
        used.insert(e.tnb);
    return used.size();
}

DeepRunOutcome deepRun(Project& p, const Settings& s, int threads, std::int64_t effort = 20000)
{
    Rand31 rng;
    DeepRunOptions o;
    o.automatic.rng = &rng;
    o.automatic.threads = threads;
    o.deep.threads = threads;
    o.deep.effort = effort;
    return runDeep(p, s, o);
}

// A random project: one or two sheet sizes, parts of mixed sizes, some locked.
Project randomProject(TestRng& r)
{
    Project p;
    const int sizes = 1 + r.below(2);
    for (int k = 0; k < sizes; ++k)
        addSheet(p, 600 + r.below(1800), 400 + r.below(900), 2 + r.below(30));
    const int rows = 1 + r.below(14);
    for (int k = 0; k < rows; ++k)
        addPart(p, 40 + r.below(700), 30 + r.below(500), 1 + r.below(6), r.below(3) == 0);
    return p;
}

// Cuts a 1200 x 800 board into strips 200 or 400 high across it and each
// strip into pieces 300 or 600 long, at random.
void tile(TestRng& r, std::vector<std::pair<int, int>>& out)
{
    for (int y = 0; y < 800;) {
        const int h = 800 - y >= 400 && r.below(2) == 0 ? 400 : 200;
        for (int x = 0; x < 1200;) {
            const int w = 1200 - x >= 600 && r.below(2) == 0 ? 600 : 300;
            out.emplace_back(w, h);
            x += w;
        }
        y += h;
    }
}

} // namespace

TEST(DeepScore, OrderIsUnplacedCostOffcutCuts)
{
    const LayoutScore base{0, 100, 50, 10};
    EXPECT_TRUE((LayoutScore{0, 100, 50, 9}).betterThan(base));
    EXPECT_TRUE((LayoutScore{0, 100, 51, 99}).betterThan(base));
    EXPECT_TRUE((LayoutScore{0, 99, 0, 99}).betterThan(base));
    EXPECT_TRUE((LayoutScore{0, 1000, 0, 99}).betterThan(LayoutScore{1, 1, 100, 1}));
    EXPECT_FALSE(base.betterThan(base));
    EXPECT_FALSE((LayoutScore{0, 100, 49, 1}).betterThan(base));
}

TEST(DeepScore, CutsOfWorkedLayouts)
{
    // Two strips across the board: one cut.
    EXPECT_EQ(countCuts({{0, 0, 100, 40}, {0, 40, 100, 100}}), 1);
    // A column cut off, then the rest in two: two cuts.
    EXPECT_EQ(countCuts({{0, 0, 30, 100}, {30, 0, 100, 50}, {30, 50, 100, 100}}), 2);
    // Three strips side by side: two cuts in one pass.
    EXPECT_EQ(countCuts({{0, 0, 10, 5}, {10, 0, 20, 5}, {20, 0, 30, 5}}), 2);
    // The pinwheel no straight cut separates: one per piece.
    EXPECT_EQ(countCuts({{0, 0, 20, 10}, {20, 0, 30, 20}, {10, 20, 30, 30}, {0, 10, 10, 30}, {10, 10, 20, 20}}), 5);
    EXPECT_EQ(countCuts({}), 0);
}

TEST(DeepScore, CostCountsSheetsHoldingParts)
{
    const std::vector<PartDemand> demand = {{10, 10, 3, 1, 0}};
    const std::vector<SheetInstance> sheets = {{100, 50, 2, 1, 1}, {100, 50, 2, 2, 1}, {200, 50, 1, 3, 2}};
    DeepLayout l;
    l.elements = {{3, 0, 0, 10, 10, 0, 1}, {1, 0, 0, 10, 10, 0, 1}};
    l.offcuts = {{1, 10, 0, 100, 50}, {1, 0, 10, 10, 50}, {3, 10, 0, 200, 50}};
    const LayoutScore s = scoreLayout(l, demand, sheets);
    EXPECT_EQ(s.unplaced, 1);
    EXPECT_EQ(s.cost, 100 * 50 + 200 * 50);
    EXPECT_EQ(s.biggestOffcut, 190 * 50);
    const std::vector<std::int64_t> prices = {7, 7, 5};
    EXPECT_EQ(scoreLayout(l, demand, sheets, prices).cost, 12);
}

TEST(DeepRun, ExactTilingsNeedOnlyTheirSheets)
{
    // Parts cut from three boards in strips fit on three boards again; the
    // area bound proves it, so the run ends there.
    int improved = 0;
    for (const bool locked : {true, false}) {
        for (std::uint64_t seed = 1; seed <= 6; ++seed) {
            TestRng r{seed * 977};
            std::vector<std::pair<int, int>> pieces;
            for (int board = 0; board < 3; ++board)
                tile(r, pieces);
            Project p;
            addSheet(p, 1200, 800, 10);
            for (const auto& [len, wid] : pieces)
                addPart(p, len, wid, 1, locked);
            const DeepRunOutcome o = deepRun(p, kerfSettings(0), 2);
            ASSERT_TRUE(o.automatic.status.ok());
            EXPECT_EQ(layoutFault(p), "") << "seed " << seed;
            EXPECT_EQ(static_cast<std::int64_t>(p.result.elements.size()), p.input.totalParts) << "seed " << seed;
            EXPECT_EQ(sheetsUsed(p), 3U) << "seed " << seed << (locked ? " locked" : " turnable");
            EXPECT_EQ(o.deep.lowerBoundSheets, 3);
            EXPECT_EQ(o.deep.stop, DeepStop::ProvenOptimal) << "seed " << seed;
            improved += o.deep.improved ? 1 : 0;
        }
    }
    EXPECT_GT(improved, 0);  // the automatic run alone does not find them all
}

TEST(DeepRun, NeverWorseThanTheAutomaticRunOnRandomInputs)
{
    int improved = 0;
    for (std::uint64_t seed = 1; seed <= 40; ++seed) {
        TestRng r{seed};
        const Project original = randomProject(r);
        const Settings s = kerfSettings(seed % 2 ? 4 : 0);

        Project automatic = original;
        Rand31 rng;
        AutoRunOptions ao;
        ao.rng = &rng;
        ASSERT_TRUE(runAutomatic(automatic, s, ao).status.ok());

        Project deep = original;
        const DeepRunOutcome o = deepRun(deep, s, 2, 5000);
        ASSERT_TRUE(o.automatic.status.ok());
        EXPECT_EQ(layoutFault(deep), "") << "seed " << seed;
        const LayoutScore a = scoreOf(automatic);
        const LayoutScore d = scoreOf(deep);
        EXPECT_FALSE(a.betterThan(d)) << "seed " << seed;
        EXPECT_EQ(o.deep.startScore, a) << "seed " << seed;
        EXPECT_EQ(d, o.deep.score) << "seed " << seed;
        if (o.deep.improved) {
            ++improved;
            EXPECT_TRUE(d.betterThan(a)) << "seed " << seed;
            EXPECT_EQ(deep.result.method, ResultMethod::Deep);
        } else {
            EXPECT_EQ(deep.result.elements, automatic.result.elements) << "seed " << seed;
            EXPECT_EQ(deep.result.offcuts, automatic.result.offcuts) << "seed " << seed;
            EXPECT_EQ(deep.result.method, ResultMethod::DeepKeptAutomatic);
        }
        // Sheets of one size are used from the front of the list.
        if (original.sheets.rowCount() == 1 && d.unplaced == 0) {
            for (const PlacedElement& e : deep.result.elements)
                EXPECT_LE(static_cast<std::size_t>(e.tnb), sheetsUsed(deep)) << "seed " << seed;
        }
        // A deep plan takes the sheets of every run of equal sheets from the
        // front of the run, also after emptying a sheet in the middle.
        if (o.deep.improved) {
            const std::vector<SheetInstance>& sheets = deep.input.sheets;
            std::set<std::int32_t> used;
            for (const PlacedElement& e : deep.result.elements)
                used.insert(e.tnb);
            for (std::size_t k = 1; k < sheets.size(); ++k) {
                const bool sameRun = sheets[k].len == sheets[k - 1].len && sheets[k].wid == sheets[k - 1].wid
                    && sheets[k].row == sheets[k - 1].row;
                if (sameRun && used.count(sheets[k].tnb) > 0) {
                    EXPECT_EQ(used.count(sheets[k - 1].tnb), 1U) << "seed " << seed << ", sheet " << sheets[k].tnb;
                }
            }
        }
    }
    EXPECT_GT(improved, 5);  // the comparison above is not empty
}

TEST(DeepRun, SameResultOnOneAndTwoThreads)
{
    for (std::uint64_t seed = 100; seed < 106; ++seed) {
        TestRng r{seed};
        const Project original = randomProject(r);
        Project one = original;
        Project two = original;
        const DeepRunOutcome a = deepRun(one, kerfSettings(4), 1, 8000);
        const DeepRunOutcome b = deepRun(two, kerfSettings(4), 2, 8000);
        EXPECT_EQ(one.result.elements, two.result.elements) << "seed " << seed;
        EXPECT_EQ(one.result.offcuts, two.result.offcuts) << "seed " << seed;
        EXPECT_EQ(a.deep.work, b.deep.work);
        EXPECT_EQ(a.deep.passes, b.deep.passes);
        EXPECT_EQ(a.deep.stop, b.deep.stop);
    }
}

TEST(DeepRun, CancelKeepsTheAutomaticResult)
{
    // The first random input the deep run improves on.
    Project original;
    for (std::uint64_t seed = 1;; ++seed) {
        TestRng r{seed};
        original = randomProject(r);
        Project probe = original;
        if (deepRun(probe, kerfSettings(4), 1, 5000).deep.improved)
            break;
        ASSERT_LT(seed, 50U);
    }
    Project automatic = original;
    Rand31 rng;
    AutoRunOptions ao;
    ao.rng = &rng;
    ASSERT_TRUE(runAutomatic(automatic, kerfSettings(4), ao).status.ok());

    Project p = original;
    std::atomic<bool> cancel{true};
    Rand31 rng2;
    DeepRunOptions o;
    o.automatic.rng = &rng2;
    o.deep.effort = 5000;
    o.deep.cancel = &cancel;
    const DeepRunOutcome out = runDeep(p, kerfSettings(4), o);
    EXPECT_EQ(out.deep.stop, DeepStop::Cancelled);
    EXPECT_FALSE(out.deep.improved);
    EXPECT_EQ(p.result.elements, automatic.result.elements);
    EXPECT_EQ(p.result.offcuts, automatic.result.offcuts);
    EXPECT_EQ(p.result.method, ResultMethod::Automatic);
}

TEST(DeepRun, PartsWithoutAreaLeaveTheAutomaticResult)
{
    Project p;
    addSheet(p, 1000, 500, 3);
    addPart(p, 300, 200, 4, false);
    addPart(p, 0, 200, 2, false);
    const DeepRunOutcome o = deepRun(p, kerfSettings(0), 1);
    EXPECT_EQ(o.deep.stop, DeepStop::NotApplicable);
    EXPECT_FALSE(o.deep.improved);
}

TEST(DeepRun, OptimalAutomaticResultEndsAtOnce)
{
    Project p;
    addSheet(p, 1000, 1000, 2);
    addPart(p, 1000, 1000, 1, false);
    const DeepRunOutcome o = deepRun(p, kerfSettings(0), 1);
    EXPECT_EQ(o.deep.stop, DeepStop::ProvenOptimal);
    EXPECT_EQ(o.deep.passes, 0);
    EXPECT_EQ(p.result.method, ResultMethod::DeepKeptAutomatic);
}
