#include "output/show_results.h"
#include "output/stat.h"

#include <gtest/gtest.h>

#include "report_fixture.h"

using namespace engine;
using output::ShowResultsOutcome;
using testfix::ProjectBuilder;
using testfix::texts;

namespace {

// Four parts of 600 mm banded on both length edges.
ProjectBuilder bandedParts(const std::string& band = "PVC")
{
    ProjectBuilder b;
    b.sheet("2800", "2070", 1, 28000, 20700).part("600", "300", 4, "K", {band, band, "-", "-"}, {"2", "2", "0", "0"});
    for (int i = 0; i < 4; ++i)
        b.element(1, i * 6004, 0, (i + 1) * 6004, 2964, 1);
    return b;
}

} // namespace

TEST(Bill, BandingAddsThePartLengthOncePerEdgeAndTheExtraPerPiece)
{
    ProjectBuilder b = bandedParts();
    output::stat st;
    output::BuildReport(st, b.project, testfix::millimetreSettings(), testfix::bands("20", "0.5"),
                        testfix::numberedLanguage());
    EXPECT_EQ(st.bandingLength, 13600);
    EXPECT_EQ(b.project.result.stats.banding_length, "1360");
    const std::vector<std::string> bill = texts(b.project.bill);
    ASSERT_EQ(bill.size(), 7u);
    EXPECT_EQ(bill[4], "  <57>");
    EXPECT_EQ(bill[5], "  -------------------");
    // 0.5 x 1360 = 680, to the cent.
    EXPECT_EQ(bill[6], "  <190>: PVC 1360 * 0.5 = 680");
    EXPECT_EQ(b.project.report.back().text, "  <57> 1360 mm");
}

TEST(Bill, NoBandSectionWithoutBandedParts)
{
    ProjectBuilder b = bandedParts("-");
    output::stat st;
    output::BuildReport(st, b.project, testfix::millimetreSettings(), testfix::bands(), testfix::numberedLanguage());
    EXPECT_EQ(st.bandingLength, 0);
    EXPECT_EQ(texts(b.project.bill),
              (std::vector<std::string>{"  <48>", "  -------------------",
                                        "  (5796000 mm\u00B2 - 0 mm\u00B2) * 0 = 0.00", " "}));
}

TEST(Bill, MaterialIsChargedForTheSheetsLessUsefulOffcuts)
{
    ProjectBuilder b;
    b.sheet("2800", "2070", 3, 28000, 20700).part("500", "400", 3);
    for (int tnb = 1; tnb <= 3; ++tnb)
        b.element(tnb, 0, 0, 5004, 4004, 1).offcut(tnb, 18000, 0, 28000, 5000);
    Settings s = testfix::millimetreSettings();
    s.AreaStyle = 2;
    s.CENA1 = 10;
    output::stat st;
    output::BuildReport(st, b.project, s, testfix::bands(), testfix::numberedLanguage());
    EXPECT_EQ(b.project.bill[2].text, "  (17.388 m\u00B2 - 1.5 m\u00B2) * 10 = 158.88");
}

// The design's examples, once in hundreds (1200 and 1300), are now priced to
// the cent: 1234.5 stays 1234.5 and 1250 stays 1250.
TEST(Bill, BandCostIsRoundedHalfUpToTheCent)
{
    ProjectBuilder b;
    b.sheet("300", "200", 1, 30000, 20000);
    b.part("1234.5", "10", 1, "", {"PVC", "-", "-", "-"}).part("1250", "10", 1, "", {"ABS", "-", "-", "-"});
    b.element(1, 0, 0, 123454, 1004, 1).element(1, 0, 1004, 125004, 2008, 2);
    BandTypeTable bands = testfix::bands("0", "1");
    bands.append({"ABS", "0", "A", "0", "1"});
    bands.append({"unused", "0", "U", "0", "1"});
    output::stat st;
    output::BuildReport(st, b.project, Settings{}, bands, testfix::numberedLanguage());
    const std::vector<std::string> bill = texts(b.project.bill);
    ASSERT_EQ(bill.size(), 8u);
    EXPECT_EQ(bill[6], "  <190>: PVC 1234.5 * 1 = 1234.5");
    EXPECT_EQ(bill[7], "  <190>: ABS 1250 * 1 = 1250");
}

