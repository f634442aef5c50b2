#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/auto_run.h"
#include "engine/guillotine.h"
#include "quality/runs.h"

namespace {

using quality::Instance;
using quality::Rect;

Instance squares(int count)
{
    Instance inst;
    inst.id = "squares";
    inst.stock = {{10, 10, 100}};
    inst.items = {{5, 5, count}};
    return inst;
}

TEST(InstanceProject, SheetAndPartRows)
{
    Instance inst;
    inst.id = "two sizes";
    inst.stock = {{30, 20, 600}, {25, 25, 625}};
    inst.items = {{26, 4, 3}, {10, 8, 2}};
    const auto turnable = quality::makeProject(inst, true);
    ASSERT_TRUE(turnable.ok()) << turnable.error;
    const engine::Project& p = turnable.value;
    ASSERT_EQ(p.sheetRowCount(), 2);
    // 26 x 4 fits the 30 x 20 sheet only: its sheets take 5 parts one by
    // one, the 25 x 25 ones 2.
    EXPECT_EQ(p.sheets.row(1), (std::vector<std::string>{"", "30", "20", "5", ""}));
    EXPECT_EQ(p.sheets.row(2), (std::vector<std::string>{"", "25", "25", "2", ""}));
    ASSERT_EQ(p.partRowCount(), 2);
    EXPECT_EQ(p.parts.cell(1, engine::PartCol::Len), "26");
    EXPECT_EQ(p.parts.cell(1, engine::PartCol::Wid), "4");
    EXPECT_EQ(p.parts.cell(1, engine::PartCol::Qty), "3");
    EXPECT_EQ(p.parts.cell(1, engine::PartCol::Rot), "0");
    EXPECT_EQ(p.partQtyTotal, 5);

    const auto locked = quality::makeProject(inst, false);
    ASSERT_TRUE(locked.ok()) << locked.error;
    EXPECT_EQ(locked.value.sheets.cell(2, engine::SheetCol::Qty), "2");
    EXPECT_EQ(locked.value.parts.cell(2, engine::PartCol::Rot), "1");

    // 4 x 26 fits the 30 x 20 sheet only turned.
    inst.items.push_back({4, 26, 1});
    EXPECT_TRUE(quality::makeProject(inst, true).ok());
    EXPECT_EQ(quality::makeProject(inst, false).error, "two sizes: an item 4 x 26 fits no stock size");
}

TEST(InstanceProject, SharesTheStockLimitAndRefusesHugeSizes)
{
    Instance inst = squares(4000);
    inst.stock.push_back({20, 20, 400});
    const auto r = quality::makeProject(inst, true);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.value.sheets.cell(1, engine::SheetCol::Qty), "2500");
    EXPECT_EQ(r.value.sheets.cell(2, engine::SheetCol::Qty), "2500");
    EXPECT_FALSE(quality::makeProject(squares(10001), true).ok());
    Instance huge = squares(1);
    huge.stock = {{7000, 7000, 49000000}};
    EXPECT_EQ(quality::makeProject(huge, true).error, "squares: a stock size is too large for 32-bit areas");
}

TEST(Guillotine, SeparatesGridsNotPinwheels)
{
    EXPECT_TRUE(engine::isGuillotineSeparable({}));
    EXPECT_TRUE(engine::isGuillotineSeparable({{0, 0, 5, 5}, {5, 0, 10, 5}, {0, 5, 10, 10}}));
    EXPECT_TRUE(engine::isGuillotineSeparable({{0, 0, 5, 3}, {0, 3, 5, 10}, {5, 0, 10, 7}, {5, 7, 10, 10}}));
    // Four rectangles round a square hole: no cut runs through.
    const std::vector<Rect> pinwheel = {{0, 0, 6, 2}, {6, 0, 8, 6}, {2, 6, 8, 8}, {0, 2, 2, 8}};
    EXPECT_FALSE(engine::isGuillotineSeparable(pinwheel));
    std::vector<Rect> twoPinwheels = pinwheel;
    for (const Rect& r : pinwheel)
        twoPinwheels.push_back({r.x + 10, r.y, r.x1 + 10, r.y1});
    EXPECT_FALSE(engine::isGuillotineSeparable(twoPinwheels));
}

engine::Project placed(std::vector<engine::PlacedElement> elements)
{
    engine::Project p = quality::makeProject(squares(4), false).value;
    EXPECT_TRUE(engine::PrepareEngineInput(p, quality::BenchSettings()).ok());
    p.result.elements = std::move(elements);
    return p;
}

