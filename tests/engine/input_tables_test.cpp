#include "engine/input_tables.h"

#include <gtest/gtest.h>

using namespace engine;

namespace {
const BandValues kNone{"none", "0", "-"};
const BandValues kPvc{"PVC", "0.2", "A"};
} // namespace

TEST(InputEntryRow, QuantityRules)
{
    std::int32_t q = 0;
    EXPECT_EQ(checkEntryRow("60", "40", "3", q), Msg::Ok);
    EXPECT_EQ(q, 3);
    EXPECT_EQ(checkEntryRow("", "40", "3", q), Msg::EntryRowIncomplete);
    EXPECT_EQ(checkEntryRow("60", "", "3", q), Msg::EntryRowIncomplete);
    EXPECT_EQ(checkEntryRow("60", "40", "0", q), Msg::EntryRowIncomplete);
    EXPECT_EQ(checkEntryRow("60", "40", "-2", q), Msg::EntryRowIncomplete);
    EXPECT_EQ(checkEntryRow("60", "40", "x", q), Msg::EntryRowIncomplete);
    EXPECT_EQ(checkEntryRow("60", "40", "2.5", q), Msg::QuantityNotWhole);
    EXPECT_EQ(checkEntryRow("60", "40", "2.0", q), Msg::Ok);
    EXPECT_EQ(q, 2);
}

TEST(InputEntryRow, FractionalQuantityAddsNothing)
{
    Project p;
    const Result<int> r = addSheetRow(p, {"275", "183", "2.5", ""});
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.error().msg, Msg::QuantityNotWhole);
    EXPECT_EQ(p.sheets.rowCount(), 0);
    EXPECT_EQ(p.sheetQtyTotal, 0);
}

TEST(InputEntryRow, SheetRowsAddUpTheirQuantities)
{
    Project p;
    ASSERT_EQ(*addSheetRow(p, {"275", "183", "2", "oak"}), 1);
    ASSERT_EQ(*addSheetRow(p, {"250", "120", "3", ""}), 2);
    EXPECT_EQ(p.sheets.row(1), (std::vector<std::string>{"", "275", "183", "2", "oak"}));
    EXPECT_EQ(p.sheetQtyTotal, 5);
}

TEST(InputEntryRow, PartBandsFollowTheEdgeCounts)
{
    Project p;
    ASSERT_TRUE(addPartRow(p, {"A", "60", "40", "3", "1", "2"}, kNone, kPvc).ok());
    const TextTable& t = p.parts;
    EXPECT_EQ(t.cell(1, PartCol::Rot), "0");
    EXPECT_EQ(t.cell(1, PartCol::Ini), "A");
    // KD 1: first length edge banded; KV 2: both width edges.
    EXPECT_EQ(t.cell(1, 6), "PVC");
    EXPECT_EQ(t.cell(1, 10), "0.2");
    EXPECT_EQ(t.cell(1, 14), "A");
    EXPECT_EQ(t.cell(1, 7), "none");
    EXPECT_EQ(t.cell(1, 11), "0");
    EXPECT_EQ(t.cell(1, 15), "-");
    EXPECT_EQ(t.cell(1, 8), "PVC");
    EXPECT_EQ(t.cell(1, 9), "PVC");
    EXPECT_EQ(t.cell(1, 13), "0.2");
    EXPECT_EQ(p.partQtyTotal, 3);
    ASSERT_TRUE(addPartRow(p, {"B", "60", "40", "1", "7", ""}, kNone, kPvc).ok());
    for (int c = 6; c <= 9; ++c)
        EXPECT_EQ(t.cell(2, c), "none");
}

TEST(InputEntryRow, BandCounts)
{
    EXPECT_TRUE(isBandCount("0"));
    EXPECT_TRUE(isBandCount("2"));
    EXPECT_FALSE(isBandCount("3"));
    EXPECT_FALSE(isBandCount(""));
    EXPECT_FALSE(isBandCount("01"));
}

TEST(InputCells, LengthAndQuantityChecks)
{
    EXPECT_EQ(checkLengthCell("61.234", LengthUnit::Centimetre).text, "61.23");
    EXPECT_EQ(checkLengthCell("12,5", LengthUnit::Centimetre).msg, Msg::NotANumber);
    EXPECT_NE(checkLengthCell("1/", LengthUnit::FractionalInch).msg, Msg::Ok);
    EXPECT_EQ(checkQuantityCell("4"), Msg::Ok);
    EXPECT_EQ(checkQuantityCell("2.5"), Msg::NotANumber);
    EXPECT_EQ(partCellKind(5), CellKind::RotationLock);
    EXPECT_EQ(partCellKind(9), CellKind::Band);
    EXPECT_EQ(partCellKind(12), CellKind::Derived);
    EXPECT_EQ(sheetCellKind(4), CellKind::Text);
}

TEST(InputRows, DeleteClearAndLocks)
{
    Project p;
    ASSERT_TRUE(addSheetRow(p, {"1", "1", "2", ""}).ok());
    EXPECT_FALSE(deleteSheetRow(p, 2));
    EXPECT_TRUE(deleteSheetRow(p, 1));
    EXPECT_EQ(p.sheets.rowCount(), 0);
    EXPECT_EQ(p.sheetQtyTotal, 0);

    ASSERT_TRUE(addPartRow(p, {"A", "6", "4", "1"}, kNone, kPvc).ok());
    ASSERT_TRUE(addPartRow(p, {"B", "6", "4", "2"}, kNone, kPvc).ok());
    EXPECT_TRUE(deletePartRow(p, 1));
    EXPECT_EQ(p.parts.cell(1, PartCol::Ini), "B");
    EXPECT_EQ(p.partQtyTotal, 2);
    setAllLocks(p.parts, true);
    EXPECT_EQ(p.parts.cell(1, PartCol::Rot), "1");
    EXPECT_EQ(toggledLock("1"), "0");
    EXPECT_EQ(toggledLock(toggledLock("0")), "0");
    clearPartTable(p);
    EXPECT_EQ(p.parts.rowCount(), 0);
    EXPECT_EQ(p.partQtyTotal, 0);
}
