// The spreadsheet readers on files made by real tools (openpyxl, odfpy; see
// tests/data/sheets/make_fixtures.py) and on damaged and hostile files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>
#include <sstream>
#include <string>

#include "engine/file_io.h"
#include "sheets/csv_reader.h"
#include "sheets/ods_reader.h"
#include "sheets/workbook.h"
#include "sheets/xls_reader.h"
#include "sheets/xlsx_reader.h"
#include "sheets/zip_package.h"

namespace {

using engine::Msg;
using sheets::Workbook;
using sheets::Worksheet;

std::string fixture(const std::string& name)
{
    std::string path = TEST_DATA_DIR;
    path += "/sheets/";
    path += name;
    return path;
}

Workbook readOk(const std::string& name)
{
    auto book = sheets::readWorkbook(fixture(name));
    EXPECT_TRUE(book.ok()) << name << ": message " << engine::number(book.error().msg) << " "
                           << (book.error().args.size() > 1 ? book.error().args[1] : "");
    return book.ok() ? *book : Workbook{};
}

// The message and its place ("" when it has none).
std::pair<Msg, std::string> failure(const std::string& name)
{
    auto book = sheets::readWorkbook(fixture(name));
    if (book.ok())
        return {Msg::Ok, ""};
    const auto& args = book.error().args;
    EXPECT_FALSE(args.empty());
    if (!args.empty()) {
        EXPECT_EQ(args[0], fixture(name)) << "the message names the file";
    }
    return {book.error().msg, args.size() > 1 ? args[1] : ""};
}

bool contains(const std::string& s, const std::string& part) { return s.find(part) != std::string::npos; }

TEST(SheetsRanges, ParseAddressesAndBlocks)
{
    const auto r = sheets::parseRange("B2:B40");
    ASSERT_TRUE(r);
    EXPECT_EQ(*r, (sheets::CellRange{2, 2, 40, 2}));
    EXPECT_EQ(r->rowCount(), 39);
    EXPECT_EQ(*sheets::parseRange("e40:b2"), (sheets::CellRange{2, 2, 40, 5}));
    EXPECT_EQ(*sheets::parseRange("$C$7"), (sheets::CellRange{7, 3, 7, 3}));
    EXPECT_EQ(*sheets::parseRange(" AA10:XFD1048576 "), (sheets::CellRange{10, 27, 1048576, 16384}));
    for (const char* bad : {"", "B", "2", "B0:B4", "B2:", "B2:C", "XFE1", "A1048577", "B2-B4", "B2:B4:B6", "1B"})
        EXPECT_FALSE(sheets::parseRange(bad)) << bad;
    EXPECT_EQ(sheets::cellAddress(2, 2), "B2");
    EXPECT_EQ(sheets::cellAddress(10, 27), "AA10");
    EXPECT_EQ(sheets::cellAddress(1, 16384), "XFD1");
    EXPECT_EQ(sheets::rangeAddress({2, 2, 40, 2}), "B2:B40");
    EXPECT_EQ(sheets::columnNumber("ZZ"), 702);
}

TEST(SheetsRanges, NumberTextsInTheGeneralFormat)
{
    EXPECT_EQ(sheets::numberCellText(2.5), "2.5");
    EXPECT_EQ(sheets::numberCellText(120), "120");
    EXPECT_EQ(sheets::numberCellText(0.1 + 0.2), "0.3");
    EXPECT_EQ(sheets::numberCellText(-0.0), "0");
    EXPECT_EQ(sheets::numberCellText(1234567.891), "1234567.891");
    EXPECT_EQ(sheets::numberCellText(123456789012345678.0), "1.23456789012346E17");
}

TEST(SheetsWorksheet, RowsOutOfOrderAndRepeatedCellsMerge)
{
    Worksheet ws("S");
    ws.setText(5, 2, "b5");
    ws.setText(1, 1, "a1");
    ws.setText(5, 1, "a5");
    ws.setText(1, 1, "again");
    ws.setText(3, 3, "");
    ws.finish();
    EXPECT_EQ(ws.text(1, 1), "again");
    EXPECT_EQ(ws.text(5, 1), "a5");
    EXPECT_EQ(ws.text(5, 2), "b5");
    EXPECT_EQ(ws.text(3, 3), "");
    EXPECT_EQ(ws.text(99, 99), "");
    EXPECT_EQ(ws.lastRow(), 5);
    EXPECT_EQ(ws.lastColumn(), 2);
    EXPECT_EQ(ws.cellCount(), 3);
}

TEST(XlsxReader, NumbersTextsBooleansAndSheetsFromOpenpyxl)
{
    const Workbook book = readOk("basic.xlsx");
    ASSERT_EQ(book.sheetNames(), (std::vector<std::string>{"Parts", "Sheets", "Empty"}));
    const Worksheet& p = *book.sheet("parts");  // names compare without case
    EXPECT_EQ(p.text(1, 1), "Length");
    EXPECT_EQ(p.text(2, 1), "72");
    EXPECT_EQ(p.text(2, 4), "Side");
    EXPECT_EQ(p.text(3, 1), "2.5");
    EXPECT_EQ(p.text(3, 2), "30,5");  // a text cell as stored
    EXPECT_EQ(p.text(4, 1), "0.3");
    EXPECT_EQ(p.text(5, 1), "1234567.891");
    EXPECT_EQ(p.text(5, 2), "1E-7");
    EXPECT_EQ(p.text(5, 4), "Šifra čvor");
    EXPECT_EQ(p.text(6, 1), "TRUE");
    EXPECT_EQ(p.text(6, 2), "FALSE");
    EXPECT_EQ(p.text(6, 3), "");
    EXPECT_EQ(p.text(6, 4), "  two  spaces  ");
    EXPECT_EQ(p.text(20, 8), "far");
    EXPECT_EQ(p.lastRow(), 20);
    const Worksheet& s = *book.sheet("Sheets");
    EXPECT_EQ(s.text(2, 2), "280");
    EXPECT_EQ(s.text(2, 5), "Oak");
    EXPECT_EQ(book.sheet("Empty")->cellCount(), 0);
    EXPECT_EQ(book.sheet("Nothing"), nullptr);
}

TEST(XlsxReader, InlineStringsFormulasAndCellsWithoutAddresses)
{
    const Workbook book = readOk("hand.xlsx");
    ASSERT_EQ(book.sheetNames(), std::vector<std::string>{"Hand"});
    const Worksheet& h = book.sheets[0];
    EXPECT_EQ(h.text(1, 1), "inline");
    EXPECT_EQ(h.text(1, 2), "Plain");
    EXPECT_EQ(h.text(1, 3), "Rich text");  // runs joined, phonetic text left out
    EXPECT_EQ(h.text(1, 4), "42");
    EXPECT_EQ(h.text(2, 1), "5");  // a formula by its cached value
    EXPECT_EQ(h.text(2, 3), "ab");
    EXPECT_EQ(h.text(2, 4), "#DIV/0!");
    EXPECT_EQ(h.text(2, 5), "TRUE");
    EXPECT_EQ(h.text(5, 1), "");
    EXPECT_EQ(h.text(5, 2), "0.3");
    EXPECT_EQ(h.text(5, 3), "0");
    EXPECT_EQ(h.text(5, 4), "1E20");
}

TEST(XlsxReader, TenThousandRows)
{
    const Workbook book = readOk("big.xlsx");
    ASSERT_EQ(book.sheets.size(), 1u);
    const Worksheet& b = book.sheets[0];
    EXPECT_EQ(b.lastRow(), 10000);
    EXPECT_EQ(b.cellCount(), 40000);
    EXPECT_EQ(b.text(1, 1), "101.5");
    EXPECT_EQ(b.text(10000, 1), sheets::numberCellText(100 + 10000 % 700 + 0.5));
    EXPECT_EQ(b.text(10000, 4), "P10000");
}

TEST(XlsxReader, DamagedFilesNameTheFileAndThePlace)
{
    auto [m, where] = failure("bad-shared-index.xlsx");
    EXPECT_EQ(m, Msg::SpreadsheetDamaged);
    EXPECT_TRUE(contains(where, "cell A1")) << where;
    EXPECT_TRUE(contains(where, "shared string 2 of 2")) << where;

    std::tie(m, where) = failure("missing-sheet.xlsx");
    EXPECT_EQ(m, Msg::SpreadsheetDamaged);
    EXPECT_TRUE(contains(where, "xl/worksheets/sheet1.xml: missing")) << where;

    std::tie(m, where) = failure("missing-workbook.xlsx");
    EXPECT_EQ(m, Msg::SpreadsheetDamaged);
    EXPECT_TRUE(contains(where, "xl/workbook.xml: missing")) << where;

    std::tie(m, where) = failure("malformed-xml.xlsx");
    EXPECT_EQ(m, Msg::SpreadsheetDamaged);
    EXPECT_TRUE(contains(where, "XML error")) << where;

    std::tie(m, where) = failure("row-too-far.xlsx");
    EXPECT_EQ(m, Msg::SpreadsheetDamaged);
    EXPECT_TRUE(contains(where, "row 1048577")) << where;

    std::tie(m, where) = failure("truncated.xlsx");
    EXPECT_EQ(m, Msg::SpreadsheetDamaged);
}

TEST(XlsxReader, EveryCutOfAGoodFileFailsCleanly)
{
    auto bytes = engine::readWholeFile(fixture("hand.xlsx"), 1 << 20);
    ASSERT_TRUE(bytes.ok());
    for (std::size_t n = 0; n < bytes->size(); n += 37) {
        const auto book = sheets::XlsxReader::readBytes(bytes->substr(0, n), "cut.xlsx");
        ASSERT_FALSE(book.ok()) << n;
        EXPECT_EQ(book.error().msg, Msg::SpreadsheetDamaged) << n;
    }
    // Flipped bytes inside the compressed data: a message, never a crash.
    for (std::size_t i = 40; i < bytes->size(); i += 53) {
        std::string copy = *bytes;
        copy[i] = static_cast<char>(copy[i] ^ 0x5A);
        (void)sheets::XlsxReader::readBytes(copy, "flipped.xlsx");
    }
}

TEST(ZipPackage, StopsAtTheUnpackedSizeLimit)
{
    auto bytes = engine::readWholeFile(fixture("big.xlsx"), 1 << 24);
    ASSERT_TRUE(bytes.ok());
    sheets::ZipPackage zip;
    ASSERT_TRUE(zip.open(*bytes, "big.xlsx").ok());
    const auto part = zip.read("xl/worksheets/sheet1.xml", 1000);
    ASSERT_FALSE(part.ok());
    EXPECT_EQ(part.error().msg, Msg::SpreadsheetTooLarge);
    EXPECT_EQ(part.error().args, (std::vector<std::string>{"big.xlsx", "xl/worksheets/sheet1.xml"}));
    EXPECT_TRUE(zip.read("xl/worksheets/sheet1.xml").ok());
    EXPECT_EQ(zip.read("nothing.xml").error().msg, Msg::SpreadsheetDamaged);
}

TEST(OdsReader, ValuesRepeatsAndCoveredCellsFromOdfpy)
{
    const Workbook book = readOk("basic.ods");
    ASSERT_EQ(book.sheetNames(), (std::vector<std::string>{"Parts", "Sheets"}));
    const Worksheet& p = book.sheets[0];
    EXPECT_EQ(p.text(1, 4), "Name");
    EXPECT_EQ(p.text(2, 1), "72");
    EXPECT_EQ(p.text(3, 1), "2.5");  // office:value, not the displayed "2,50"
    EXPECT_EQ(p.text(3, 2), "30,5");
    EXPECT_EQ(p.text(3, 3), "0.25");
    EXPECT_EQ(p.text(3, 4), "two   spaces");
    for (int r = 4; r <= 6; ++r) {
        EXPECT_EQ(p.text(r, 1), "7") << r;
        EXPECT_EQ(p.text(r, 2), "7") << r;
        EXPECT_EQ(p.text(r, 3), "TRUE") << r;
    }
    EXPECT_EQ(p.text(7, 1), "A7");
    EXPECT_EQ(p.text(7, 2), "merged");
    EXPECT_EQ(p.text(7, 3), "");  // covered
    EXPECT_EQ(p.text(7, 4), "D7");
    EXPECT_EQ(p.lastRow(), 7);  // a million empty rows after it cost nothing
    EXPECT_EQ(p.cellCount(), 4 + 4 + 4 + 9 + 3);
    EXPECT_EQ(p.storedCells(), 4 + 4 + 4 + 3 + 3);  // the three equal rows held once
    EXPECT_EQ(book.sheets[1].text(1, 16001), "280");
}

TEST(OdsReader, TenThousandRows)
{
    const Workbook book = readOk("big.ods");
    const Worksheet& b = book.sheets.at(0);
    EXPECT_EQ(b.lastRow(), 10000);
    EXPECT_EQ(b.cellCount(), 40000);
    EXPECT_EQ(b.text(1, 1), "101.5");
    EXPECT_EQ(b.text(10000, 4), "P10000");
}

TEST(OdsReader, HostileRepeatsAndMissingPartsAreRefused)
{
    // A filled row repeated 1,048,576 times is held once, not a million times.
    const Workbook huge = readOk("huge-rows.ods");
    ASSERT_EQ(huge.sheets.size(), 1u);
    EXPECT_EQ(huge.sheets[0].lastRow(), 1048576);
    EXPECT_EQ(huge.sheets[0].text(1048576, 1), "1");
    EXPECT_EQ(huge.sheets[0].text(524288, 1), "1");
    EXPECT_EQ(huge.sheets[0].storedCells(), 1);
    EXPECT_EQ(huge.sheets[0].cellCount(), 1048576);
    auto [m, where] = failure("wide-cells.ods");
    EXPECT_EQ(m, Msg::SpreadsheetTooLarge);
    std::tie(m, where) = failure("no-content.ods");
    EXPECT_EQ(m, Msg::SpreadsheetDamaged);
    EXPECT_TRUE(contains(where, "content.xml: missing")) << where;
}

// An ODS package around the given table rows.
std::string odsWith(const std::string& rows);

TEST(OdsReader, MalformedValuesAndCounts)
{
    const auto fails = [](const std::string& rows) {
        const auto book = sheets::OdsReader::readBytes(odsWith(rows), "x.ods");
        return book.ok() ? Msg::Ok : book.error().msg;
    };
    EXPECT_EQ(fails("<table:table-row><table:table-cell office:value-type=\"float\" office:value=\"abc\"/></table:table-row>"),
              Msg::SpreadsheetDamaged);
    EXPECT_EQ(fails("<table:table-row table:number-rows-repeated=\"-5\"><table:table-cell/></table:table-row>"),
              Msg::SpreadsheetDamaged);
    EXPECT_EQ(fails("<table:table-row><table:table-cell table:number-columns-repeated=\"99999999999999999\"/></table:table-row>"),
              Msg::SpreadsheetDamaged);
    // Empty cells and rows may repeat as far as they like.
    EXPECT_EQ(fails("<table:table-row table:number-rows-repeated=\"999999999999\">"
                    "<table:table-cell table:number-columns-repeated=\"999999999999\"/></table:table-row>"
                    "<table:table-row table:number-rows-repeated=\"999999999999\"/>"),
              Msg::Ok);
    // ... but nothing filled may come after them beyond the last row.
    EXPECT_EQ(fails("<table:table-row table:number-rows-repeated=\"1048576\"><table:table-cell/></table:table-row>"
                    "<table:table-row><table:table-cell office:value-type=\"string\"><text:p>x</text:p>"
                    "</table:table-cell></table:table-row>"),
              Msg::SpreadsheetTooLarge);
    // Rows inside header-rows and row groups count.
    const auto book = sheets::OdsReader::readBytes(
        odsWith("<table:table-header-rows><table:table-row><table:table-cell office:value-type=\"string\">"
                "<text:p>head</text:p></table:table-cell></table:table-row></table:table-header-rows>"
                "<table:table-row-group><table:table-row><table:table-cell office:value-type=\"float\" "
                "office:value=\"3\"><text:p>3,00</text:p></table:table-cell></table:table-row></table:table-row-group>"),
        "x.ods");
    ASSERT_TRUE(book.ok());
    EXPECT_EQ(book->sheets[0].text(1, 1), "head");
    EXPECT_EQ(book->sheets[0].text(2, 1), "3");
}

TEST(CsvReader, DelimitersQuotesAndEncodings)
{
    Workbook book = readOk("comma.csv");
    ASSERT_EQ(book.sheetNames(), std::vector<std::string>{"comma"});
    const Worksheet* s = &book.sheets[0];
    EXPECT_EQ(s->text(2, 1), "72");
    EXPECT_EQ(s->text(3, 4), "Top, left");
    EXPECT_EQ(s->lastRow(), 3);

    book = readOk("semicolon-bom.csv");
    s = &book.sheets[0];
    EXPECT_EQ(s->text(1, 1), "Length");  // the byte-order mark is gone
    EXPECT_EQ(s->text(2, 4), "Šifra");
    EXPECT_EQ(s->text(3, 1), "2,5");
    EXPECT_EQ(s->text(3, 4), "say \"hi\"");

    book = readOk("tab-1252.txt");
    s = &book.sheets[0];
    EXPECT_EQ(s->text(2, 4), "Größe");
    EXPECT_EQ(s->text(3, 4), "two\nlines");
    EXPECT_EQ(s->lastColumn(), 4);

    book = readOk("utf16.txt");
    EXPECT_EQ(book.sheets[0].text(2, 4), "Šifra");
    EXPECT_EQ(book.sheets[0].text(2, 2), "56");

    auto [m, where] = failure("open-quote.csv");
    EXPECT_EQ(m, Msg::SpreadsheetDamaged);
    EXPECT_EQ(where, "line 2: quote not closed");
}

TEST(CsvReader, DelimiterDetection)
{
    EXPECT_EQ(sheets::detectCsvDelimiter("a,b,c\n1,2,3\n"), ',');
    EXPECT_EQ(sheets::detectCsvDelimiter("a;b;c\n1,5;2,5;3\n"), ';');  // decimal commas do not mislead
    EXPECT_EQ(sheets::detectCsvDelimiter("a\tb\n1,5\t2\n"), '\t');
    EXPECT_EQ(sheets::detectCsvDelimiter("\"x;y\",b\n1,2\n"), ',');  // a quoted delimiter does not count
    EXPECT_EQ(sheets::detectCsvDelimiter("single\ncolumn\n"), ',');
    EXPECT_EQ(sheets::detectCsvDelimiter(""), ',');
    const auto book = sheets::CsvReader::readBytes("1;2\r\n\r\n3;4", "/x/y.csv");
    ASSERT_TRUE(book.ok());
    EXPECT_EQ(book->sheets[0].text(3, 2), "4");  // an empty line is an empty row
}

TEST(SpreadsheetFiles, KindsByNameAndFileProblems)
{
    EXPECT_EQ(sheets::kindOfPath("a.XLSX"), sheets::SpreadsheetKind::Xlsx);
    EXPECT_EQ(sheets::kindOfPath("a.ods"), sheets::SpreadsheetKind::Ods);
    EXPECT_EQ(sheets::kindOfPath("a.xls"), sheets::SpreadsheetKind::Xls);
    EXPECT_EQ(sheets::kindOfPath("a.Txt"), sheets::SpreadsheetKind::Csv);
    EXPECT_FALSE(sheets::kindOfPath("a.vlp"));
    EXPECT_EQ(sheets::readWorkbook("/tmp/x.vlp").error().msg, Msg::SpreadsheetUnknownKind);
    EXPECT_EQ(sheets::readWorkbook(fixture("none.xlsx")).error().msg, Msg::FileMissing);
    EXPECT_EQ(sheets::readWorkbook(fixture("none.ods")).error().msg, Msg::FileMissing);
    EXPECT_EQ(sheets::readWorkbook(fixture("none.csv")).error().msg, Msg::FileMissing);
    // A folder is no file.
    const auto folder = std::filesystem::temp_directory_path() / ("velmora-sheets-" + std::to_string(::getpid()) + ".csv");
    std::filesystem::create_directories(folder);
    EXPECT_EQ(sheets::readWorkbook(folder.string()).error().msg, Msg::FileNotRegular);
    std::filesystem::remove(folder);
    // A file of the wrong kind under a known name.
    const std::string wrong = std::string(TEST_DATA_DIR) + "/sheets/make_fixtures.py";
    EXPECT_EQ(sheets::XlsxReader::readBytes("just text", wrong).error().msg, Msg::SpreadsheetDamaged);
    EXPECT_EQ(sheets::OdsReader::readBytes("", wrong).error().msg, Msg::SpreadsheetDamaged);
}

} // namespace

