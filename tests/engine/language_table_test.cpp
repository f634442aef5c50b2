#include "engine/language_table.h"

#include <string>

#include <gtest/gtest.h>

namespace {

using engine::LanguageTable;
using LoadResult = engine::LanguageTable::LoadResult;

std::string fixture(const std::string& name) { return std::string(TEST_DATA_DIR) + "/engine/lang/" + name; }

TEST(LanguageTableLoad, ReadsCrLfLinesUpToFinishLine)
{
    LanguageTable t;
    ASSERT_EQ(t.load(fixture("crlf.vll")), LoadResult::Ok);
    EXPECT_EQ(t.text(2), "First text");
    EXPECT_EQ(t.text(3), "Second");
    EXPECT_EQ(t.text(4), "") << "lines after the end marker are not read";
}

TEST(LanguageTableLoad, ReadsLfLinesTheSameWay)
{
    LanguageTable t;
    ASSERT_EQ(t.load(fixture("lf.vll")), LoadResult::Ok);
    EXPECT_EQ(t.text(2), "First text");
    EXPECT_EQ(t.text(3), "Second");
    EXPECT_EQ(t.text(4), "");
}

TEST(LanguageTableLoad, BlankLinesAfterEndMarkerAreFine)
{
    LanguageTable t;
    EXPECT_EQ(t.load(fixture("blank_after_end.vll")), LoadResult::Ok);
    EXPECT_EQ(t.text(5), "before");
}

TEST(LanguageTableLoad, BlankLineBeforeEndIsAnError)
{
    LanguageTable t;
    EXPECT_EQ(t.load(fixture("blank_no_end.vll")), LoadResult::FileHasError);
    EXPECT_EQ(t.errorLine(), 2);
    EXPECT_EQ(t.text(5), "before") << "entries read before the bad line keep their texts";
    EXPECT_EQ(t.text(6), "") << "the load is abandoned at the bad line";
}

TEST(LanguageTableLoad, BadNumberAbandonsLoadKeepingEarlierEntries)
{
    LanguageTable t;
    t.setText(22, "old");
    EXPECT_EQ(t.load(fixture("bad_number.vll")), LoadResult::FileHasError);
    EXPECT_EQ(t.errorLine(), 3);
    EXPECT_EQ(t.text(20), "kept");
    EXPECT_EQ(t.text(21), "stays new");
    EXPECT_EQ(t.text(22), "old");
}

TEST(LanguageTableLoad, NumberFieldMustBeAPlainInteger)
{
    for (const char* line : {"## \"empty\"", "# 5#\"blank before\"", "#5 #\"blank after\"", "#0x10#\"hex\"",
                             "#$10#\"delphi hex\"", "#5.0#\"decimal\"", "#99999999999#\"overflow\"",
                             "no marks \"at all\"", "#5 only one mark \"x\"", "#finish line#"}) {
        LanguageTable t;
        EXPECT_EQ(t.loadFromBytes(line), LoadResult::FileHasError) << line;
    }
    LanguageTable t;
    EXPECT_EQ(t.loadFromBytes("#+5#\"plus\"\n#007#\"zeros\""), LoadResult::Ok);
    EXPECT_EQ(t.text(5), "plus");
    EXPECT_EQ(t.text(7), "zeros");
}

TEST(LanguageTableLoad, FinishLineMustBeExact)
{
    LanguageTable t;
    EXPECT_EQ(t.loadFromBytes("#1#\"a\"\r\n#FINISH LINE#\"ignored\"\r\ngarbage"), LoadResult::Ok);
    EXPECT_EQ(t.loadFromBytes("#1#\"a\"\r\n# FINISH LINE#\r\n"), LoadResult::FileHasError);
}

TEST(LanguageTableLoad, TextRules)
{
    LanguageTable t;
    t.setText(12, "not yet empty");
    ASSERT_EQ(t.load(fixture("quotes.vll")), LoadResult::Ok);
    EXPECT_EQ(t.text(8), "Row #3 of #4") << "a '#' inside the text stays";
    EXPECT_EQ(t.text(9), "cut ") << "a double quote ends the text";
    EXPECT_EQ(t.text(10), "") << "no closing quote gives the empty text";
    EXPECT_EQ(t.text(11), "") << "no quote at all gives the empty text";
    EXPECT_EQ(t.text(12), "") << "an empty pair of quotes empties the entry";
}

TEST(LanguageTableLoad, EntriesSurviveLaterLoads)
{
    LanguageTable t;
    ASSERT_EQ(t.load(fixture("first.vll")), LoadResult::Ok);
    ASSERT_EQ(t.load(fixture("second.vll")), LoadResult::Ok);
    EXPECT_EQ(t.text(300), "three hundred") << "the second file lacks 300";
    EXPECT_EQ(t.text(301), "second 301");
}

TEST(LanguageTableLoad, NumbersOutsideTheTableAreIgnored)
{
    LanguageTable t;
    ASSERT_EQ(t.load(fixture("out_of_range.vll")), LoadResult::Ok);
    EXPECT_EQ(t.text(0), "first");
    EXPECT_EQ(t.text(399), "last");
    EXPECT_EQ(t.text(400), "");
    EXPECT_EQ(t.text(-1), "");
}

TEST(LanguageTableLoad, Windows1252FileBecomesUtf8)
{
    LanguageTable t;
    ASSERT_EQ(t.load(fixture("cp1252.vll")), LoadResult::Ok);
    EXPECT_EQ(t.text(7), "Größe ½ m² € 5” Šibša");
}

TEST(LanguageTableLoad, Utf8FileIsKeptAsItIs)
{
    LanguageTable t;
    ASSERT_EQ(t.load(fixture("utf8.vll")), LoadResult::Ok);
    EXPECT_EQ(t.text(7), "Größe ½ m² € 5” Šibša");
    ASSERT_EQ(t.loadFromBytes("\xEF\xBB\xBF#8#\"after a byte order mark\""), LoadResult::Ok);
    EXPECT_EQ(t.text(8), "after a byte order mark");
}

TEST(LanguageTableLoad, LastLineWithoutLineBreakIsRead)
{
    LanguageTable t;
    ASSERT_EQ(t.load(fixture("no_final_break.vll")), LoadResult::Ok);
    EXPECT_EQ(t.text(31), "last line without break");
}

TEST(LanguageTableLoad, MissingFileCannotBeOpened)
{
    LanguageTable t;
    t.setText(5, "kept");
    EXPECT_EQ(t.load(fixture("no_such_language.vll")), LoadResult::CannotOpen);
    EXPECT_EQ(t.text(5), "kept");
}

TEST(LanguageTablePath, IsInTheLangFolder)
{
    EXPECT_EQ(LanguageTable::pathFor("/opt/velmora/", "English"), "/opt/velmora/Lang/English.vll");
}

} // namespace
