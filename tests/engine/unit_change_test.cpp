#include "engine/unit_change.h"
#include "tests/project/temp_dir.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

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

namespace {

std::string unitTempPath(const std::string& name)
{
    return (std::filesystem::temp_directory_path() / ("velmora_unit_" + name)).string();
}

struct UnitChangeCase {
    Project project;
    Settings settings;
    BandTypeTable bands{{{"-", "0", "-", "0", "0"},
                         {"PVC", "0.2", "A", "5", "1.2"},
                         {"bad", "x", "B", "3", "1"},
                         {"no extra", "0.1", "C", "", "1"}}};
    UnitChangeCase()
    {
        settings.JedMere = toInt(LengthUnit::Centimetre);
        project.sheets.appendRow({"", "275", "y", "1", ""});
        project.parts.appendRow({"", "abc", "40", "1", "A", "0", "PVC", "", "", "", "0.2", "", "", ""});
    }
};

} // namespace

TEST(ChangeLengthUnit, ConvertsTablesBandsAndFileAndSaysWhatFailed)
{
    UnitChangeCase c;
    const std::string path = unitTempPath("bands.vlb");
    const UnitChange u = changeLengthUnit(c.project, c.settings, c.bands, LengthUnit::Millimetre, path);
    ASSERT_TRUE(u.changed);
    EXPECT_EQ(c.settings.JedMere, toInt(LengthUnit::Millimetre));
    EXPECT_EQ(c.project.sheets.cell(1, 1), "2750");
    EXPECT_EQ(c.project.parts.cell(1, 2), "400");
    EXPECT_EQ(c.project.parts.cell(1, 10), "2");
    // In table order: the sheet width, the part length, the band thickness.
    EXPECT_EQ(u.warnings, (std::vector<Msg>{Msg::SheetCellNotConverted, Msg::PartCellNotConverted,
                                            Msg::BandCellNotConverted}));
    EXPECT_TRUE(u.bandFile.ok());
    // Written without the record that has no extra length, and read back.
    EXPECT_EQ(readFile(path), "-\r\n0\r\n-\r\n0\r\n0\r\nPVC\r\n2\r\nA\r\n50\r\n1.2\r\nbad\r\nx\r\nB\r\n30\r\n1\r\n");
    EXPECT_EQ(c.bands.names(), (std::vector<std::string>{"-", "PVC", "bad"}));
    // Kerf 4, offcut minimums 60, default sheet 270 x 190, all internal.
    EXPECT_EQ(u.texts, (LengthSettingTexts{"0.4", "6", "6", "27", "19"}));
    std::filesystem::remove(path);
}

TEST(ChangeLengthUnit, TheCurrentUnitTouchesNothing)
{
    UnitChangeCase c;
    const Project before = c.project;
    const std::string path = unitTempPath("untouched.vlb");
    std::filesystem::remove(path);
    const UnitChange u = changeLengthUnit(c.project, c.settings, c.bands, LengthUnit::Centimetre, path);
    EXPECT_FALSE(u.changed);
    EXPECT_TRUE(u.warnings.empty());
    EXPECT_EQ(c.project.sheets, before.sheets);
    EXPECT_EQ(c.project.parts, before.parts);
    EXPECT_EQ(c.bands.count(), 4);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(ChangeLengthUnit, AFailedBandWriteIsReportedAndTheUnitStillChanges)
{
    UnitChangeCase c;
    const UnitChange u =
        changeLengthUnit(c.project, c.settings, c.bands, LengthUnit::Metre, unitTempPath("no_such_dir/bands.vlb"));
    ASSERT_TRUE(u.changed);
    EXPECT_EQ(u.bandFile.msg, Msg::CannotWriteBandFile);
    // The tables are in the new unit, so the unit must follow them.
    EXPECT_EQ(c.settings.JedMere, toInt(LengthUnit::Metre));
    EXPECT_EQ(c.project.sheets.cell(1, 1), "2.75");
    // The converted edits stay for the next OK.
    EXPECT_EQ(c.bands.count(), 4);
    EXPECT_EQ(c.bands.record(1).thickness, "0.002");
    EXPECT_EQ(c.bands.record(1).extraLength, "0.05");
}

TEST(ChangeLengthUnit, SettingTextsFollowTheUnit)
{
    Settings s;
    EXPECT_EQ(lengthSettingTexts(s, LengthUnit::Centimetre), (LengthSettingTexts{"0.04", "0.6", "0.6", "2.7", "1.9"}));
    s.DefSheetWidth = 28000;
    EXPECT_EQ(lengthSettingTexts(s, LengthUnit::FeetInches).sheetLength, FormatLength(28000, LengthUnit::FeetInches));
}