// Outside the anonymous namespace only to keep the test bodies short above.
#include <zip.h>

namespace {

std::string odsWith(const std::string& rows)
{
    const std::string content =
        "<?xml version=\"1.0\"?><office:document-content "
        "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
        "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
        "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"><office:body><office:spreadsheet>"
        "<table:table table:name=\"T\">" + rows + "</table:table></office:spreadsheet></office:body></office:document-content>";
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* out = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_source_keep(out);
    zip_t* z = zip_open_from_source(out, ZIP_TRUNCATE, &error);
    zip_source_t* part = zip_source_buffer_create(content.data(), content.size(), 0, &error);
    zip_file_add(z, "content.xml", part, ZIP_FL_OVERWRITE);
    zip_close(z);
    std::string bytes;
    zip_source_open(out);
    zip_source_seek(out, 0, SEEK_END);
    const zip_int64_t size = zip_source_tell(out);
    zip_source_seek(out, 0, SEEK_SET);
    bytes.resize(static_cast<std::size_t>(size));
    zip_source_read(out, bytes.data(), static_cast<zip_uint64_t>(size));
    zip_source_close(out);
    zip_source_free(out);
    zip_error_fini(&error);
    return bytes;
}

} // namespace

namespace {

TEST(XlsReader, BinaryWorkbookThroughLibfreexl)
{
    if (!sheets::makeXlsReader())
        GTEST_SKIP() << "this build has no libfreexl";
    const Workbook book = readOk("basic.xls");
    ASSERT_EQ(book.sheetNames(), (std::vector<std::string>{"Parts", "Sheets"}));
    const Worksheet& p = book.sheets[0];
    EXPECT_EQ(p.text(1, 1), "Length");  // shared string
    EXPECT_EQ(p.text(2, 1), "72");      // RK integer
    EXPECT_EQ(p.text(2, 2), "56");      // NUMBER
    EXPECT_EQ(p.text(3, 1), "2.5");
    EXPECT_EQ(p.text(3, 2), "30,5");    // LABEL, as stored
    EXPECT_EQ(p.text(3, 4), "Šifra");
    EXPECT_EQ(p.text(4, 1), "0.3");
    EXPECT_EQ(p.text(4, 3), "1");       // a boolean comes as its number
    EXPECT_EQ(p.text(4, 4), "2023-03-15");  // a number in a date format
    EXPECT_EQ(book.sheets[1].text(2, 2), "280");
    EXPECT_EQ(book.sheets[1].text(2, 5), "Oak");
    EXPECT_EQ(book.sheets[1].text(1, 1), "");

    EXPECT_EQ(failure("truncated.xls").first, Msg::SpreadsheetDamaged);
    EXPECT_EQ(failure("not-biff.xls").first, Msg::SpreadsheetDamaged);
    EXPECT_EQ(sheets::readWorkbook(fixture("none.xls")).error().msg, Msg::FileMissing);
}

} // namespace
