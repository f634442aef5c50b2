#include "engine/band_type_table.h"
#include "tests/project/temp_dir.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

using namespace engine;

namespace {

BandTypeTable sample()
{
    return BandTypeTable({{"-", "0", "-", "0", "0"},
                          {"PVC 2", "0.2", "A", "5", "1.2"},
                          {"ABS 1", "0.1", "B", "3", "0.8"}});
}

std::string tableTempPath(const std::string& name)
{
    return (std::filesystem::temp_directory_path() / ("velmora_table_" + name)).string();
}

} // namespace

TEST(BandTypeTableRecords, FieldsByNameAndByColumn)
{
    BandType b{"n", "t", "m", "e", "p"};
    EXPECT_EQ(b.field(BandField::Name), "n");
    EXPECT_EQ(b.field(BandField::Thickness), "t");
    EXPECT_EQ(b.field(BandField::Mark), "m");
    EXPECT_EQ(b.field(BandField::ExtraLength), "e");
    EXPECT_EQ(b.field(BandField::Price), "p");
    b.field(BandField::Price) = "q";
    EXPECT_EQ(b.price, "q");
}

TEST(BandTypeTableRecords, NamesLookupAndPartValues)
{
    const BandTypeTable t = sample();
    EXPECT_EQ(t.count(), 3);
    EXPECT_EQ(t.names(), (std::vector<std::string>{"-", "PVC 2", "ABS 1"}));
    EXPECT_EQ(t.indexOf("ABS 1"), 2);
    EXPECT_EQ(t.indexOf("abs 1"), -1);
    const BandValues v = t.partValues(1);
    EXPECT_EQ(v.name, "PVC 2");
    EXPECT_EQ(v.thickness, "0.2");
    EXPECT_EQ(v.mark, "A");
    EXPECT_EQ(t.partValues(3).name, "");
    EXPECT_EQ(t.partValues(-1).name, "");
}

TEST(BandTypeTableEdit, LengthFieldsAreNormalisedOthersTakenAsTyped)
{
    BandTypeTable t = sample();
    EXPECT_EQ(t.editField(1, BandField::Thickness, "0.20", LengthUnit::Centimetre), Msg::Ok);
    EXPECT_EQ(t.record(1).thickness, "0.2");
    EXPECT_EQ(t.editField(1, BandField::ExtraLength, "1 1/2\"", LengthUnit::FractionalInch), Msg::Ok);
    EXPECT_EQ(t.record(1).extraLength, "1 1/2\"");
    EXPECT_EQ(t.editField(2, BandField::Mark, "  x y ", LengthUnit::Centimetre), Msg::Ok);
    EXPECT_EQ(t.record(2).mark, "  x y ");
    EXPECT_EQ(t.editField(2, BandField::Price, "abc", LengthUnit::Centimetre), Msg::Ok);
    EXPECT_EQ(t.record(2).price, "abc");
}

TEST(BandTypeTableEdit, RefusedTextAndRecordZeroLeaveTheTable)
{
    BandTypeTable t = sample();
    const BandTypeTable before = t;
    EXPECT_EQ(t.editField(1, BandField::Thickness, "abc", LengthUnit::Centimetre), Msg::NotANumber);
    EXPECT_EQ(t.editField(1, BandField::ExtraLength, "12 5 3", LengthUnit::FeetInches), Msg::ImperialNoFraction);
    EXPECT_EQ(t.editField(0, BandField::Name, "renamed", LengthUnit::Centimetre), Msg::Ok);
    EXPECT_EQ(t.editField(3, BandField::Name, "beyond", LengthUnit::Centimetre), Msg::Ok);
    EXPECT_EQ(t, before);
    EXPECT_FALSE(t.isEditable(0));
    EXPECT_TRUE(t.isEditable(2));
    EXPECT_FALSE(t.isEditable(3));
}

TEST(BandTypeTableEdit, CheckFieldDoesNotTouchATable)
{
    EXPECT_EQ(BandTypeTable::checkField(BandField::Thickness, "2,5", LengthUnit::Millimetre).msg, Msg::NotANumber);
    const CellCheck c = BandTypeTable::checkField(BandField::ExtraLength, "2.50", LengthUnit::Millimetre);
    EXPECT_EQ(c.msg, Msg::Ok);
    EXPECT_EQ(c.text, "2.5");
    EXPECT_EQ(BandTypeTable::checkField(BandField::Name, "", LengthUnit::Millimetre).msg, Msg::Ok);
}

