#include <gtest/gtest.h>

#include "engine/guillotine.h"

using engine::CutRect;
using engine::isGuillotineSeparable;

TEST(Guillotine, GridsAndNestedStripsCanBeCut)
{
    EXPECT_TRUE(isGuillotineSeparable({}));
    EXPECT_TRUE(isGuillotineSeparable({{0, 0, 10, 10}}));
    std::vector<CutRect> grid;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 3; ++j)
            grid.push_back({i * 10, j * 20, i * 10 + 10, j * 20 + 20});
    EXPECT_TRUE(isGuillotineSeparable(grid));
    // A strip across, then pieces of different widths in each half.
    EXPECT_TRUE(isGuillotineSeparable({{0, 0, 30, 10}, {30, 0, 100, 10}, {0, 10, 70, 40}, {70, 10, 100, 40}}));
    // Gaps between pieces do not matter.
    EXPECT_TRUE(isGuillotineSeparable({{0, 0, 10, 10}, {50, 50, 60, 60}}));
}

TEST(Guillotine, PinwheelCannotBeCut)
{
    // Four pieces round a hole: every straight line across meets a piece.
    const std::vector<CutRect> pinwheel = {
        {0, 0, 20, 10}, {20, 0, 30, 20}, {10, 20, 30, 30}, {0, 10, 10, 30}};
    EXPECT_FALSE(isGuillotineSeparable(pinwheel));
    // Inside a cuttable neighbourhood it still spoils the whole sheet.
    std::vector<CutRect> sheet = pinwheel;
    sheet.push_back({40, 0, 60, 30});
    EXPECT_FALSE(isGuillotineSeparable(sheet));
}

TEST(Guillotine, LongStaircaseNeedsNoDeepRecursion)
{
    // 20,000 cuts in a row: each cut frees one strip.
    std::vector<CutRect> strips;
    for (int i = 0; i < 20000; ++i)
        strips.push_back({i, 0, i + 1, 5});
    EXPECT_TRUE(isGuillotineSeparable(strips));
}
