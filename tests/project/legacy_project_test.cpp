#include "project/legacy_project.h"

#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using engine::Msg;
using project_io::readLegacyProjectText;

std::string join(std::initializer_list<std::string> lines, const std::string& eol = "\r\n")
{
    std::string s;
    for (const auto& l : lines)
        s += l + eol;
    return s;
}

engine::Settings settings(bool loadSema = true, bool loadReport = true)
{
    engine::Settings s;
    s.LoadSema = loadSema;
    s.LoadReport = loadReport;
    return s;
}

// A full-form project: two sheets, one part, a result of one element, one
// offcut and one sheet, and a report and bill.
std::string fullProject()
{
    return join({"VELMORA 2.0",
                 "[cover_title]", "Kuhinja",
                 "[author]", "Ana",
                 "[cl_name]", "Marko",
                 "[cl_surname]", "0",
                 "[cl_adress1]", "Ulica 1",
                 "[cl_adress2]", "0",
                 "[cl_adress3]", "Beograd",
                 "[cl_phone]", "011 123",
                 "[cl_note]", "0",
                 "STAT1", "3", "STAT2", "3", "STAT3", "1", "STAT4", "1.2",
                 "STAT5", "80", "STAT6", "70", "STAT7", "1234", "STAT8", "56",
                 "JEDMERE", "1",
                 "TABLA1", "2",
                 "TABLA2", "1",
                 "DUZ_ELEM", "1", "DUZ_VISKOVI", "1", "DUZ_TABLE", "1",
                 "CENA1", "12.5",
                 "tab_1",
                 "1", "280", "207", "2", "iverica", "x",
                 "2", "250", "120", "1", "", "x",
                 "tab_2a",
                 "1", "60", "40", "3", "A", "0", "ABS", "-", "ABS", "-", "0.2", "0", "0.2", "0", "s1", "", "s1", "",
                 "elem",
                 "1", "10", "20", "610", "420", "0", "1", "7", "8",
                 "viskovi",
                 "1", "610", "0", "2800", "2070",
                 "table",
                 "2800", "2070", "2", "1", "1",
                 "xxStat1", "2", "Report line 1", "Report line 2",
                 "xxStat2", "1", "Bill line"});
}

TEST(LegacyFind, PlainKeysAndMissingKeys)
{
    const std::vector<std::string> lines = {"VELMORA 2.0", "JEDMERE", "2", "[author]"};
    EXPECT_EQ(project_io::FindLegacyEntry(lines, "JEDMERE"), "2");
    EXPECT_EQ(project_io::FindLegacyEntry(lines, "TABLA1"), "0");
    EXPECT_EQ(project_io::FindLegacyEntry(lines, "jedmere"), "0");  // keys are case-sensitive
    EXPECT_EQ(project_io::FindLegacyEntry(lines, "[author]"), "");  // key on the last line
    EXPECT_EQ(project_io::findLegacySection(lines, "JEDMERE"), 2U);
}

TEST(LegacyFind, SplitsAllLineEndings)
{
    const auto lines = project_io::splitLegacyLines("a\r\nb\nc\rd\r\n\r\ne");
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "c", "d", "", "e"}));
}

TEST(LegacyRead, FullFormFillsTablesDetailsAndStats)
{
    engine::Project p;
    const auto r = readLegacyProjectText(fullProject(), false, p, settings());
    ASSERT_TRUE(r.status.ok());
    EXPECT_EQ(r.unit, 1);
    ASSERT_EQ(p.sheetRowCount(), 2);
    EXPECT_EQ(p.sheets.row(1), (std::vector<std::string>{"1", "280", "207", "2", "iverica"}));
    EXPECT_EQ(p.sheets.row(2), (std::vector<std::string>{"2", "250", "120", "1", ""}));
    ASSERT_EQ(p.partRowCount(), 1);
    EXPECT_EQ(p.parts.row(1), (std::vector<std::string>{"1", "60", "40", "3", "A", "0", "ABS", "-", "ABS", "-", "0.2",
                                                         "0", "0.2", "0", "s1", "", "s1", ""}));
    EXPECT_EQ(p.details.coverTitle, "Kuhinja");
    EXPECT_EQ(p.details.author, "Ana");
    EXPECT_EQ(p.details.clientName, "Marko");
    EXPECT_EQ(p.details.clientSurname, "");  // stored as "0"
    EXPECT_EQ(p.details.clientAddress, (std::array<std::string, 3>{"Ulica 1", "", "Beograd"}));
    EXPECT_EQ(p.details.clientPhone, "011 123");
    EXPECT_EQ(p.details.clientNote, "");
    const engine::ProjectStats stats{"3", "3", "1", "1.2", "80", "70", "1234", "56"};
    EXPECT_EQ(p.result.stats, stats);
}