TEST(Inspection, CountsSheetsAndFindsFaults)
{
    const quality::Outcome good =
        quality::inspectLayout(placed({{1, 0, 0, 50, 50, 0, 1}, {1, 50, 0, 100, 50, 0, 1}, {3, 0, 0, 50, 50, 0, 1},
                                 {3, 0, 50, 50, 100, 0, 1}}));
    EXPECT_TRUE(good.complete);
    EXPECT_EQ(good.fault, "");
    EXPECT_TRUE(good.guillotine);
    EXPECT_EQ(good.sheets, 2);
    EXPECT_EQ(good.sheetArea, 200);

    const quality::Outcome partial = quality::inspectLayout(placed({{2, 0, 0, 50, 50, 0, 1}}));
    EXPECT_FALSE(partial.complete);
    EXPECT_EQ(partial.fault, "");
    EXPECT_EQ(partial.sheets, 1);

    EXPECT_EQ(quality::inspectLayout(placed({{1, 0, 0, 50, 50, 0, 1}, {1, 40, 40, 90, 90, 0, 1}})).fault,
              "two parts overlap on sheet 1");
    EXPECT_EQ(quality::inspectLayout(placed({{1, 0, 0, 50, 50, 1, 1}})).fault, "a part turned that may not turn");
    EXPECT_EQ(quality::inspectLayout(placed({{1, 0, 0, 50, 40, 0, 1}})).fault, "a part of the wrong size");
    EXPECT_EQ(quality::inspectLayout(placed({{1, 60, 0, 110, 50, 0, 1}})).fault, "a part outside its sheet");
    EXPECT_EQ(quality::inspectLayout(placed({{5, 0, 0, 50, 50, 0, 1}})).fault, "a part on no sheet or of no row");
    EXPECT_EQ(quality::inspectLayout(placed({{1, 0, 0, 50, 50, 0, 1}, {1, 50, 0, 100, 50, 0, 1}, {1, 0, 50, 50, 100, 0, 1},
                                       {1, 50, 50, 100, 100, 0, 1}, {2, 0, 0, 50, 50, 0, 1}}))
                  .fault,
              "a row placed more often than its quantity");
}

TEST(Runs, BothEnginesFillOneSheetWithFourSquares)
{
    const engine::Project p = quality::makeProject(squares(4), true).value;
    const quality::Outcome a = quality::runAutomaticOn(p, quality::BenchSettings(), 1);
    EXPECT_TRUE(a.complete);
    EXPECT_EQ(a.fault, "");
    EXPECT_EQ(a.sheets, 1);
    EXPECT_EQ(a.sheetArea, 100);
    const quality::Outcome m = quality::runManualOn(p, quality::BenchSettings());
    EXPECT_TRUE(m.complete);
    EXPECT_EQ(m.sheets, 1);
    EXPECT_EQ(quality::runManualOn(p, quality::BenchSettings(), "many").fault,
              "the manual mode stopped (message " + std::to_string(static_cast<int>(engine::Msg::ManualAlphaNotANumber))
                  + ")");
}

} // namespace

namespace {

TEST(InstanceProject, SizesBecomeTenthsOfMillimetres)
{
    Instance inst;
    inst.id = "units";
    inst.stock = {{3210, 6000, 0}};
    inst.items = {{1, 3209, 2}};
    engine::Project p = quality::makeProject(inst, true).value;
    ASSERT_TRUE(engine::PrepareEngineInput(p, quality::BenchSettings()).ok());
    ASSERT_EQ(p.input.sheets.size(), 2U);
    EXPECT_EQ(p.input.sheets[0].len, 32100);
    EXPECT_EQ(p.input.sheets[0].wid, 60000);
    ASSERT_EQ(p.input.parts.size(), 1U);
    EXPECT_EQ(p.input.parts[0].len, 10);
    EXPECT_EQ(p.input.parts[0].wid, 32090);
    EXPECT_EQ(p.input.parts[0].lock, 0);
}

TEST(Runs, PublishedInstanceGivesTheKnownSheetCounts)
{
    // The public instances (VELMORA_BENCH_DATA_DIR when configuring).
    std::string path = BENCH_DATA_DIR;
    path += "/2dbpp-bw-mv/Class_01.2bp";
    if (!std::filesystem::exists(path))
        GTEST_SKIP() << "no benchmark data: " << path << " is missing (set VELMORA_BENCH_DATA_DIR)";
    const auto text = quality::readTextFile(path);
    ASSERT_TRUE(text.ok()) << text.error;
    const auto instances = quality::readClassFile(text.value, "Class_01.2bp");
    ASSERT_TRUE(instances.ok()) << instances.error;
    // Class_01.2bp_20_1: best known 7 sheets turnable, 8 locked.
    const Instance& first = instances.value.front();
    const quality::Outcome turnable =
        quality::runAutomaticOn(quality::makeProject(first, true).value, quality::BenchSettings(), 1);
    EXPECT_TRUE(turnable.complete);
    EXPECT_TRUE(turnable.guillotine);
    EXPECT_EQ(turnable.sheets, 7);
    EXPECT_EQ(turnable.sheetArea, 700);
    const quality::Outcome locked =
        quality::runAutomaticOn(quality::makeProject(first, false).value, quality::BenchSettings(), 2);
    EXPECT_TRUE(locked.complete);
    EXPECT_EQ(locked.sheets, 8);
}

} // namespace
