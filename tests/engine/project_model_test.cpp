#include "engine/project.h"
#include "engine/settings.h"

#include <cstdio>
#include <fstream>

#include <gtest/gtest.h>

using namespace engine;

TEST(TextTableCells, GrowsOnWriteAndReadsEmptyOutside)
{
    TextTable t(5);
    EXPECT_EQ(t.rowCount(), 0);
    EXPECT_EQ(t.cell(1, 1), "");
    t.setCell(3, 2, "x");
    EXPECT_EQ(t.rowCount(), 3);
    EXPECT_EQ(t.cell(3, 2), "x");
    EXPECT_EQ(t.cell(3, 7), "");
    EXPECT_EQ(t.cell(0, 1), "");
    t.insertRow(1);
    EXPECT_EQ(t.cell(4, 2), "x");
    t.removeRow(4);
    EXPECT_EQ(t.rowCount(), 3);
    EXPECT_EQ(t.appendRow({"", "a", "b"}), 4);
    EXPECT_EQ(t.cell(4, 2), "b");
}

TEST(TextTableCells, HoldsMoreRowsThanTheOldGrid)
{
    TextTable t(18);
    for (int r = 1; r <= 1200; ++r)
        t.setCell(r, 3, std::to_string(r));
    EXPECT_EQ(t.rowCount(), 1200);
    EXPECT_EQ(t.cell(1200, 3), "1200");
}

TEST(ProjectFootprint, BandsOnWidthEdgesShortenTheLength)
{
    Project p;
    // 600 x 400 mm, band 2 mm on both width edges, kerf 4 (0.4 mm).
    p.parts.appendRow({"", "600", "400", "1", "A", "0", "-", "-", "PVC", "PVC", "0", "0", "2", "2"});
    const Footprint f = partFootprint(p.parts, 1, LengthUnit::Millimetre, 4);
    EXPECT_EQ(f.len, 6000 - 40 + 4);
    EXPECT_EQ(f.wid, 4004);
}

TEST(ProjectFootprint, UnreadableThicknessCountsZero)
{
    Project p;
    p.parts.appendRow({"", "60", "40", "1", "A", "0", "-", "-", "-", "-", "", "abc", "0.2", ""});
    const Footprint net = partNetSize(p.parts, 1, LengthUnit::Centimetre);
    EXPECT_EQ(net.len, 6000 - 20);  // 0.2 cm on the first width edge
    EXPECT_EQ(net.wid, 4000);
}

TEST(ProjectTotals, SumOnlyWholeQuantities)
{
    Project p;
    p.sheets.appendRow({"", "280", "207", "3", "board"});
    p.sheets.appendRow({"", "244", "122", "x", "bad"});
    p.parts.appendRow({"", "60", "40", "2"});
    p.parts.appendRow({"", "60", "40", "2.5"});
    p.parts.appendRow({"", "60", "40", "5"});
    p.recomputeTotals();
    EXPECT_EQ(p.sheetQtyTotal, 3);
    EXPECT_EQ(p.partQtyTotal, 7);
    p.clearTables();
    EXPECT_EQ(p.sheetRowCount(), 0);
    EXPECT_EQ(p.partQtyTotal, 0);
}

TEST(SettingsValues, DefaultsAndKinds)
{
    Settings s = Settings::defaults("/opt/velmora/");
    EXPECT_EQ(s.SoundPath, "/opt/velmora/sound.wav");
    EXPECT_EQ(s.ProjectPath, "/opt/velmora/Projects/");
    EXPECT_EQ(s.JedMere, 1);
    EXPECT_EQ(s.Testera, 4);
    EXPECT_EQ(s.Jezik, "Srpski");
    EXPECT_EQ(settingRefs(s).size(), 47u);
    EXPECT_EQ(settingsWriteOrder().size(), 46u);  // iLang is never written at close

    EXPECT_TRUE(setSetting(s, "JedMere", "0").ok());
    EXPECT_EQ(s.JedMere, 0);
    EXPECT_TRUE(setSetting(s, "Testera", "65535").ok());
    EXPECT_EQ(s.Testera, 65535);
    EXPECT_TRUE(setSetting(s, "CENA1", "12.5").ok());
    EXPECT_FLOAT_EQ(s.CENA1, 12.5f);
    EXPECT_TRUE(setSetting(s, "Kantiranje", "true").ok());
    EXPECT_TRUE(s.Kantiranje);
    EXPECT_EQ(setSetting(s, "JedMere", "cm").msg, Msg::SettingOutOfRange);
    EXPECT_EQ(setSetting(s, "NoSuchValue", "1").msg, Msg::CannotConvertValue);
}

TEST(SettingsValues, FileWithABrokenValueKeepsTheDefault)
{
    const std::string path = ::testing::TempDir() + "velmora_settings_test.ini";
    {
        std::ofstream f(path);
        f << "[General]\nJedMere=0\nAreaStyle=abc\nCompanyName=\"Stolarija Nikolić\"\n; comment\nVisak=100\n";
    }
    Settings s = Settings::defaults("/x/");
    const SettingsFileResult r = readSettingsFile(s, path);
    EXPECT_TRUE(r.opened);
    ASSERT_EQ(r.brokenValues.size(), 1u);
    EXPECT_EQ(r.brokenValues[0], "AreaStyle=abc");
    EXPECT_EQ(s.AreaStyle, 1);
    EXPECT_EQ(s.JedMere, 0);
    EXPECT_EQ(s.Visak, 100);
    EXPECT_EQ(s.CompanyName, "Stolarija Nikolić");
    std::remove(path.c_str());
    EXPECT_FALSE(readSettingsFile(s, path).opened);
}
