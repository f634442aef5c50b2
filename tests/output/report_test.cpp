#include "output/layout_groups.h"
#include "output/report_text.h"
#include "output/show_results.h"
#include "output/stat.h"

#include <gtest/gtest.h>

#include "report_fixture.h"

using namespace engine;
using output::ShowResultsOutcome;
using output::GroupLayouts;
using testfix::ProjectBuilder;
using testfix::texts;

namespace {

// Three equal sheets of 1000 x 500 mm, each with one 600 x 400 part and two offcuts.
ProjectBuilder tripleSheet()
{
    ProjectBuilder b;
    b.sheet("1000", "500", 3, 10000, 5000).part("600", "400", 3, "A");
    for (int tnb = 1; tnb <= 3; ++tnb)
        b.element(tnb, 0, 0, 6040, 4040, 1).offcut(tnb, 6040, 0, 10000, 5000).offcut(tnb, 0, 4040, 6040, 5000);
    return b;
}

} // namespace

TEST(GroupLayouts, EqualCountsInAnotherArrangementJoinWhenDuplicatesAreGrouped)
{
    ProjectBuilder b;
    b.sheet("1000", "500", 3, 10000, 5000).sheet("800", "500", 1, 8000, 5000);
    b.part("300", "200", 3).part("200", "100", 2);
    b.element(1, 0, 0, 3004, 2004, 1).element(1, 3004, 0, 5008, 1004, 2);
    b.element(2, 0, 0, 2004, 1004, 2).element(2, 2004, 0, 5008, 2004, 1);
    b.element(3, 0, 0, 3004, 2004, 1);

    GroupLayouts(b.project, true);
    EXPECT_EQ(b.project.result.groups, (std::vector<LayoutGroup>{{1, 2}, {3, 1}}));
    EXPECT_EQ(b.project.result.sheetRowUsage, (std::vector<std::int32_t>{3, 0}));

    GroupLayouts(b.project, false);
    EXPECT_EQ(b.project.result.groups, (std::vector<LayoutGroup>{{1, 1}, {2, 1}, {3, 1}}));
    EXPECT_EQ(b.project.result.sheetRowUsage, (std::vector<std::int32_t>{3, 0}));
}

TEST(GroupLayouts, SameCountsOnAnotherSheetSizeStayApart)
{
    ProjectBuilder b;
    b.sheet("1000", "500", 1, 10000, 5000).sheet("1000", "600", 1, 10000, 6000);
    b.part("300", "200", 2);
    b.element(1, 0, 0, 3004, 2004, 1).element(2, 0, 0, 3004, 2004, 1);
    GroupLayouts(b.project, true);
    EXPECT_EQ(b.project.result.groups.size(), 2u);
    EXPECT_EQ(b.project.result.sheetRowUsage, (std::vector<std::int32_t>{1, 1}));
}

TEST(BuildReport, GroupOfThreeCountsInEveryTotalButOnceInTheAverage)
{
    ProjectBuilder b = tripleSheet();
    const ShowResultsOutcome out = output::showResultsCore(b.project, testfix::millimetreSettings(),
                                                           testfix::bands(), testfix::numberedLanguage());
    EXPECT_TRUE(out.allPlaced);
    EXPECT_TRUE(out.status.ok());
    EXPECT_EQ(b.project.result.groups, (std::vector<LayoutGroup>{{1, 3}}));

    const std::vector<std::string> expected = {
        "  <39>",
        " ",
        "  <52>",
        "  ----------------",
        "    1. 1000 x  500 mm (x3) ",
        " ",
        " ",
        "  <314> 1 (x3) ",
        "  ----------------",
        "  1000 mm x 500 mm = 500000 mm\u00B2, <34>= 48%",
        " ",
        "  <41>",
        "      1. 600 x 400 mm (x1)      'A'",
        " ",
        "  <45>",
        "      1. 396 x 500 mm = 198000 mm\u00B2<44>",
        "      2. 604 x  96 mm =  57984 mm\u00B2<44>",
        " ",
        "  <46>:",
        "  ---------------------------------------------------",
        "  <50> 3",
        "  <51> 3",
        "  <52> 3",
        "  <53> 720000 mm\u00B2",
        "  <54> 48 %",
        "  <55> 16 %",
        "  <56> 3288 mm",
        "  <57> 0 mm",
    };
    EXPECT_EQ(texts(b.project.report), expected);

    const ProjectStats& st = b.project.result.stats;
    EXPECT_EQ(st.parts, "3");
    EXPECT_EQ(st.used_parts, "3");
    EXPECT_EQ(st.used_sheets, "3");
    EXPECT_EQ(st.part_area, "720000");
    EXPECT_EQ(st.average_yield, "48");
    EXPECT_EQ(st.last_sheet_yield, "16");
    EXPECT_EQ(st.cut_length, "3288");
    EXPECT_EQ(st.banding_length, "0");

    // Marks: the title lines add bold and raise the size for themselves only.
    EXPECT_EQ(b.project.report[0], (RichLine{"  <39>", true, 3}));
    EXPECT_EQ(b.project.report[2], (RichLine{"  <52>", true, 2}));
    EXPECT_EQ(b.project.report[7].sizeDelta, 2);
    EXPECT_TRUE(b.project.report[11].bold);
    EXPECT_EQ(b.project.report[12].sizeDelta, 0);
    EXPECT_FALSE(b.project.report[12].bold);
    EXPECT_TRUE(output::boldInEffect(b.project.report, 12));
    EXPECT_FALSE(output::boldInEffect(RichText{{"a"}, {"b", true}}, 0));
}

