#include "engine/language_table.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/language_entries.h"
#include "engine/text_encoding.h"
#include "tests/project/temp_dir.h"

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
    EXPECT_EQ(t.text(599), "last");
    EXPECT_EQ(t.text(600), "");
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

// The language files shipped in data/Lang.
namespace {

std::string shipped(const std::string& name) { return LanguageTable::pathFor(std::string(VELMORA_DATA_DIR) + "/", name); }

class ShippedLanguage : public ::testing::TestWithParam<const char*> {};

TEST_P(ShippedLanguage, LoadsWithoutError)
{
    LanguageTable t;
    ASSERT_EQ(t.load(shipped(GetParam())), LoadResult::Ok) << "line " << t.errorLine();
}

TEST_P(ShippedLanguage, IsUtf8WithCrLfAndEndMarker)
{
    const std::string bytes = readFile(shipped(GetParam()));
    ASSERT_FALSE(bytes.empty());
    EXPECT_TRUE(engine::isValidUtf8(bytes));
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare LF at byte " << i;
        }
    }
    EXPECT_TRUE(bytes.ends_with("#FINISH LINE#\r\n"));
}

TEST_P(ShippedLanguage, EveryUsedEntryHasText)
{
    LanguageTable t;
    ASSERT_EQ(t.load(shipped(GetParam())), LoadResult::Ok);
    for (const int n : engine::usedLanguageEntries())
        EXPECT_FALSE(t.text(n).empty()) << "entry " << n;
    for (const int n : engine::reservedMessageEntries())
        EXPECT_FALSE(t.text(n).empty()) << "entry " << n;
}

// Reads an enumerator line of msg.h, "  Name = 123," (the name starts with a
// capital letter); anything else is no enumerator.
bool enumeratorOf(const std::string& line, std::string& name, int& number)
{
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    const auto isWord = [&](char c) {
        return isDigit(c) || c == '_' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    };
    std::size_t i = 0;
    while (i < line.size() && isSpace(line[i]))
        ++i;
    if (i == line.size() || line[i] < 'A' || line[i] > 'Z')
        return false;
    const std::size_t nameStart = i;
    while (i < line.size() && isWord(line[i]))
        ++i;
    name = line.substr(nameStart, i - nameStart);
    while (i < line.size() && isSpace(line[i]))
        ++i;
    if (i == line.size() || line[i] != '=')
        return false;
    ++i;
    while (i < line.size() && isSpace(line[i]))
        ++i;
    const std::size_t digitsStart = i;
    while (i < line.size() && isDigit(line[i]))
        ++i;
    if (i == digitsStart || i - digitsStart > 9)
        return false;
    number = std::stoi(line.substr(digitsStart, i - digitsStart));
    while (i < line.size() && isSpace(line[i]))
        ++i;
    return i < line.size() && line[i] == ',';
}

// Named messages are added to engine/msg.h as the program grows; each must
// have its text in every shipped file.
TEST_P(ShippedLanguage, EveryMessageNamedInMsgHeaderHasText)
{
    LanguageTable t;
    ASSERT_EQ(t.load(shipped(GetParam())), LoadResult::Ok);
    const std::string header = readFile(std::string(VELMORA_SOURCE_DIR) + "/engine/msg.h");
    int found = 0;
    std::istringstream lines(header);
    std::string line;
    while (std::getline(lines, line)) {
        std::string name;
        int number = 0;
        if (!enumeratorOf(line, name, number) || number == 0)
            continue;
        ++found;
        const int n = number;
        const char* guidance =
            " - a new message takes a number from engine::reservedEntryBlocks() (115-119 band types and report, "
            "157-162 automatic run, 169-173 manual mode, 388-399 file formats; 330-369 are dialog captions) "
            "and needs its text in data/Lang/Srpski.vll and data/Lang/English.vll";
        EXPECT_FALSE(t.text(n).empty()) << "Msg::" << name << " = " << number << guidance;
        const auto known = engine::namedMessageEntries();
        const auto runtime = engine::runtimeTextEntries();
        const auto reserved = engine::reservedMessageEntries();
        const bool isMessage = std::find(known.begin(), known.end(), n) != known.end()
            || std::find(runtime.begin(), runtime.end(), n) != runtime.end()
            || std::find(reserved.begin(), reserved.end(), n) != reserved.end();
        EXPECT_TRUE(isMessage) << "Msg::" << name << " = " << number << " is no message entry" << guidance;
    }
    EXPECT_GE(found, 16);
}