TEST(LegacyRead, ResultInTenthsWhenLoadSemaIsOff)
{
    engine::Project p;
    const auto r = readLegacyProjectText(fullProject(), false, p, settings(false, false));
    ASSERT_TRUE(r.status.ok());
    ASSERT_EQ(p.result.elements.size(), 1U);
    EXPECT_EQ(p.result.elements[0], (engine::PlacedElement{1, 100, 200, 6100, 4200, 0, 1}));
    ASSERT_EQ(p.result.offcuts.size(), 1U);
    EXPECT_EQ(p.result.offcuts[0], (engine::Offcut{1, 6100, 0, 28000, 20700}));
    ASSERT_EQ(p.input.sheets.size(), 1U);
    EXPECT_EQ(p.input.sheets[0], (engine::SheetInstance{28000, 20700, 20, 1, 1}));
    ASSERT_EQ(p.report.size(), 2U);
    EXPECT_EQ(p.report[1].text, "Report line 2");
    ASSERT_EQ(p.bill.size(), 1U);
    EXPECT_EQ(p.bill[0].text, "Bill line");
}

TEST(LegacyRead, LoadSemaOnLeavesNoStaleResult)
{
    engine::Project p;
    p.result.elements.push_back({9, 0, 0, 10, 10, 0, 1});
    p.result.offcuts.push_back({9, 0, 0, 10, 10});
    p.input.sheets.push_back({100, 100, 1, 9, 1});
    const auto r = readLegacyProjectText(fullProject(), false, p, settings(true, true));
    ASSERT_TRUE(r.status.ok());
    // The file's counts are not backed by records: no result at all rather
    // than the old lists under the new counts.
    EXPECT_TRUE(p.result.elements.empty());
    EXPECT_TRUE(p.result.offcuts.empty());
    EXPECT_TRUE(p.input.sheets.empty());
    EXPECT_TRUE(p.report.empty());
    EXPECT_TRUE(p.bill.empty());
}

TEST(LegacyRead, ShortFormSetsBandsAndKeepsTheirThirdColumns)
{
    const std::string text = join({"VELMORA 1.5", "JEDMERE", "0", "TABLA1", "0", "TABLA2", "2", "tab_2",
                                   "1", "600", "400", "2", "B", "1", "x7", "x8",
                                   "2", "300", "200", "5", "C", "0", "y7", "y8"});
    engine::Project p;
    const auto r = readLegacyProjectText(text, false, p, settings());
    ASSERT_TRUE(r.status.ok());
    EXPECT_EQ(r.unit, 0);
    ASSERT_EQ(p.partRowCount(), 2);
    EXPECT_EQ(p.parts.row(1), (std::vector<std::string>{"1", "600", "400", "2", "B", "1", "-", "-", "-", "-", "0",
                                                         "0", "0", "0", "", "", "", ""}));
    EXPECT_EQ(p.parts.cell(2, engine::PartCol::Len), "300");
}

TEST(LegacyRead, ShortRecordsOnlyUnderTheExactHeader)
{
    // Any other header means the full 18-line records under "tab_2a".
    const std::string text = join({"VELMORA 1.50", "TABLA2", "1", "tab_2", "1", "600", "400", "2", "B", "1", "", ""});
    engine::Project p;
    const auto r = readLegacyProjectText(text, false, p, settings());
    EXPECT_EQ(r.unit, -1);
    EXPECT_EQ(r.status.msg, Msg::CannotReadProject);
    EXPECT_EQ(p.partRowCount(), 0);
}