TEST(BuildReport, StatisticsPanelCaptionsCarryTheUnits)
{
    ProjectBuilder b = tripleSheet();
    const ShowResultsOutcome out = output::showResultsCore(b.project, testfix::millimetreSettings(),
                                                           testfix::bands(), testfix::numberedLanguage());
    EXPECT_EQ(out.statCaptions[3], "<53> (mm\u00B2)");
    EXPECT_EQ(out.statCaptions[4], "<54> (%)");
    EXPECT_EQ(out.statCaptions[7], "<57> (mm)");
}

TEST(BuildReport, MixedDecimalColumnIsPaddedToTheLongestTextPlusDecimals)
{
    const output::AlignedColumn c = output::alignColumn({"280", "183.5"});
    EXPECT_EQ(c.texts, (std::vector<std::string>{"280.0", "183.5"}));
    EXPECT_EQ(c.width, 7);
    EXPECT_EQ(output::pad(c.texts[0], c.width), "  280.0");

    ProjectBuilder b;
    b.sheet("280", "207", 1, 28000, 20700).sheet("183.5", "100", 1, 18350, 10000, "Iverica");
    b.part("50", "40", 2);
    b.element(1, 0, 0, 5004, 4004, 1).element(2, 0, 0, 5004, 4004, 1);
    Settings s;  // centimetres
    output::stat st;
    output::BuildReport(st, b.project, s, testfix::bands(), testfix::numberedLanguage());
    EXPECT_EQ(b.project.report[4].text, "    1.  280.0 x  207 cm (x1) ");
    EXPECT_EQ(b.project.report[5].text, "    2.  183.5 x  100 cm (x1)  'Iverica'");
}

TEST(BuildReport, OffcutOfExactlyTheMinimumIsUseful)
{
    ProjectBuilder b;
    b.sheet("20", "20", 1, 200, 200).part("10", "10", 1);
    b.element(1, 0, 0, 104, 104, 1).offcut(1, 104, 0, 164, 60).offcut(1, 104, 60, 164, 119);
    Settings s = testfix::millimetreSettings();
    s.Visak = 60;
    output::stat st;
    output::BuildReport(st, b.project, s, testfix::bands(), testfix::numberedLanguage());
    const std::vector<std::string> lines = texts(b.project.report);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "      1. 6 x  6.0 mm = 36.0 mm\u00B2<44>"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "      2. 6 x  5.9 mm = 35.4 mm\u00B2"), lines.end());
    EXPECT_EQ(st.usefulOffcutArea, 3600);
}

TEST(BuildReport, UnreadableBandThicknessCountsZeroInNetSizes)
{
    ProjectBuilder b;
    b.sheet("100", "100", 1, 1000, 1000).part("50", "40", 1, "", {"PVC", "-", "-", "-"}, {"", "0", "0", "0"});
    b.element(1, 0, 0, 504, 404, 1);
    output::stat st;
    output::BuildReport(st, b.project, testfix::millimetreSettings(), testfix::bands(), testfix::numberedLanguage());
    EXPECT_EQ(st.totalPartArea, 500 * 400);
}

