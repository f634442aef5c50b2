#include "engine/block_pack.h"

#include <algorithm>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "engine/guillotine.h"

using engine::CutRect;
using engine::detail::BlockPacker;
using engine::detail::FillItem;
using engine::detail::FillRect;
using engine::detail::SheetFill;

namespace {

struct PackRng {
    std::uint64_t s;
    int below(int n)
    {
        s = s * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<int>((s >> 33) % static_cast<std::uint64_t>(n));
    }
};

// Does the set `mask` of parts (one per entry of `parts`) fit a w x h piece
// by guillotine cuts? Every straight cut at every position with every split
// of the parts: slow, but plainly right.
class GuillotineReference {
public:
    GuillotineReference(std::vector<FillItem> parts) : m_parts(std::move(parts)) {}

    bool fits(unsigned mask, int w, int h)
    {
        if (mask == 0)
            return true;
        const auto memo = m_memo.find({mask, w, h});
        if (memo != m_memo.end())
            return memo->second;
        bool ok = false;
        if ((mask & (mask - 1)) == 0) {
            const FillItem& p = m_parts[static_cast<std::size_t>(__builtin_ctz(mask))];
            ok = (p.len <= w && p.wid <= h) || (p.turnable && p.wid <= w && p.len <= h);
        }
        for (unsigned a = (mask - 1) & mask; !ok && a > 0; a = (a - 1) & mask) {
            const unsigned b = mask & ~a;
            for (int x = 1; !ok && x < w; ++x)
                ok = fits(a, x, h) && fits(b, w - x, h);
            for (int y = 1; !ok && y < h; ++y)
                ok = fits(a, w, y) && fits(b, w, h - y);
        }
        m_memo[{mask, w, h}] = ok;
        return ok;
    }

private:
    std::vector<FillItem> m_parts;
    std::map<std::tuple<unsigned, int, int>, bool> m_memo;
};

// "" or the first thing wrong with a sheet's layout: parts outside the
// sheet, of the wrong size, overlapping, more of a kind than there are, or
// a layout straight cuts cannot take apart (offcuts included).
std::string packFault(const SheetFill& f, int w, int h, const std::vector<FillItem>& items, std::vector<int> avail)
{
    std::vector<CutRect> pieces;
    std::int64_t area = 0;
    for (const auto& pl : f.placed) {
        const FillItem& it = items[static_cast<std::size_t>(pl.item)];
        if (--avail[static_cast<std::size_t>(pl.item)] < 0)
            return "a kind placed too often";
        if (pl.turned && !it.turnable)
            return "a locked part turned";
        const int pw = pl.turned ? it.wid : it.len;
        const int ph = pl.turned ? it.len : it.wid;
        if (pl.at.x1 - pl.at.x != pw || pl.at.y1 - pl.at.y != ph)
            return "a part of the wrong size";
        area += pl.at.area();
        pieces.push_back(CutRect{pl.at.x, pl.at.y, pl.at.x1, pl.at.y1});
    }
    for (const FillRect& r : f.leftover)
        pieces.push_back(CutRect{r.x, r.y, r.x1, r.y1});
    std::int64_t covered = 0;
    for (std::size_t a = 0; a < pieces.size(); ++a) {
        const CutRect& p = pieces[a];
        if (p.x < 0 || p.y < 0 || p.x1 > w || p.y1 > h || p.x1 <= p.x || p.y1 <= p.y)
            return "a piece outside the sheet";
        covered += (p.x1 - p.x) * (p.y1 - p.y);
        for (std::size_t b = a + 1; b < pieces.size(); ++b) {
            const CutRect& q = pieces[b];
            if (p.x < q.x1 && q.x < p.x1 && p.y < q.y1 && q.y < p.y1)
                return "two pieces overlap";
        }
    }
    if (covered != static_cast<std::int64_t>(w) * h)
        return "parts and offcuts do not make up the sheet";
    if (area != f.area)
        return "the area is not that of the parts";
    if (!engine::isGuillotineSeparable(pieces))
        return "the layout cannot be cut apart";
    return "";
}

} // namespace

