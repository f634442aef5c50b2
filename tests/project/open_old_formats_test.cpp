#include <string>

#include <gtest/gtest.h>

#include "project/project_file.h"
#include "tests/project/temp_dir.h"

namespace {

engine::Settings millimetres()
{
    engine::Settings s;
    s.JedMere = 0;
    return s;
}

TEST(OpenOldFormats, CentimetreQuillonShownInMillimetres)
{
    engine::Project p;
    const auto r = project_io::OpenProject(std::string(TEST_DATA_DIR) + "/project/qln/cabinet.qln", false, p, millimetres());
    ASSERT_TRUE(r.status.ok());
    ASSERT_EQ(p.sheetRowCount(), 1);
    EXPECT_EQ(p.sheets.cell(1, engine::SheetCol::Len), "2500");
    EXPECT_EQ(p.sheets.cell(1, engine::SheetCol::Wid), "1200");
    EXPECT_EQ(p.sheets.cell(1, engine::SheetCol::Qty), "2");
    ASSERT_EQ(p.partRowCount(), 1);
    EXPECT_EQ(p.parts.cell(1, engine::PartCol::Len), "600");
    EXPECT_EQ(p.parts.cell(1, engine::PartCol::Band), "-");
    EXPECT_EQ(p.sheetQtyTotal, 2);
    EXPECT_EQ(p.partQtyTotal, 3);
}

TEST(OpenOldFormats, QuillonFilesAddedOneAfterTheOther)
{
    engine::Project p;
    const std::string file = std::string(TEST_DATA_DIR) + "/project/qln/cabinet.qln";
    ASSERT_TRUE(project_io::OpenProject(file, false, p, millimetres()).status.ok());
    ASSERT_TRUE(project_io::OpenProject(file, true, p, millimetres()).status.ok());
    ASSERT_EQ(p.sheetRowCount(), 2);
    EXPECT_EQ(p.sheets.cell(2, engine::SheetCol::Len), "2500");  // converted once, not twice
    EXPECT_EQ(p.sheetQtyTotal, 4);
}

TEST(OpenOldFormats, LegacyTextByFirstByte)
{
    engine::Project p;
    const auto r = project_io::OpenProject(std::string(TEST_DATA_DIR) + "/project/legacy/short.vlp", false, p, millimetres());
    ASSERT_TRUE(r.status.ok());
    ASSERT_EQ(p.sheetRowCount(), 1);
    EXPECT_EQ(p.sheets.cell(1, engine::SheetCol::Len), "2800");
    EXPECT_EQ(p.parts.cell(2, engine::PartCol::Len), "305");
    EXPECT_EQ(p.parts.cell(2, engine::PartCol::Thickness), "0");
    EXPECT_EQ(p.details.coverTitle, "Ormar");
    EXPECT_FALSE(r.showResults);
}

TEST(OpenOldFormats, DamagedLegacyTextKeepsTheProjectInAddMode)
{
    TempDir dir;
    writeFile(dir.file("broken.vlp"), "VELMORA 1.5\r\nTABLA1\r\n3\r\ntab_1\r\n1\r\n250\r\n");
    engine::Project p;
    ASSERT_TRUE(project_io::OpenProject(std::string(TEST_DATA_DIR) + "/project/legacy/short.vlp", false, p, millimetres()).status.ok());
    const engine::TextTable sheets = p.sheets;
    const auto r = project_io::OpenProject(dir.file("broken.vlp"), true, p, millimetres());
    EXPECT_EQ(r.status.msg, engine::Msg::CannotReadProject);
    EXPECT_EQ(p.sheets, sheets);
}

} // namespace