TEST(Bill, BandCostOfAKitchenLineIsNotRoundedToHundreds)
{
    // 879.4 cm at 0.25 a centimetre is 219.85, once shown as 200.
    ProjectBuilder b;
    b.sheet("300", "200", 1, 30000, 20000);
    b.part("879.4", "10", 1, "", {"PVC", "-", "-", "-"});
    b.element(1, 0, 0, 87944, 1004, 1);
    output::stat st;
    output::BuildReport(st, b.project, Settings{}, testfix::bands("0", "0.25"), testfix::numberedLanguage());
    EXPECT_EQ(b.project.bill.back().text, "  <190>: PVC 879.4 * 0.25 = 219.85");
}

TEST(Bill, MaterialPriceShowsAsTypedAndTheAmountToTheCent)
{
    ProjectBuilder b;
    b.sheet("2800", "2070", 1, 28000, 20700).part("500", "400", 1);
    b.element(1, 0, 0, 5004, 4004, 1);
    Settings s = testfix::millimetreSettings();
    s.AreaStyle = 2;
    s.CENA1 = 7.99f;  // a single-precision 7.9899998...
    output::stat st;
    output::BuildReport(st, b.project, s, testfix::bands(), testfix::numberedLanguage());
    EXPECT_EQ(b.project.bill[2].text, "  (5.796 m\u00B2 - 0 m\u00B2) * 7.99 = 46.31");
    s.CENA1 = 0.35f;
    output::stat second;
    output::BuildReport(second, b.project, s, testfix::bands(), testfix::numberedLanguage());
    EXPECT_EQ(b.project.bill[2].text, "  (5.796 m\u00B2 - 0 m\u00B2) * 0.35 = 2.03");
    // A price of millions gives an amount in plain digits, not "1.0700953E0008".
    s.CENA1 = 18462000.0f;
    output::stat third;
    output::BuildReport(third, b.project, s, testfix::bands(), testfix::numberedLanguage());
    EXPECT_EQ(b.project.bill[2].text, "  (5.796 m\u00B2 - 0 m\u00B2) * 18462000 = 107005752.00");
}

TEST(Bill, BandRecordsEndAtTheFirstEmptyName)
{
    ProjectBuilder b = bandedParts("ABS");
    BandTypeTable bands = testfix::bands();
    bands.append({"", "0", "", "0", "0"});
    bands.append({"ABS", "1", "A", "0", "1"});
    output::stat st;
    output::BuildReport(st, b.project, testfix::millimetreSettings(), bands, testfix::numberedLanguage());
    EXPECT_EQ(st.bandingLength, 0);
    EXPECT_EQ(b.project.bill.size(), 4u);
}

TEST(Bill, PriceThatIsNoNumberShowsInItsLineAndTheReportIsCompleted)
{
    ProjectBuilder b = bandedParts();
    const ShowResultsOutcome out = output::showResultsCore(b.project, testfix::millimetreSettings(),
                                                           testfix::bands("20", "abc"), testfix::numberedLanguage());
    EXPECT_TRUE(out.allPlaced);
    ASSERT_EQ(out.warnings.size(), 1u);
    EXPECT_EQ(out.warnings[0].msg, Msg::BandPriceNotANumber);
    EXPECT_EQ(b.project.bill.back().text, "  <190>: PVC 1360 * abc = <180>");
    EXPECT_EQ(b.project.report.back().text, "  <57> 1360 mm");
}

TEST(Bill, PricePerDisplayUnitFollowsTheLengthUnit)
{
    ProjectBuilder b = bandedParts();
    b.project.parts.setCell(1, PartCol::Len, "60");
    b.project.parts.setCell(1, PartCol::Wid, "30");
    output::stat st;
    Settings s;  // centimetres: 2 x (60 + 4 x 2) = 136 cm at 100 a centimetre
    output::BuildReport(st, b.project, s, testfix::bands("2", "100"), testfix::numberedLanguage());
    EXPECT_EQ(b.project.bill.back().text, "  <190>: PVC 136 * 100 = 13600");
}

TEST(Bill, BandNameMissingFromTheTableIsReportedOnce)
{
    ProjectBuilder b = bandedParts("PVC 9");
    b.project.parts.setCell(1, PartCol::Band + 2, "");
    const ShowResultsOutcome out = output::showResultsCore(b.project, testfix::millimetreSettings(),
                                                           testfix::bands(), testfix::numberedLanguage());
    ASSERT_EQ(out.warnings.size(), 1u);
    EXPECT_EQ(out.warnings[0].msg, Msg::BandNameNotInTable);
    EXPECT_EQ(out.warnings[0].args, (std::vector<std::string>{"PVC 9"}));
    EXPECT_EQ(b.project.result.stats.banding_length, "0");
}
