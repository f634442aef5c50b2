#include "engine/band_types.h"
#include "tests/project/temp_dir.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

using namespace engine;

namespace {

std::string records(int n)
{
    std::string s;
    for (int i = 0; i < n; ++i)
        s += "B" + std::to_string(i) + "\r\n0.1\r\nM\r\n2\r\n0.5\r\n";
    return s;
}

std::string bandsTempPath(const std::string& name)
{
    return (std::filesystem::temp_directory_path() / ("velmora_bands_" + name)).string();
}

} // namespace

TEST(BandTypesRead, FifteenLinesGiveThreeRecords)
{
    const Result<BandTypeTable> t = parseBandTypes(records(3));
    ASSERT_TRUE(t.ok());
    EXPECT_EQ(t->count(), 3);
    EXPECT_EQ(t->record(2), (BandType{"B2", "0.1", "M", "2", "0.5"}));
    EXPECT_EQ(t->names(), (std::vector<std::string>{"B0", "B1", "B2"}));
}

TEST(BandTypesRead, AcceptsLineFeedsAndALastLineWithoutEnd)
{
    const Result<BandTypeTable> t = parseBandTypes("a\nb\nc\nd\ne");
    ASSERT_TRUE(t.ok());
    EXPECT_EQ(t->record(0), (BandType{"a", "b", "c", "d", "e"}));
}

TEST(BandTypesRead, EmptyFieldsInsideARecordStay)
{
    const Result<BandTypeTable> t = parseBandTypes("a\r\n\r\n\r\nd\r\ne\r\n");
    ASSERT_TRUE(t.ok());
    EXPECT_EQ(t->record(0), (BandType{"a", "", "", "d", "e"}));
}

TEST(BandTypesRead, RefusesPartialRecordsAndEmptyFiles)
{
    const Result<BandTypeTable> partial = parseBandTypes(records(2) + "x\r\ny\r\n");
    ASSERT_FALSE(partial.ok());
    EXPECT_EQ(partial.error().msg, Msg::BandFileNotWholeRecords);
    EXPECT_EQ(parseBandTypes("").error().msg, Msg::BandFileNotWholeRecords);
}

TEST(BandTypesRead, RefusesMoreThanFiftyRecords)
{
    EXPECT_TRUE(parseBandTypes(records(50)).ok());
    const Result<BandTypeTable> t = parseBandTypes(records(51));
    ASSERT_FALSE(t.ok());
    EXPECT_EQ(t.error().msg, Msg::BandFileTooManyRecords);
}

TEST(BandTypesRead, WindowsCodePageTextBecomesUtf8)
{
    const Result<BandTypeTable> t = parseBandTypes("Ivi\x9a\x8a\r\n0\r\n\x80\r\n0\r\n0\r\n");
    ASSERT_TRUE(t.ok());
    EXPECT_EQ(t->record(0).name, "Ivi\u0161\u0160");
    EXPECT_EQ(t->record(0).mark, "\u20AC");
    const Result<BandTypeTable> u = parseBandTypes("Ivi\u0161\r\n0\r\n-\r\n0\r\n0\r\n");
    EXPECT_EQ(u->record(0).name, "Ivi\u0161");
}

TEST(BandTypesRead, ByteOrderMarkIsNotPartOfTheFirstName)
{
    const Result<BandTypeTable> t = parseBandTypes("\xEF\xBB\xBF-\r\n0\r\n-\r\n0\r\n0\r\n");
    ASSERT_TRUE(t.ok());
    EXPECT_EQ(t->record(0).name, "-");
}

TEST(BandTypesRead, MissingFileIsReported)
{
    const Result<BandTypeTable> t = LoadBandTypes(bandsTempPath("missing.vlb"));
    ASSERT_FALSE(t.ok());
    EXPECT_EQ(t.error().msg, Msg::CannotReadBandFile);
}

TEST(BandTypesRead, ShippedFileHoldsRecordZeroAndRealBands)
{
    const Result<BandTypeTable> t = LoadBandTypes(bandTypesPath(std::string(VELMORA_DATA_DIR) + "/"));
    ASSERT_TRUE(t.ok());
    ASSERT_GE(t->count(), 4);
    EXPECT_EQ(ParseLength(LengthUnit::Centimetre, t->record(0).thickness), 0);
    for (int i = 1; i < t->count(); ++i) {
        const BandType& b = t->record(i);
        EXPECT_FALSE(b.name.empty());
        EXPECT_GT(ParseLength(LengthUnit::Centimetre, b.thickness), 0) << b.name;
        EXPECT_GE(ParseLength(LengthUnit::Centimetre, b.extraLength), 0) << b.name;
        double price = 0;
        EXPECT_TRUE(parseDecimal(b.price, price)) << b.name;
    }
}

TEST(BandTypesWrite, DropsRowsWithoutThicknessOrExtraButKeepsRecordZero)
{
    const BandTypeTable t({{"-", "", "-", "", "0"},
                           {"A", "0.1", "a", "2", "1"},
                           {"B", "", "b", "2", "1"},
                           {"C", "0.2", "c", "", "1"},
                           {"D", "0.2", "d", "3", "1"}});
    const std::string path = bandsTempPath("save.vlb");
    ASSERT_TRUE(saveBandTypes(path, t).ok());
    EXPECT_EQ(readFile(path), "-\r\n\r\n-\r\n\r\n0\r\nA\r\n0.1\r\na\r\n2\r\n1\r\nD\r\n0.2\r\nd\r\n3\r\n1\r\n");
    const Result<BandTypeTable> back = LoadBandTypes(path);
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back->names(), (std::vector<std::string>{"-", "A", "D"}));
    std::filesystem::remove(path);
}

TEST(BandTypesWrite, RefusesAFieldWithALineBreakAndKeepsTheOldFile)
{
    const std::string path = bandsTempPath("keep.vlb");
    BandTypeTable t({{"-", "0", "-", "0", "0"}});
    ASSERT_TRUE(saveBandTypes(path, t).ok());
    t.append({"A\nB", "0.1", "a", "2", "1"});
    EXPECT_EQ(saveBandTypes(path, t).msg, Msg::BandFileNotWholeRecords);
    EXPECT_EQ(readFile(path), "-\r\n0\r\n-\r\n0\r\n0\r\n");
    std::filesystem::remove(path);
}

TEST(BandTypesWrite, RefusesMoreThanFiftyRecords)
{
    Result<BandTypeTable> t = parseBandTypes(records(50));
    ASSERT_TRUE(t.ok());
    t->append({"X", "0.1", "x", "2", "1"});
    const std::string path = bandsTempPath("many.vlb");
    EXPECT_EQ(saveBandTypes(path, *t).msg, Msg::BandFileTooManyRecords);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(BandTypesWrite, UnwritableFolderIsReported)
{
    const BandTypeTable t({{"-", "0", "-", "0", "0"}});
    EXPECT_EQ(saveBandTypes(bandsTempPath("no_such_dir/bands.vlb"), t).msg, Msg::CannotWriteBandFile);
}
