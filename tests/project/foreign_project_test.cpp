#include "project/foreign_project.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using engine::Msg;
using project_io::readForeignProjectText;

std::string lines(std::initializer_list<std::string> ls)
{
    std::string s;
    for (const auto& l : ls)
        s += l + "\r\n";
    return s;
}

const std::string kHeader = lines({"QUILLON", "12.5", "h3", "h4"});

TEST(QuillonPieces, TwentyBytesOrALineFeed)
{
    // 18 characters + CR LF is one piece; 19 characters + CR fill a piece
    // and the LF becomes a piece of its own.
    auto p = project_io::splitQuillonPieces("ABCDEFGHIJKLMNOPQR\r\nABCDEFGHIJKLMNOPQRS\r\n  x \t\r\n");
    ASSERT_TRUE(p.ok());
    EXPECT_EQ(*p, (std::vector<std::string>{"ABCDEFGHIJKLMNOPQR", "ABCDEFGHIJKLMNOPQRS", "", "x"}));
    auto longLine = project_io::splitQuillonPieces(std::string(45, 'a'));
    ASSERT_TRUE(longLine.ok());
    EXPECT_EQ(*longLine, (std::vector<std::string>{std::string(20, 'a'), std::string(20, 'a'), std::string(5, 'a')}));
}

TEST(QuillonPieces, MoreThanTenThousandIsRefused)
{
    std::string s;
    for (int i = 0; i < 10000; ++i)
        s += "x\n";
    EXPECT_TRUE(project_io::splitQuillonPieces(s).ok());
    s += "y";
    const auto p = project_io::splitQuillonPieces(s);
    ASSERT_FALSE(p.ok());
    EXPECT_EQ(p.error().msg, Msg::QuillonFileTooLong);
}

TEST(QuillonRead, SheetAndPartRecords)
{
    const std::string text = kHeader + lines({"tab_1", "1", "250", "120", "2", "hrast", "s7",
                                              "tab_2", "1", "60", "40", "3", "A", "1", "v7", "v8",
                                              "end", "end"});
    engine::Project p;
    p.parts.setCell(1, 16, "keep");  // a row that is already there stays as it is
    const auto r = readForeignProjectText(text, p);
    ASSERT_TRUE(r.status.ok());
    EXPECT_EQ(r.unit, 1);
    ASSERT_EQ(p.sheetRowCount(), 1);
    EXPECT_EQ(p.sheets.row(1), (std::vector<std::string>{"1", "250", "120", "2", "hrast"}));
    ASSERT_EQ(p.partRowCount(), 2);
    EXPECT_EQ(p.parts.row(2), (std::vector<std::string>{"1", "60", "40", "3", "A", "1", "-", "-", "-", "-", "0", "0",
                                                         "0", "0", "", "", "", ""}));
    EXPECT_EQ(p.parts.cell(1, 16), "keep");
}

TEST(QuillonRead, NineteenCharacterDescriptionShiftsRecords)
{
    const std::string text = kHeader + lines({"tab_1", "1", "250", "120", "2", "ABCDEFGHIJKLMNOPQRS", "s7",
                                              "tab_1", "2", "300", "200", "1", "d", "s7",
                                              "end", "end"});
    engine::Project p;
    ASSERT_TRUE(readForeignProjectText(text, p).status.ok());
    // The description took two pieces, so the seventh line of the first
    // record is the LF piece and "s7" opens the next record, which is read
    // as a part from the lines of the second sheet.
    ASSERT_EQ(p.sheetRowCount(), 1);
    EXPECT_EQ(p.sheets.row(1), (std::vector<std::string>{"1", "250", "120", "2", "ABCDEFGHIJKLMNOPQRS"}));
    ASSERT_EQ(p.partRowCount(), 1);
    EXPECT_EQ(p.parts.row(1), (std::vector<std::string>{"tab_1", "2", "300", "200", "1", "d", "-", "-", "-", "-", "0",
                                                         "0", "0", "0", "", "", "", ""}));
}

TEST(QuillonRead, TwoFilesAddedOneAfterTheOther)
{
    const std::string first = kHeader + lines({"tab_1", "1", "250", "120", "2", "a", "", "p", "1", "10", "20", "1",
                                               "P1", "0", "", "", "end", "end"});
    const std::string second = kHeader + lines({"tab_1", "1", "100", "50", "1", "b", "", "p", "1", "30", "40", "2",
                                                "P2", "1", "", "", "end", "end"});
    engine::Project p;
    ASSERT_TRUE(readForeignProjectText(first, p).status.ok());
    ASSERT_TRUE(readForeignProjectText(second, p).status.ok());
    ASSERT_EQ(p.sheetRowCount(), 2);
    EXPECT_EQ(p.sheets.cell(1, 4), "a");
    EXPECT_EQ(p.sheets.cell(2, 4), "b");
    ASSERT_EQ(p.partRowCount(), 2);
    EXPECT_EQ(p.parts.cell(1, 4), "P1");
    EXPECT_EQ(p.parts.cell(2, 4), "P2");
}

TEST(QuillonRead, RecordCutShortGetsEmptyCells)
{
    const std::string text = kHeader + lines({"tab_1", "1", "250"});
    engine::Project p;
    ASSERT_TRUE(readForeignProjectText(text, p).status.ok());
    ASSERT_EQ(p.sheetRowCount(), 1);
    EXPECT_EQ(p.sheets.row(1), (std::vector<std::string>{"1", "250", "", "", ""}));
}

TEST(QuillonRead, HeaderOnlyGivesNoRows)
{
    engine::Project p;
    ASSERT_TRUE(readForeignProjectText(kHeader + lines({"x", "y"}), p).status.ok());
    EXPECT_EQ(p.sheetRowCount(), 0);
    EXPECT_EQ(p.partRowCount(), 0);
    ASSERT_TRUE(readForeignProjectText("", p).status.ok());
}

TEST(QuillonRead, TooLongFileChangesNothing)
{
    std::string text = kHeader;
    for (int i = 0; i < 10000; ++i)
        text += "tab_1\r\n";
    engine::Project p;
    const auto r = readForeignProjectText(text, p);
    EXPECT_EQ(r.unit, -1);
    EXPECT_EQ(r.status.msg, Msg::QuillonFileTooLong);
    EXPECT_EQ(p.sheetRowCount(), 0);
}

TEST(QuillonRead, FileOnDisk)
{
    engine::Project p;
    const auto r = project_io::ReadForeignProject(std::string(TEST_DATA_DIR) + "/project/qln/cabinet.qln", p, engine::Settings());
    ASSERT_TRUE(r.status.ok());
    EXPECT_EQ(p.sheetRowCount(), 1);
    EXPECT_EQ(p.sheets.cell(1, 1), "250");
    EXPECT_EQ(p.partRowCount(), 1);
    EXPECT_EQ(project_io::ReadForeignProject(std::string(TEST_DATA_DIR) + "/project/qln/none.qln", p, engine::Settings()).status.msg,
              Msg::CannotOpenProject);
}

} // namespace
