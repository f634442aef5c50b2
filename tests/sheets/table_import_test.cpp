// The import of a selected block into the sheet and part tables: the
// preview, its checks and the copy into the tables, on worked examples.
#include <gtest/gtest.h>

#include <string>

#include "engine/input_tables.h"
#include "engine/project.h"
#include "sheets/table_import.h"
#include "sheets/workbook.h"

namespace {

using engine::LengthUnit;
using engine::Msg;
using sheets::ImportMode;
using sheets::ImportPreview;
using sheets::ImportTarget;

const engine::BandValues kFirstBand{"-", "0", "x"};

// A worksheet from rows of texts, starting at B2 (the way lists usually sit).
sheets::Worksheet sheetOf(const std::vector<std::vector<std::string>>& rows)
{
    sheets::Worksheet ws("List");
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            ws.setText(static_cast<std::int64_t>(r + 2), static_cast<std::int64_t>(c + 2), rows[r][c]);
    ws.finish();
    return ws;
}

ImportPreview previewOf(const sheets::Worksheet& ws, const char* range, bool commas = true)
{
    ImportPreview p;
    const auto block = sheets::blockOf(ws, *sheets::parseRange(range));
    EXPECT_TRUE(block.ok());
    EXPECT_TRUE(sheets::previewBlock(*block, commas, p).ok());
    return p;
}

engine::Project projectWithParts(int n)
{
    engine::Project p;
    for (int i = 1; i <= n; ++i) {
        const auto row = engine::addPartRow(p, {"old" + std::to_string(i), "50", "40", "2", "1", "0"}, {"-", "0", ""},
                                            {"PVC", "0.1", "p"});
        EXPECT_TRUE(row.ok());
    }
    return p;
}

TEST(TableImport, CommaConversionDecidesWhetherTwoCommaFiveReads)
{
    const auto ws = sheetOf({{"2,5", "30", "1", "Top,front"}});
    ImportPreview on = previewOf(ws, "B2:E2", true);
    EXPECT_EQ(on.cell(1, 1), "2.5");
    EXPECT_EQ(on.cell(1, 4), "Top.front");  // every comma of every cell
    engine::Project project;
    ASSERT_TRUE(sheets::importPreview(project, ImportTarget::Sheets, on, ImportMode::Append, kFirstBand,
                                      LengthUnit::Centimetre).ok());
    EXPECT_EQ(project.sheets.cell(1, engine::SheetCol::Len), "2.5");

    const ImportPreview off = previewOf(ws, "B2:E2", false);
    EXPECT_EQ(off.cell(1, 1), "2,5");
    const auto failed = sheets::importPreview(project, ImportTarget::Sheets, off, ImportMode::Append, kFirstBand,
                                              LengthUnit::Centimetre);
    ASSERT_FALSE(failed.ok());
    EXPECT_EQ(failed.error().msg, Msg::ImportLengthNotNumber);
    EXPECT_EQ(failed.error().args, std::vector<std::string>{"1,1"});
    EXPECT_EQ(project.sheetRowCount(), 1);  // nothing more written
}

TEST(TableImport, ThreeColumnsLeaveTheFourthColumnAndItsRange)
{
    const auto ws = sheetOf({{"10", "20", "1", "a"}, {"11", "21", "2", "b"}, {"12", "22", "3", "c"}});
    ImportPreview p = previewOf(ws, "B2:E4");
    EXPECT_EQ(p.ranges, (std::array<std::string, 4>{"B2:B4", "C2:C4", "D2:D4", "E2:E4"}));
    const auto other = sheetOf({{"70", "80", "5"}, {"71", "81", "6"}});
    const auto block = sheets::blockOf(other, *sheets::parseRange("B2:D3"));
    ASSERT_TRUE(block.ok());
    ASSERT_TRUE(sheets::previewBlock(*block, true, p).ok());
    EXPECT_EQ(p.ranges, (std::array<std::string, 4>{"B2:B3", "C2:C3", "D2:D3", "E2:E4"}));
    EXPECT_EQ(p.rowCount(), 2);
    EXPECT_EQ(p.cell(2, 1), "71");
    EXPECT_EQ(p.cell(1, 4), "a");
    EXPECT_EQ(p.cell(2, 4), "b");
}

TEST(TableImport, FiveColumnsAreRefusedAndThePreviewStays)
{
    const auto ws = sheetOf({{"10", "20", "1", "a", "extra"}});
    EXPECT_EQ(sheets::blockOf(ws, *sheets::parseRange("B2:F2")).error().msg, Msg::ImportSelectionTooWide);
    sheets::CellBlock wide;
    wide.rows = 1;
    wide.cols = 5;
    wide.texts.assign(5, "1");
    ImportPreview p = previewOf(ws, "B2:E2");
    const ImportPreview before = p;
    EXPECT_EQ(sheets::previewBlock(wide, true, p).msg, Msg::ImportSelectionTooWide);
    EXPECT_EQ(p.rows, before.rows);
    EXPECT_EQ(p.ranges, before.ranges);
}

TEST(TableImport, TenPartsAfterFiveExistingAppendWithLockAndFirstBand)
{
    std::vector<std::vector<std::string>> rows;
    for (int i = 1; i <= 10; ++i)
        rows.push_back({std::to_string(100 + i), std::to_string(50 + i), std::to_string(i), "new" + std::to_string(i)});
    const auto ws = sheetOf(rows);
    engine::Project project = projectWithParts(5);
    const engine::TextTable before = project.parts;
    const auto first = sheets::importPreview(project, ImportTarget::Parts, previewOf(ws, "B2:E11"), ImportMode::Append,
                                             kFirstBand, LengthUnit::Centimetre);
    ASSERT_TRUE(first.ok());
    EXPECT_EQ(*first, 6);
    ASSERT_EQ(project.partRowCount(), 15);
    for (int r = 1; r <= 5; ++r)
        EXPECT_EQ(project.parts.row(r), before.row(r)) << r;
    namespace C = engine::PartCol;
    for (int r = 6; r <= 15; ++r) {
        const int i = r - 5;
        EXPECT_EQ(project.parts.cell(r, C::Len), std::to_string(100 + i));
        EXPECT_EQ(project.parts.cell(r, C::Wid), std::to_string(50 + i));
        EXPECT_EQ(project.parts.cell(r, C::Qty), std::to_string(i));
        EXPECT_EQ(project.parts.cell(r, C::Ini), "new" + std::to_string(i));
        EXPECT_EQ(project.parts.cell(r, C::Rot), "0");
        for (int e = 0; e < 4; ++e) {
            EXPECT_EQ(project.parts.cell(r, C::Band + e), "-");
            EXPECT_EQ(project.parts.cell(r, C::Thickness + e), "0");
            EXPECT_EQ(project.parts.cell(r, C::Sign + e), "x");
        }
    }
    // The total follows the rows, as after typing them: 5 x 2 + 1 + ... + 10.
    EXPECT_EQ(project.partQtyTotal, 10 + 55);
}

TEST(TableImport, ReplaceEmptiesTheTableFirstAndAppendKeepsIt)
{
    const auto ws = sheetOf({{"30", "20", "4", "n"}});
    engine::Project replaced = projectWithParts(3);
    ASSERT_EQ(*sheets::importPreview(replaced, ImportTarget::Parts, previewOf(ws, "B2:E2"), ImportMode::Replace,
                                     kFirstBand, LengthUnit::Centimetre),
              1);
    EXPECT_EQ(replaced.partRowCount(), 1);
    EXPECT_EQ(replaced.partQtyTotal, 4);
    engine::Project kept = projectWithParts(3);
    ASSERT_EQ(*sheets::importPreview(kept, ImportTarget::Parts, previewOf(ws, "B2:E2"), ImportMode::Append,
                                     kFirstBand, LengthUnit::Centimetre),
              4);
    EXPECT_EQ(kept.partRowCount(), 4);
    EXPECT_EQ(kept.parts.cell(1, engine::PartCol::Ini), "old1");
    EXPECT_EQ(kept.partQtyTotal, 3 * 2 + 4);
}

TEST(TableImport, CellChecksNameColumnAndRowBeforeAnythingIsWritten)
{
    struct Case {
        std::vector<std::string> row;
        Msg msg;
        std::string where;
    };
    const std::vector<Case> cases = {
        {{"10", "20", "3.0", ""}, Msg::ImportQuantityNotInteger, "3,2"},
        {{"10", "20", "", ""}, Msg::ImportQuantityNotInteger, "3,2"},
        {{"10", "20", "0", ""}, Msg::ImportQuantityNotPositive, "3,2"},
        {{"10", "20", "-2", ""}, Msg::ImportQuantityNotPositive, "3,2"},
        {{"10", "0", "1", ""}, Msg::ImportLengthNotPositive, "2,2"},
        {{"-0.1", "5", "1", ""}, Msg::ImportLengthNotPositive, "1,2"},
        {{"", "5", "1", ""}, Msg::ImportLengthNotNumber, "1,2"},
        {{"abc", "5", "1", ""}, Msg::ImportLengthNotNumber, "1,2"},
        {{"1e300", "5", "1", ""}, Msg::ImportLengthNotNumber, "1,2"},
        {{"10", "20 cm", "1", ""}, Msg::ImportLengthNotNumber, "2,2"},
    };
    for (const Case& c : cases) {
        const auto ws = sheetOf({{"5", "5", "1", "fine"}, c.row});
        engine::Project project = projectWithParts(2);
        const engine::Project before = project;
        const auto r = sheets::importPreview(project, ImportTarget::Parts, previewOf(ws, "B2:E3", false),
                                             ImportMode::Replace, kFirstBand, LengthUnit::Centimetre);
        ASSERT_FALSE(r.ok()) << c.row[0] << " " << c.row[1] << " " << c.row[2];
        EXPECT_EQ(r.error().msg, c.msg) << c.where;
        EXPECT_EQ(r.error().args, std::vector<std::string>{c.where});
        EXPECT_EQ(project.parts, before.parts);
    }
    // Column 1 is checked over all rows before column 2, as the columns are read.
    const auto ws = sheetOf({{"5", "x", "1"}, {"y", "5", "1"}});
    const auto r = sheets::checkPreview(previewOf(ws, "B2:D3"), LengthUnit::Centimetre);
    EXPECT_EQ(r.msg, Msg::ImportLengthNotNumber);
    EXPECT_EQ(r.args, std::vector<std::string>{"1,2"});
    EXPECT_EQ(sheets::checkPreview(ImportPreview{}, LengthUnit::Centimetre).msg, Msg::ImportNothingToImport);
}

TEST(TableImport, LengthsAreReadInTheProjectUnit)
{
    const auto ws = sheetOf({{"2' 6\"", "5 3/4", "1"}});
    EXPECT_TRUE(sheets::checkPreview(previewOf(ws, "B2:D2"), LengthUnit::FeetInches).ok());
    EXPECT_EQ(sheets::checkPreview(previewOf(ws, "B2:D2"), LengthUnit::Centimetre).msg, Msg::ImportLengthNotNumber);
    const auto decimal = sheetOf({{"24.5", "5", "1"}});
    EXPECT_EQ(sheets::checkPreview(previewOf(decimal, "B2:D2"), LengthUnit::FractionalInch).msg,
              Msg::ImportLengthNotNumber);
}

TEST(TableImport, NoMoreRowsThanATableHolds)
{
    std::vector<std::vector<std::string>> rows(10, {"10", "10", "1"});
    const auto ws = sheetOf(rows);
    engine::Project project = projectWithParts(495);
    const auto r = sheets::importPreview(project, ImportTarget::Parts, previewOf(ws, "B2:D11"), ImportMode::Append,
                                         kFirstBand, LengthUnit::Centimetre);
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.error().msg, Msg::ImportTooManyRows);
    EXPECT_EQ(r.error().args, std::vector<std::string>{"1,5"});  // preview row 5 would be table row 500
    EXPECT_EQ(project.partRowCount(), 495);
    // Replacing the table leaves room.
    EXPECT_TRUE(sheets::importPreview(project, ImportTarget::Parts, previewOf(ws, "B2:D11"), ImportMode::Replace,
                                      kFirstBand, LengthUnit::Centimetre).ok());
    EXPECT_EQ(project.partRowCount(), 10);
    std::vector<std::vector<std::string>> many(499, {"10", "10", "1"});
    EXPECT_TRUE(sheets::checkRoom(previewOf(sheetOf(many), "B2:D500"), 0).ok());
    EXPECT_EQ(sheets::checkRoom(previewOf(sheetOf(many), "B2:D500"), 1).args, std::vector<std::string>{"1,499"});
    // A taller block is refused before a preview is made of it.
    const auto tall = sheets::blockOf(sheetOf(many), *sheets::parseRange("B2:D1048576"));
    EXPECT_EQ(tall.error().msg, Msg::ImportTooManyRows);
    EXPECT_EQ(tall.error().args, std::vector<std::string>{"1,500"});
    std::string pasted;
    for (int i = 0; i < 500; ++i)
        pasted += "1\t2\t3\n";
    EXPECT_EQ(sheets::blockFromClipboard(pasted).error().msg, Msg::ImportTooManyRows);
    ImportPreview remembered;
    remembered.ranges[0] = "A1:A600";
    EXPECT_EQ(sheets::loadRanges(sheetOf(many), true, remembered).msg, Msg::ImportTooManyRows);
}