TEST(BandTypeTableRemove, LaterRecordsMoveUpAndRecordZeroStays)
{
    BandTypeTable t = sample();
    t.append({"CC", "0.3", "C", "4", "2"});
    EXPECT_FALSE(t.remove(0));
    EXPECT_FALSE(t.remove(4));
    EXPECT_TRUE(t.remove(1));
    EXPECT_EQ(t.names(), (std::vector<std::string>{"-", "ABS 1", "CC"}));
    t.appendEmpty();
    EXPECT_FALSE(t.isRemovable(0));
    EXPECT_TRUE(t.isRemovable(2));
    EXPECT_FALSE(t.isRemovable(3));
    EXPECT_FALSE(t.isRemovable(4));
    EXPECT_FALSE(t.remove(3)) << "a record without a name is not removed";
    EXPECT_EQ(t.count(), 4);
    EXPECT_TRUE(t.canRemove());
    EXPECT_FALSE(BandTypeTable({{"-", "0", "-", "0", "0"}}).canRemove());
}

TEST(BandTypeTableConvert, CentimetresToMillimetresLeavesRecordZeroAndPrices)
{
    BandTypeTable t({{"-", "0.1", "-", "0.5", "0"},
                     {"A", "0.2", "a", "2.5", "1"},
                     {"B", "abc", "b", "", "1.5"},
                     {"new", "", "", "", ""}});
    const std::vector<BandCell> bad = t.convertUnits(LengthUnit::Centimetre, LengthUnit::Millimetre);
    EXPECT_EQ(t.record(0), (BandType{"-", "0.1", "-", "0.5", "0"}));
    EXPECT_EQ(t.record(1), (BandType{"A", "2", "a", "25", "1"}));
    EXPECT_EQ(t.record(2), (BandType{"B", "abc", "b", "", "1.5"}));
    // Empty cells have nothing to convert; an empty thickness counts 0.
    EXPECT_EQ(t.record(3), (BandType{"new", "", "", "", ""}));
    EXPECT_EQ(bad, (std::vector<BandCell>{{2, BandField::Thickness}}));
}

TEST(BandTypeTableConvert, SameUnitChangesNothing)
{
    BandTypeTable t({{"-", "0", "-", "0", "0"}, {"A", "0.20", "a", "x", "1"}});
    const BandTypeTable before = t;
    EXPECT_TRUE(t.convertUnits(LengthUnit::Centimetre, LengthUnit::Centimetre).empty());
    EXPECT_EQ(t, before);
}

TEST(BandTypeTableConvert, AgreesWithParseAndFormatForEveryUnitPair)
{
    // Each converted cell must be the new unit's text of the same length.
    const LengthUnit units[] = {LengthUnit::Millimetre, LengthUnit::Centimetre,  LengthUnit::Metre,
                                LengthUnit::DecimalInch, LengthUnit::FractionalInch, LengthUnit::FeetInches};
    for (const LengthUnit from : units) {
        for (const LengthUnit to : units) {
            if (from == to)
                continue;
            const std::string thick = FormatLength(254, from);
            const std::string extra = FormatLength(4572, from);
            BandTypeTable t({{"-", "0", "-", "0", "0"}, {"A", thick, "a", extra, "1"}});
            EXPECT_TRUE(t.convertUnits(from, to).empty());
            EXPECT_EQ(t.record(1).thickness, FormatLength(ParseLength(from, thick), to));
            EXPECT_EQ(t.record(1).extraLength, FormatLength(ParseLength(from, extra), to));
        }
    }
}

TEST(BandTypeTableFile, SaveAndLoadRoundTrip)
{
    const std::string path = tableTempPath("round.vlb");
    BandTypeTable t = sample();
    t.append({"no extra", "0.1", "n", "", "1"});
    ASSERT_TRUE(t.save(path).ok());
    BandTypeTable back;
    ASSERT_TRUE(back.load(path).ok());
    EXPECT_EQ(back, sample()) << "a record without extra length is not saved";
    std::filesystem::remove(path);
}

TEST(BandTypeTableFile, DamagedFileGivesItsWholeRecordsMissingFileNothing)
{
    const std::string path = tableTempPath("damaged.vlb");
    std::ofstream(path, std::ios::binary) << "-\r\n0\r\n-\r\n0\r\n0\r\nA\r\n0.2\r\n";
    BandTypeTable t = sample();
    const Status st = t.load(path);
    EXPECT_EQ(st.msg, Msg::BandFileNotWholeRecords);
    EXPECT_EQ(t, BandTypeTable({{"-", "0", "-", "0", "0"}}));

    std::filesystem::remove(path);
    EXPECT_EQ(t.load(path).msg, Msg::CannotReadBandFile);
    EXPECT_EQ(t, BandTypeTable({{"-", "0", "-", "0", "0"}})) << "the table stays as it was";
}

TEST(BandTypeTableFile, RefusedSaveKeepsTheOldFile)
{
    const std::string path = tableTempPath("refused.vlb");
    ASSERT_TRUE(sample().save(path).ok());
    const std::string before = readFile(path);
    BandTypeTable t = sample();
    t.editField(1, BandField::Name, "two\nlines", LengthUnit::Centimetre);
    EXPECT_EQ(t.save(path).msg, Msg::BandFileNotWholeRecords);
    EXPECT_EQ(readFile(path), before);
    std::filesystem::remove(path);
}
