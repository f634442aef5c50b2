#include "engine/pattern_cover.h"

#include <vector>

#include <gtest/gtest.h>

#include "engine/guillotine.h"

using namespace engine;
using namespace engine::detail;

namespace {

SheetFill alone(std::int32_t item, std::int32_t len, std::int32_t wid)
{
    SheetFill f;
    f.placed.push_back(FillPlacement{item, FillRect{0, 0, len, wid}, false});
    f.area = static_cast<std::int64_t>(len) * wid;
    return f;
}

PatternPool poolOf(const std::vector<SheetFill>& layouts, std::size_t items)
{
    PatternPool pool(items);
    for (const SheetFill& f : layouts)
        pool.add(f);
    return pool;
}

// Whether the layouts hold exactly `qty` of every item, each part inside a
// w x h sheet, none overlapping, every sheet cut apart by guillotine cuts.
std::string coverFault(const std::vector<SheetFill>& sheets, const std::vector<FillItem>& items,
                       const std::vector<std::int32_t>& qty, std::int32_t w, std::int32_t h)
{
    std::vector<std::int32_t> held(qty.size(), 0);
    for (const SheetFill& s : sheets) {
        std::vector<CutRect> rects;
        for (const FillPlacement& pl : s.placed) {
            const FillItem& it = items[static_cast<std::size_t>(pl.item)];
            const std::int32_t pw = pl.turned ? it.wid : it.len;
            const std::int32_t ph = pl.turned ? it.len : it.wid;
            if (pl.at.x1 - pl.at.x != pw || pl.at.y1 - pl.at.y != ph)
                return "a part of the wrong size";
            if (pl.turned && !it.turnable)
                return "a locked part turned";
            if (pl.at.x < 0 || pl.at.y < 0 || pl.at.x1 > w || pl.at.y1 > h)
                return "a part outside the sheet";
            for (const CutRect& r : rects)
                if (r.x < pl.at.x1 && pl.at.x < r.x1 && r.y < pl.at.y1 && pl.at.y < r.y1)
                    return "two parts overlap";
            rects.push_back(CutRect{pl.at.x, pl.at.y, pl.at.x1, pl.at.y1});
            ++held[static_cast<std::size_t>(pl.item)];
        }
        if (!isGuillotineSeparable(rects))
            return "a sheet that cannot be cut apart";
    }
    return held == qty ? "" : "the parts held differ from the demand";
}

} // namespace

TEST(PatternPool, KeepsOneLayoutPerMultisetOfParts)
{
    PatternPool a(3);
    a.add(alone(0, 10, 10));
    SheetFill moved = alone(0, 10, 10);
    moved.placed[0].at = FillRect{5, 5, 15, 15};
    a.add(moved);  // the same part elsewhere: not kept
    a.add(SheetFill{});
    ASSERT_EQ(a.layouts().size(), 1U);
    EXPECT_EQ(a.layouts()[0].placed[0].at.x, 0);

    PatternPool b(3);
    b.add(alone(1, 10, 10));
    b.add(alone(0, 10, 10));
    a.merge(b);
    ASSERT_EQ(a.layouts().size(), 2U);
    EXPECT_EQ(a.layouts()[1].placed[0].item, 1);
}

// Three kinds of part that tile a 100 x 60 sheet together (60 x 40 and
// 40 x 40 side by side, a 100 x 20 strip above), three of each: from
// layouts of one part each the generated layouts must reach three sheets.
TEST(ColumnGeneration, FindsTheTilingFromLayoutsOfOnePart)
{
    const std::vector<FillItem> items = {{60, 40, true}, {40, 40, true}, {100, 20, false}};
    const std::vector<std::int32_t> qty = {3, 3, 3};
    const PatternPool pool = poolOf({alone(0, 60, 40), alone(1, 40, 40), alone(2, 100, 20)}, 3);
    std::uint64_t work = 0;
    const auto never = [] { return false; };
    const std::vector<SheetFill> three = coverByColumnGeneration(100, 60, items, qty, pool, 3, 100000, work, never);
    ASSERT_EQ(three.size(), 3U);
    EXPECT_EQ(coverFault(three, items, qty, 100, 60), "");

    // Two sheets cannot hold the area; a stop at once gives nothing either.
    EXPECT_TRUE(coverByColumnGeneration(100, 60, items, qty, pool, 2, 100000, work, never).empty());
    EXPECT_TRUE(coverByColumnGeneration(100, 60, items, qty, pool, 3, 100000, work, [] { return true; }).empty());
}

TEST(ColumnGeneration, SameLayoutsOnEveryRun)
{
    const std::vector<FillItem> items = {{37, 23, true}, {51, 18, true}, {29, 29, false}, {70, 12, true}};
    const std::vector<std::int32_t> qty = {5, 4, 6, 3};
    std::vector<SheetFill> singles;
    for (std::int32_t i = 0; i < 4; ++i)
        singles.push_back(alone(i, items[static_cast<std::size_t>(i)].len, items[static_cast<std::size_t>(i)].wid));
    const PatternPool pool = poolOf(singles, 4);
    std::uint64_t w1 = 0;
    std::uint64_t w2 = 0;
    const auto never = [] { return false; };
    const std::vector<SheetFill> a = coverByColumnGeneration(100, 80, items, qty, pool, 3, 200000, w1, never);
    const std::vector<SheetFill> b = coverByColumnGeneration(100, 80, items, qty, pool, 3, 200000, w2, never);
    ASSERT_FALSE(a.empty());
    EXPECT_EQ(coverFault(a, items, qty, 100, 80), "");
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t s = 0; s < a.size(); ++s) {
        ASSERT_EQ(a[s].placed.size(), b[s].placed.size());
        for (std::size_t k = 0; k < a[s].placed.size(); ++k) {
            EXPECT_EQ(a[s].placed[k].item, b[s].placed[k].item);
            EXPECT_EQ(a[s].placed[k].at.x, b[s].placed[k].at.x);
            EXPECT_EQ(a[s].placed[k].at.y, b[s].placed[k].at.y);
        }
    }
    EXPECT_EQ(w1, w2);
}