TEST(LegacyRead, KeysInAnyOrderAndFirstOccurrenceCounts)
{
    const std::string text = join({"VELMORA 1.5", "tab_1", "1", "250", "125", "3", "d", "x", "TABLA1", "1",
                                   "JEDMERE", "2", "JEDMERE", "0", "[author]", "Ana"});
    engine::Project p;
    const auto r = readLegacyProjectText(text, false, p, settings());
    ASSERT_TRUE(r.status.ok());
    EXPECT_EQ(r.unit, 2);
    EXPECT_EQ(p.sheets.row(1), (std::vector<std::string>{"1", "250", "125", "3", "d"}));
    EXPECT_EQ(p.details.author, "Ana");
}

TEST(LegacyRead, DataLineEqualToAKeyIsTakenAsTheKey)
{
    // The cover title is the text "[cl_name]": the client name is then read
    // from the line after it, the real "[author]" key line.
    const std::string text = join({"VELMORA 1.5", "[cover_title]", "[cl_name]", "[author]", "Ana", "[cl_name]", "Marko"});
    engine::Project p;
    ASSERT_TRUE(readLegacyProjectText(text, false, p, settings()).status.ok());
    EXPECT_EQ(p.details.coverTitle, "[cl_name]");
    EXPECT_EQ(p.details.author, "Ana");
    EXPECT_EQ(p.details.clientName, "[author]");
}

TEST(LegacyRead, AddModeAppendsRowsAndSkipsLayoutsAndTexts)
{
    engine::Project p;
    ASSERT_TRUE(readLegacyProjectText(fullProject(), false, p, settings(false, false)).status.ok());
    ASSERT_EQ(p.result.elements.size(), 1U);
    p.details.author = "old";
    const auto r = readLegacyProjectText(fullProject(), true, p, settings(false, false));
    ASSERT_TRUE(r.status.ok());
    EXPECT_EQ(p.sheetRowCount(), 4);
    EXPECT_EQ(p.partRowCount(), 2);
    EXPECT_EQ(p.sheets.row(3), p.sheets.row(1));
    EXPECT_EQ(p.details.author, "Ana");
    EXPECT_TRUE(p.result.elements.empty());
    EXPECT_EQ(p.report.size(), 2U);  // kept from the first read, not appended again
}

TEST(LegacyRead, MissingCountsMeanNoRecords)
{
    engine::Project p;
    const auto r = readLegacyProjectText(join({"VELMORA 2.0"}), false, p, settings(false, false));
    ASSERT_TRUE(r.status.ok());
    EXPECT_EQ(r.unit, 0);
    EXPECT_EQ(p.sheetRowCount(), 0);
    EXPECT_TRUE(p.result.stats.parts == "0");
}

TEST(LegacyRead, DecodesWindows1252AndKeepsUtf8)
{
    const std::string cp1252 = join({"VELMORA 1.5", "[author]", "\x8A" "aper \xE8"});
    const std::string utf8 = join({"VELMORA 1.5", "[author]", "\xC5\xA0" "aper"});
    engine::Project p;
    ASSERT_TRUE(readLegacyProjectText(cp1252, false, p, settings()).status.ok());
    EXPECT_EQ(p.details.author, "\xC5\xA0" "aper \xC3\xA8");
    ASSERT_TRUE(readLegacyProjectText(utf8, false, p, settings()).status.ok());
    EXPECT_EQ(p.details.author, "\xC5\xA0" "aper");
}

struct BrokenCase {
    const char* name;
    std::string text;
    bool loadSema;
};

class LegacyBroken : public testing::TestWithParam<BrokenCase> {};