TEST(ShowResults, EmptyResultShowsZeroYieldsAndReportsMissingParts)
{
    ProjectBuilder b;
    b.sheet("100", "100", 1, 1000, 1000).part("50", "40", 2);
    const ShowResultsOutcome out = output::showResultsCore(b.project, testfix::millimetreSettings(),
                                                           testfix::bands(), testfix::numberedLanguage());
    EXPECT_FALSE(out.allPlaced);
    EXPECT_EQ(out.status.msg, Msg::NotAllPartsPlaced);
    EXPECT_FALSE(out.canTakeOffcuts);
    EXPECT_FALSE(b.project.result.complete);
    const ProjectStats& st = b.project.result.stats;
    EXPECT_EQ(st.average_yield, "0");
    EXPECT_EQ(st.last_sheet_yield, "0");
    EXPECT_EQ(st.used_sheets, "0");
    // Header without sheet lines, then the totals.
    const std::vector<std::string> lines = texts(b.project.report);
    ASSERT_EQ(lines.size(), 5u + 11u);
    EXPECT_EQ(lines[4], " ");
    EXPECT_EQ(lines[12], "  <54> 0 %");
}

TEST(ShowResults, MissingPartKeepsTheReportAndWithholdsTheCommands)
{
    ProjectBuilder b = tripleSheet();
    b.project.input.totalParts = 4;
    b.project.result.complete = true;
    const ShowResultsOutcome out = output::showResultsCore(b.project, testfix::millimetreSettings(),
                                                           testfix::bands(), testfix::numberedLanguage());
    EXPECT_EQ(out.status.msg, Msg::NotAllPartsPlaced);
    EXPECT_EQ(out.partsPlaced, 3);
    EXPECT_FALSE(b.project.result.complete);
    EXPECT_FALSE(out.canSubtractSheets);
    EXPECT_EQ(b.project.result.stats.used_parts, "3");
    EXPECT_EQ(b.project.report.back().text, "  <57> 0 mm");
}

TEST(BuildReport, FractionalInchValuesCarryTheirOwnMarks)
{
    ProjectBuilder b;
    b.sheet("96\"", "48\"", 1, 24384, 12192).part("24 1/2\"", "18\"", 1, "DOOR");
    b.element(1, 0, 0, 6227, 4576, 1);
    Settings s;
    s.JedMere = 4;
    s.AreaStyle = 4;
    output::stat st;
    output::BuildReport(st, b.project, s, testfix::bands(), testfix::numberedLanguage());
    EXPECT_EQ(b.project.report[4].text, "    1. 96\" x  48\"  (x1) ");
    EXPECT_EQ(b.project.report[9].text, "  96\"  x 48\"  = 32 ft\u00B2, <34>= 9.57%");
    EXPECT_EQ(b.project.report[12].text, "      1. 24 1/2\" x 18\"  (x1)   'DOOR'");
    EXPECT_EQ(b.project.report.back().text, "  <57> 0 in");
}

TEST(ReportText, TotalsBeyondThirtyTwoBitsStillFormat)
{
    EXPECT_EQ(output::formatTotalLength(27500, LengthUnit::Centimetre), "275");
    EXPECT_EQ(output::formatTotalLength(30000000000LL, LengthUnit::Metre), "3000000");
    EXPECT_EQ(output::num(7), "  7.");
    EXPECT_EQ(output::num(1234), "1234.");
    EXPECT_EQ(output::pad("\u0160ifra", 7), "  \u0160ifra");
}

TEST(ShowResults, AnotherAreaUnitRewritesReportBillAndPanel)
{
    ProjectBuilder b = tripleSheet();
    Settings s = testfix::millimetreSettings();
    (void)output::showResultsCore(b.project, s, testfix::bands(), testfix::numberedLanguage());
    EXPECT_EQ(b.project.result.stats.part_area, "720000");
    s.AreaStyle = 2;
    const ShowResultsOutcome out = output::showResultsCore(b.project, s, testfix::bands(), testfix::numberedLanguage());
    EXPECT_EQ(b.project.result.stats.part_area, "0.72");
    EXPECT_EQ(out.statCaptions[3], "<53> (m\u00B2)");
    EXPECT_EQ(b.project.report[9].text, "  1000 mm x 500 mm = 0.5 m\u00B2, <34>= 48%");
    EXPECT_EQ(b.project.bill[2].text, "  (1.5 m\u00B2 - 0.768 m\u00B2) * 0 = 0.00");
    EXPECT_EQ(b.project.report.size(), 28u);
}