TEST(BlockPack, FindsTheBestSubsetOfEveryGuillotineLayout)
{
    int packedAll = 0;
    int leftSome = 0;
    for (std::uint64_t seed = 1; seed <= 80; ++seed) {
        PackRng r{seed};
        const int w = 5 + r.below(5);
        const int h = 5 + r.below(5);
        std::vector<FillItem> items;
        std::vector<int> avail;
        std::vector<double> value;
        std::vector<FillItem> copies;  // one per part, for the reference
        std::vector<double> copyValue;
        const int kinds = 2 + r.below(3);
        for (int k = 0; k < kinds; ++k) {
            const FillItem it{1 + r.below(w), 1 + r.below(h), r.below(3) != 0};
            items.push_back(it);
            avail.push_back(1 + r.below(2));
            value.push_back(static_cast<double>(it.len * it.wid) + 0.1 * r.below(5));
            for (int c = 0; c < avail.back(); ++c) {
                copies.push_back(it);
                copyValue.push_back(value.back());
            }
        }
        GuillotineReference ref(copies);
        const auto n = static_cast<unsigned>(copies.size());
        for (const std::int64_t minArea : {std::int64_t{0}, static_cast<std::int64_t>(w) * h * 3 / 4}) {
            double bestValue = -1;
            for (unsigned mask = 1; mask < (1U << n); ++mask) {
                double v = 0;
                std::int64_t a = 0;
                for (unsigned i = 0; i < n; ++i)
                    if (mask & (1U << i)) {
                        v += copyValue[i];
                        a += static_cast<std::int64_t>(copies[i].len) * copies[i].wid;
                    }
                if (a >= minArea && v > bestValue && ref.fits(mask, w, h))
                    bestValue = v;
            }
            BlockPacker packer;
            SheetFill f;
            const bool found = packer.pack(w, h, items, value, avail, minArea, 1000000, f);
            ASSERT_EQ(found, bestValue >= 0) << "seed " << seed << " min " << minArea;
            if (!found)
                continue;
            EXPECT_NEAR(f.value, bestValue, 1e-9) << "seed " << seed << " min " << minArea;
            EXPECT_EQ(packFault(f, w, h, items, avail), "") << "seed " << seed;
            EXPECT_GE(f.area, minArea);
            const auto placed = static_cast<unsigned>(f.placed.size());
            (placed == n ? packedAll : leftSome) += 1;
        }
    }
    // Both kinds of answer occur.
    EXPECT_GT(packedAll, 20);
    EXPECT_GT(leftSome, 20);
}

TEST(BlockPack, PacksAnExactTiling)
{
    // A 10 x 10 sheet: a column of 4 x 6 over 4 x 4 beside a 6 x 3 strip
    // over a 6 x 7 block, nothing wasted.
    const std::vector<FillItem> items = {{4, 6, false}, {4, 4, false}, {6, 3, false}, {6, 7, false}};
    const std::vector<int> avail = {1, 1, 1, 1};
    const std::vector<double> value = {24, 16, 18, 42};
    BlockPacker packer;
    SheetFill f;
    ASSERT_TRUE(packer.pack(10, 10, items, value, avail, 100, 1000, f));
    EXPECT_EQ(f.placed.size(), 4U);
    EXPECT_EQ(f.area, 100);
    EXPECT_TRUE(f.leftover.empty());
    EXPECT_EQ(packFault(f, 10, 10, items, avail), "");
    // Asking for more than the sheet holds finds nothing.
    EXPECT_FALSE(packer.pack(10, 10, items, value, avail, 101, 1000, f));
    EXPECT_TRUE(f.placed.empty());
}

TEST(BlockPack, LockedPartsStayAsEntered)
{
    // Two 2 x 8 parts on an 8 x 4 sheet fit only turned.
    const std::vector<FillItem> locked = {{2, 8, false}};
    const std::vector<FillItem> turnable = {{2, 8, true}};
    const std::vector<int> avail = {2};
    const std::vector<double> value = {16};
    BlockPacker packer;
    SheetFill f;
    EXPECT_FALSE(packer.pack(8, 4, locked, value, avail, 1, 1000, f));
    ASSERT_TRUE(packer.pack(8, 4, turnable, value, avail, 1, 1000, f));
    EXPECT_EQ(f.placed.size(), 2U);
    EXPECT_EQ(packFault(f, 8, 4, turnable, avail), "");
}

TEST(BlockPack, TooManyKindsAreRefused)
{
    // Each kind takes three bits of the key (one for its count, two guard
    // bits); a few hundred kinds pass the key's width.
    std::vector<FillItem> items(400, FillItem{1, 1, true});
    std::vector<int> avail(items.size(), 1);
    std::vector<double> value(items.size(), 1.0);
    BlockPacker packer;
    SheetFill f;
    EXPECT_FALSE(packer.pack(100, 100, items, value, avail, 0, 1000, f));
    // Many parts of one kind take one field.
    const std::vector<FillItem> one = {{1, 1, true}};
    const std::vector<int> many = {20};
    ASSERT_TRUE(packer.pack(4, 5, one, value, many, 20, 100000, f));
    EXPECT_EQ(f.placed.size(), 20U);
    EXPECT_EQ(packFault(f, 4, 5, one, many), "");
}