TEST(TableImport, RememberedRangesLoadTheirFirstColumns)
{
    const auto ws = sheetOf({{"10", "20", "1", "a"}, {"11", "21", "2", "b"}, {"12", "22", "3", "c"}});
    ImportPreview p;
    p.ranges = {"B2:B4", "", "D2:D4", "E2:F3"};  // a wider range gives its first column
    ASSERT_TRUE(sheets::loadRanges(ws, true, p).ok());
    EXPECT_EQ(p.rowCount(), 2);  // the rows of the last column read
    EXPECT_EQ(p.cell(2, 1), "11");
    EXPECT_EQ(p.cell(2, 2), "");
    EXPECT_EQ(p.cell(2, 3), "2");
    EXPECT_EQ(p.cell(2, 4), "b");
    p.ranges[1] = "C2:C";
    const ImportPreview before = p;
    const auto bad = sheets::loadRanges(ws, true, p);
    EXPECT_EQ(bad.msg, Msg::RangeNotValid);
    EXPECT_EQ(bad.args, std::vector<std::string>{"C2:C"});
    EXPECT_EQ(p.rows, before.rows);
}

TEST(TableImport, ClipboardBlocks)
{
    auto b = sheets::blockFromClipboard("10\t20\t1\tTop\r\n11\t21\t2\t\"two\tcells\"\r\n");
    ASSERT_TRUE(b.ok());
    EXPECT_EQ(b->rows, 2);
    EXPECT_EQ(b->cols, 4);
    EXPECT_EQ(b->text(2, 4), "two\tcells");
    EXPECT_FALSE(b->range);
    ImportPreview p;
    p.ranges = {"B2:B9", "C2:C9", "D2:D9", "E2:E9"};
    ASSERT_TRUE(sheets::previewBlock(*b, true, p).ok());
    EXPECT_EQ(p.ranges, (std::array<std::string, 4>{}));  // pasted cells have no place
    b = sheets::blockFromClipboard("1\n2\t3");  // ragged: the missing cell is empty
    ASSERT_TRUE(b.ok());
    EXPECT_EQ(b->cols, 2);
    EXPECT_EQ(b->text(1, 2), "");
    EXPECT_EQ(sheets::blockFromClipboard("").error().msg, Msg::ImportSelectionUnreadable);
    EXPECT_EQ(sheets::blockFromClipboard("1\t2\t3\t4\t5\n").error().msg, Msg::ImportSelectionTooWide);
}

TEST(TableImport, ABlockOfARealWorkbook)
{
    const auto book = sheets::readWorkbook(std::string(TEST_DATA_DIR) + "/sheets/basic.xlsx");
    ASSERT_TRUE(book.ok());
    const ImportPreview p = previewOf(*book->sheet("Parts"), "A2:D4");
    engine::Project project;
    ASSERT_TRUE(sheets::importPreview(project, ImportTarget::Parts, p, ImportMode::Append, kFirstBand,
                                      LengthUnit::Centimetre).ok());
    EXPECT_EQ(project.parts.row(2), (std::vector<std::string>{"", "2.5", "30.5", "1", "Top", "0", "-", "-", "-", "-",
                                                               "0", "0", "0", "0", "x", "x", "x", "x"}));
    EXPECT_EQ(project.parts.cell(3, 1), "0.3");
    EXPECT_EQ(project.partQtyTotal, 7);
}

} // namespace