TEST_P(ShippedLanguage, TextsNeedNoQuoteEscapes)
{
    // A double quote would cut a text short: every line holds exactly two.
    const std::string bytes = readFile(shipped(GetParam()));
    size_t start = 0;
    int line = 0;
    while (start < bytes.size()) {
        const size_t eol = bytes.find("\r\n", start);
        const std::string l = bytes.substr(start, eol - start);
        start = eol + 2;
        ++line;
        if (l == "#FINISH LINE#")
            break;
        EXPECT_EQ(std::count(l.begin(), l.end(), '"'), 2) << "line " << line << ": " << l;
    }
}

INSTANTIATE_TEST_SUITE_P(Files, ShippedLanguage, ::testing::Values("Srpski", "English"));

TEST(ShippedLanguageContents, UsedEntriesMatchTheEntryList)
{
    // The caption entries of the windows join these in the desktop program's
    // tests, which count the whole list.
    const std::vector<int> used = engine::usedLanguageEntries();
    EXPECT_TRUE(std::is_sorted(used.begin(), used.end()));
    const std::set<int> set(used.begin(), used.end());
    for (const int n : {0, 1, 12, 15, 111, 112, 140, 196, 233, 241, 270, 287, 320})
        EXPECT_EQ(set.count(n), 0u) << n;
    for (const int n : engine::reservedMessageEntries()) {
        EXPECT_EQ(set.count(n), 0u) << "reserved entry " << n << " is already in use";
        bool inBlock = false;
        for (const auto& b : engine::reservedEntryBlocks())
            inBlock = inBlock || (n >= b.first && n <= b.last);
        EXPECT_TRUE(inBlock) << n;
    }
    for (const auto& b : engine::reservedEntryBlocks())
        for (int n = b.first; n <= b.last; ++n)
            EXPECT_EQ(set.count(n), 0u) << "block entry " << n << " is already in use";
}

TEST(ShippedLanguageContents, SerbianUsesLatinDiacritics)
{
    LanguageTable t;
    ASSERT_EQ(t.load(shipped("Srpski")), LoadResult::Ok);
    EXPECT_EQ(t.text(56), "DUŽINA REZANJA");
    EXPECT_EQ(t.text(134), "DOBAR VIŠAK");
    EXPECT_EQ(t.text(77), "Nov projekat");
    EXPECT_EQ(t.text(71), "GOTOV PRORAČUN TABLE.");
    EXPECT_EQ(t.text(76), "Pomoć");
    EXPECT_NE(t.text(205).find("pregledač"), std::string::npos);
}

TEST(ShippedLanguageContents, EnglishTextsForComposedLines)
{
    LanguageTable t;
    ASSERT_EQ(t.load(shipped("English")), LoadResult::Ok);
    // Texts that are joined to values keep their blanks.
    EXPECT_EQ(t.text(4), "Generation ");
    EXPECT_EQ(t.text(9), " of ");
    EXPECT_EQ(t.text(44), " <- good offcut");
    // Captions that get ":" appended carry none of their own.
    for (const int n : {254, 255, 257, 258, 259, 260, 261, 264, 266})
        EXPECT_FALSE(t.text(n).ends_with(":")) << n;
    // The length errors show the expected form.
    for (int n = 273; n <= 283; ++n)
        EXPECT_NE(t.text(n).find("for example"), std::string::npos) << n;
}

TEST(ShippedLanguageContents, LanguageSwitchKeepsEntriesOfTheFirst)
{
    LanguageTable t;
    ASSERT_EQ(t.load(shipped("Srpski")), LoadResult::Ok);
    ASSERT_EQ(t.load(shipped("English")), LoadResult::Ok);
    EXPECT_EQ(t.text(130), "SHEETS");
    ASSERT_EQ(t.load(fixture("first.vll")), LoadResult::Ok);
    EXPECT_EQ(t.text(300), "three hundred");
    EXPECT_EQ(t.text(299), "Metres (m)");
}

} // namespace
