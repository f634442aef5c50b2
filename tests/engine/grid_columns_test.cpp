#include "engine/grid_columns.h"

#include <numeric>

#include <gtest/gtest.h>

using namespace engine;

namespace {

int sum(const std::vector<int>& v) { return std::accumulate(v.begin(), v.end(), 0); }

} // namespace

TEST(PartColumnWidths, WithoutBandingFixedShares)
{
    EXPECT_EQ(partColumnWidths(400, false, {50, 30, 20}), (std::vector<int>{120, 120, 40, 80, 40}));
    // Rounding goes to the last column.
    const std::vector<int> odd = partColumnWidths(403, false, {50, 30, 20});
    EXPECT_EQ(sum(odd), 403);
    EXPECT_EQ(odd[0], 120);
    EXPECT_EQ(odd[4], 43);
}

TEST(PartColumnWidths, WithBandingNumbersGetTheirNeedBandsTheRest)
{
    // The part grid of the smallest window: about 420 pixels.
    const std::vector<int> w = partColumnWidths(420, true, {42, 30, 22});
    ASSERT_EQ(w.size(), 9u);
    EXPECT_EQ(sum(w), 420);
    EXPECT_EQ(w[0], 42);
    EXPECT_EQ(w[1], 42);
    EXPECT_EQ(w[2], 30);
    EXPECT_EQ(w[4], 22);
    // 284 pixels left: label 2/18 of it, each band column 4/18.
    EXPECT_EQ(w[3], 284 * 2 / 18);
    for (int c = 5; c < 8; ++c)
        EXPECT_EQ(w[c], 284 * 4 / 18);
    EXPECT_GE(w[8], w[5]);
    for (int c = 5; c < 9; ++c)
        EXPECT_GT(w[c], w[0]) << "band column " << c << " is wider than a length column";
}

TEST(PartColumnWidths, NarrowGridSharesInProportionToNeeds)
{
    const std::vector<int> w = partColumnWidths(200, true, {40, 30, 20});
    ASSERT_EQ(w.size(), 9u);
    EXPECT_EQ(sum(w), 200);
    for (int x : w)
        EXPECT_GT(x, 0);
    EXPECT_EQ(w[0], w[3]);
    EXPECT_LT(w[4], w[2]);
}

TEST(PartColumnWidths, NothingToShare)
{
    EXPECT_EQ(partColumnWidths(0, true, {40, 30, 20}), std::vector<int>(9, 0));
    EXPECT_EQ(partColumnWidths(-5, false, {40, 30, 20}), std::vector<int>(5, 0));
    // Needs of nothing at all still give every pixel to some column.
    EXPECT_EQ(sum(partColumnWidths(90, true, {0, 0, 0})), 90);
}

TEST(PartColumnWidths, LabelMayBeNarrowerThanALengthBandsMayNot)
{
    // The smallest window's part grid in the program's font: 447 pixels,
    // lengths 52, quantity 33, lock 24.
    const std::vector<int> w = partColumnWidths(447, true, {52, 33, 24});
    EXPECT_EQ(w[0], 52);
    EXPECT_EQ(w[3], 286 * 2 / 18);
    EXPECT_LT(w[3], 52);
    for (int c = 5; c < 9; ++c)
        EXPECT_GE(w[c], 60);
    // One pixel less for the bands than a length would need: shares by need.
    const int tight = 2 * 52 + 33 + 24 + (52 * 18 + 3) / 4 - 1;
    const std::vector<int> t = partColumnWidths(tight, true, {52, 33, 24});
    EXPECT_EQ(t[0], t[5]);
}