// Counts that the file cannot back are refused before anything changes.
TEST_P(LegacyBroken, RefusedWithoutChangingTheProject)
{
    engine::Project p;
    p.sheets.appendRow({"", "100", "100", "1", "keep"});
    p.details.author = "keep";
    p.result.elements.push_back({1, 0, 0, 1, 1, 0, 1});
    const engine::Project before = p;
    const auto r = readLegacyProjectText(GetParam().text, false, p, settings(GetParam().loadSema, GetParam().loadSema));
    EXPECT_EQ(r.unit, -1);
    EXPECT_EQ(r.status.msg, Msg::CannotReadProject);
    EXPECT_EQ(p.sheets, before.sheets);
    EXPECT_EQ(p.details, before.details);
    EXPECT_EQ(p.result.elements, before.result.elements);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LegacyBroken,
    testing::Values(
        BrokenCase{"UnitNotANumber", join({"VELMORA 1.5", "JEDMERE", "mm"}), true},
        BrokenCase{"UnitOutOfRange", join({"VELMORA 1.5", "JEDMERE", "9"}), true},
        BrokenCase{"CountNotANumber", join({"VELMORA 1.5", "TABLA1", "two"}), true},
        BrokenCase{"NegativeCount", join({"VELMORA 1.5", "TABLA2", "-1"}), true},
        BrokenCase{"CountBeyondRecords", join({"VELMORA 1.5", "TABLA1", "2", "tab_1", "1", "2", "3", "4", "5", "6",
                                               "1", "2"}), true},
        BrokenCase{"AbsurdCount", join({"VELMORA 1.5", "TABLA1", "2147483647", "tab_1", "1"}), true},
        BrokenCase{"CountWithoutSection", join({"VELMORA 1.5", "TABLA1", "1"}), true},
        BrokenCase{"RowsBeyondCapacity", join({"VELMORA 1.5", "TABLA1", "499", "tab_1"}), true},
        BrokenCase{"ElementsBeyondRecords", join({"VELMORA 1.5", "DUZ_ELEM", "3", "elem", "1", "2"}), false},
        BrokenCase{"ElementsBeyondCapacity", join({"VELMORA 1.5", "DUZ_ELEM", "10001", "elem"}), false},
        BrokenCase{"ReportBeyondLines", join({"VELMORA 1.5", "xxStat1", "5", "a"}), false},
        BrokenCase{"ReportCountNotANumber", join({"VELMORA 1.5", "xxStat2", "x"}), false}),
    [](const testing::TestParamInfo<BrokenCase>& info) { return info.param.name; });

TEST(LegacyRead, BadNumberInRecordsStopsWithResultEmptied)
{
    const std::string text = join({"VELMORA 1.5", "JEDMERE", "0", "TABLA1", "1", "DUZ_ELEM", "2", "DUZ_VISKOVI", "1",
                                   "tab_1", "1", "250", "125", "3", "d", "x",
                                   "elem", "1", "0", "0", "10", "10", "0", "1", "0", "0",
                                   "1", "0", "0", "1O", "10", "0", "1", "0", "0",  // letter O in a number
                                   "viskovi", "1", "0", "0", "5", "5"});
    engine::Project p;
    p.result.elements.push_back({7, 0, 0, 1, 1, 0, 1});
    const auto r = readLegacyProjectText(text, false, p, settings(false, true));
    EXPECT_EQ(r.status.msg, Msg::CannotReadProject);
    EXPECT_EQ(p.sheetRowCount(), 1);  // read before the bad number
    EXPECT_TRUE(p.result.elements.empty());
    EXPECT_TRUE(p.result.offcuts.empty());
}

TEST(LegacyRead, LengthsThatOverflowInTenthsAreRefused)
{
    const std::string text = join({"VELMORA 1.5", "DUZ_VISKOVI", "1", "viskovi", "1", "0", "0", "300000000", "5"});
    engine::Project p;
    EXPECT_EQ(readLegacyProjectText(text, false, p, settings(false, true)).status.msg, Msg::CannotReadProject);
}

TEST(LegacyRead, FileOnDisk)
{
    engine::Project p;
    const auto r = project_io::ReadLegacyProject(std::string(TEST_DATA_DIR) + "/project/legacy/short.vlp", false, p, settings());
    ASSERT_TRUE(r.status.ok());
    EXPECT_EQ(r.unit, 1);
    EXPECT_EQ(p.sheetRowCount(), 1);
    EXPECT_EQ(p.partRowCount(), 2);
    const auto missing = project_io::ReadLegacyProject(std::string(TEST_DATA_DIR) + "/project/legacy/none.vlp", false, p, settings());
    EXPECT_EQ(missing.status.msg, Msg::CannotOpenProject);
}

} // namespace
