#include "engine/unit_change.h"

#include <gtest/gtest.h>

#include "engine/band_grid.h"

using namespace engine;

TEST(UnitChange, CentimetresToMillimetres)
{
    Project p;
    p.sheets.appendRow({"", "275", "183", "1", ""});
    p.parts.appendRow({"", "abc", "40", "1", "A", "0", "PVC", "", "", "", "0.2", "", "", ""});
    const std::vector<Msg> w = convertTables(p, LengthUnit::Centimetre, LengthUnit::Millimetre);
    EXPECT_EQ(p.sheets.cell(1, 1), "2750");
    EXPECT_EQ(p.sheets.cell(1, 2), "1830");
    EXPECT_EQ(p.parts.cell(1, 1), "abc");
    EXPECT_EQ(p.parts.cell(1, 2), "400");
    EXPECT_EQ(p.parts.cell(1, 10), "2");
    EXPECT_EQ(p.parts.cell(1, 11), "");
    // One warning for the part length; the empty band thicknesses count 0.
    EXPECT_EQ(w, std::vector<Msg>{Msg::PartCellNotConverted});
}

TEST(UnitChange, BadSheetCellWarnsOncePerCell)
{
    Project p;
    p.sheets.appendRow({"", "x", "", "1", ""});
    const std::vector<Msg> w = convertTables(p, LengthUnit::Millimetre, LengthUnit::Metre);
    EXPECT_EQ(w, (std::vector<Msg>{Msg::SheetCellNotConverted, Msg::SheetCellNotConverted}));
}

TEST(UnitChange, SameUnitChangesNothing)
{
    Project p;
    p.sheets.appendRow({"", "275.001", "183", "1", ""});
    EXPECT_TRUE(convertTables(p, LengthUnit::Centimetre, LengthUnit::Centimetre).empty());
    EXPECT_EQ(p.sheets.cell(1, 1), "275.001");
}

TEST(UnitChange, RoundTripThroughInches)
{
    Project p;
    p.sheets.appendRow({"", "2540", "1270", "1", ""});
    EXPECT_TRUE(convertTables(p, LengthUnit::Millimetre, LengthUnit::DecimalInch).empty());
    EXPECT_EQ(p.sheets.cell(1, 1), "100");
    EXPECT_TRUE(convertTables(p, LengthUnit::DecimalInch, LengthUnit::Millimetre).empty());
    EXPECT_EQ(p.sheets.cell(1, 2), "1270");
}

TEST(UnitChange, BandGridLeavesRecordZero)
{
    TextTable g(kBandColumns);
    g.appendRow({"none", "0.1", "-", "0.5", "0"});
    g.appendRow({"PVC", "0.2", "A", "5", "1.2"});
    g.appendRow({"new", "", "", "", ""});
    const std::vector<Msg> w = convertBandGrid(g, LengthUnit::Centimetre, LengthUnit::Millimetre);
    EXPECT_EQ(g.cell(1, 1), "0.1");
    EXPECT_EQ(g.cell(2, 1), "2");
    EXPECT_EQ(g.cell(2, 3), "50");
    EXPECT_EQ(g.cell(2, 4), "1.2");
    EXPECT_EQ(w, (std::vector<Msg>{Msg::BandCellNotConverted, Msg::BandCellNotConverted}));
}
