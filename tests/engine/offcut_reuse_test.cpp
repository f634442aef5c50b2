#include "engine/offcut_reuse.h"

#include <gtest/gtest.h>

using namespace engine;

namespace {

Settings offcutSettings()
{
    Settings s;
    s.JedMere = 0;
    s.Testera = 4;
    s.Visak = 60;
    s.Visak2 = 60;
    return s;
}

LanguageTable language()
{
    LanguageTable l;
    l.setText(21, "good offcut");
    return l;
}

// Sheet rows as (length, width, quantity) in millimetres.
Project withSheets(const std::vector<std::array<std::string, 3>>& rows)
{
    Project p;
    for (const auto& r : rows) {
        const int row = p.sheets.appendRow({"", r[0], r[1], r[2], ""});
        const int qty = std::stoi(r[2]);
        for (int i = 0; i < qty; ++i) {
            const auto tnb = static_cast<std::int32_t>(p.input.sheets.size()) + 1;
            p.input.sheets.push_back({ParseLength(LengthUnit::Millimetre, r[0]),
                                      ParseLength(LengthUnit::Millimetre, r[1]), qty, tnb, row});
        }
    }
    p.recomputeTotals();
    p.result.complete = true;
    return p;
}

} // namespace

TEST(GoodOffcuts, KerfIsGivenBackAtTheSheetEdgeOnly)
{
    Project p = withSheets({{{"100", "80", "1"}}});  // 1000 x 800 internal
    p.result.offcuts = {{1, 900, 0, 1000, 800}, {1, 0, 700, 900, 760}, {1, 0, 760, 3, 790}};
    const Result<int> r = takeGoodOffcuts(p, offcutSettings(), language());
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(*r, 1);
    ASSERT_EQ(p.sheets.rowCount(), 2);
    EXPECT_EQ(p.sheets.row(2), (std::vector<std::string>{"", "10", "80", "1", "good offcut"}));
    EXPECT_EQ(p.sheetQtyTotal, 2);
}

TEST(GoodOffcuts, LengthAndWidthHaveTheirOwnMinimum)
{
    Project p = withSheets({{{"100", "80", "1"}}});
    p.result.offcuts = {{1, 900, 0, 1000, 800}};
    Settings s = offcutSettings();
    s.Visak2 = 801;
    EXPECT_EQ(*takeGoodOffcuts(p, s, language()), 0);
}

TEST(GoodOffcuts, OncePerCompleteResult)
{
    Project p = withSheets({{{"100", "80", "1"}}});
    p.result.offcuts = {{1, 900, 0, 1000, 800}};
    ASSERT_TRUE(takeGoodOffcuts(p, offcutSettings(), language()).ok());
    const Result<int> again = takeGoodOffcuts(p, offcutSettings(), language());
    ASSERT_FALSE(again.ok());
    EXPECT_EQ(again.error().msg, Msg::ResultCommandUsed);
    EXPECT_EQ(p.sheets.rowCount(), 2);

    p.clearResult();
    p.result.offcuts = {{1, 900, 0, 1000, 800}};
    EXPECT_FALSE(takeGoodOffcuts(p, offcutSettings(), language()).ok());  // not shown as complete yet
    p.result.complete = true;
    EXPECT_TRUE(takeGoodOffcuts(p, offcutSettings(), language()).ok());
}

TEST(SheetSubtraction, RowUsedUpIsRemovedAndRowsBelowMoveUp)
{
    Project p = withSheets({{{"1000", "500", "2"}}, {{"800", "400", "3"}}});
    p.result.elements = {{1, 0, 0, 100, 100, 0, 1}, {2, 0, 0, 100, 100, 0, 1}};
    const Result<int> r = subtractUsedSheets(p, offcutSettings());
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(*r, 2);
    ASSERT_EQ(p.sheets.rowCount(), 1);
    EXPECT_EQ(p.sheets.cell(1, SheetCol::Len), "800");
    EXPECT_EQ(p.sheets.cell(1, SheetCol::Qty), "3");
    EXPECT_EQ(p.sheetQtyTotal, 3);
}

TEST(SheetSubtraction, TwoRowsOfTheSameSize)
{
    Project p = withSheets({{{"1000", "500", "1"}}, {{"1000", "500", "5"}}});
    for (int tnb = 1; tnb <= 3; ++tnb)
        p.result.elements.push_back({tnb, 0, 0, 100, 100, 0, 1});
    ASSERT_TRUE(subtractUsedSheets(p, offcutSettings()).ok());
    ASSERT_EQ(p.sheets.rowCount(), 1);
    EXPECT_EQ(p.sheets.cell(1, SheetCol::Qty), "3");
    EXPECT_EQ(subtractUsedSheets(p, offcutSettings()).error().msg, Msg::ResultCommandUsed);
    EXPECT_EQ(p.sheets.cell(1, SheetCol::Qty), "3");
}

TEST(SheetSubtraction, UnusedSheetsStayInStock)
{
    Project p = withSheets({{{"1000", "500", "3"}}});
    p.result.elements = {{2, 0, 0, 100, 100, 0, 1}};
    EXPECT_EQ(*subtractUsedSheets(p, offcutSettings()), 1);
    EXPECT_EQ(p.sheets.cell(1, SheetCol::Qty), "2");
}
