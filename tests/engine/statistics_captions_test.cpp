#include "engine/statistics_captions.h"

#include <gtest/gtest.h>

namespace {

TEST(UnitHeadings, CarryUnitsAndCounts)
{
    engine::LanguageTable t;
    t.setText(53, "AREA");
    t.setText(54, "AVG");
    t.setText(55, "LAST");
    t.setText(56, "CUT");
    t.setText(57, "BAND");
    t.setText(130, "SHEETS");
    t.setText(131, "PARTS");
    engine::HeadingValues v;
    v.areaUnit = engine::AreaUnit::SquareFoot;
    v.lengthUnit = engine::LengthUnit::FeetInches;
    v.sheetQuantity = 12;
    v.partQuantity = 0;
    using engine::UnitHeading;
    EXPECT_EQ(engine::statisticsCaption(t, UnitHeading::PlacedArea, v), "AREA (ft\u00B2)");
    EXPECT_EQ(engine::statisticsCaption(t, UnitHeading::AverageYield, v), "AVG (%)");
    EXPECT_EQ(engine::statisticsCaption(t, UnitHeading::LastSheetYield, v), "LAST (%)");
    EXPECT_EQ(engine::statisticsCaption(t, UnitHeading::CutLength, v), "CUT (in)") << "the bare label, without marks";
    EXPECT_EQ(engine::statisticsCaption(t, UnitHeading::BandingLength, v), "BAND (in)");
    EXPECT_EQ(engine::statisticsCaption(t, UnitHeading::SheetTableTitle, v), "SHEETS (12)");
    EXPECT_EQ(engine::statisticsCaption(t, UnitHeading::PartTableTitle, v), "PARTS (0)");
    v.lengthUnit = engine::LengthUnit::Millimetre;
    EXPECT_EQ(engine::statisticsCaption(t, UnitHeading::CutLength, v), "CUT (mm)");
}

} // namespace
