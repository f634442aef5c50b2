#include "project/archive.h"

#include <filesystem>
#include <fstream>
#include <string>

#include <sys/stat.h>

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using engine::AreaUnit;
using engine::Msg;
using project_io::scanArchive;

const std::string kData = std::string(TEST_DATA_DIR) + "/project/archive/";

// A fresh folder under the system temp folder, removed afterwards.
class TempFolder {
public:
    TempFolder()
    {
        m_path = fs::temp_directory_path() /
                 ("velmora-archive-" + std::to_string(::getpid()) + "-" + std::to_string(s_next++));
        fs::remove_all(m_path);
        fs::create_directories(m_path);
    }
    ~TempFolder()
    {
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    [[nodiscard]] std::string path() const { return m_path.string(); }
    void write(const std::string& name, const std::string& text) const
    {
        std::ofstream(m_path / name, std::ios::binary) << text;
    }
    void copyFrom(const std::string& file, const std::string& name) const { fs::copy_file(file, m_path / name); }

private:
    fs::path m_path;
    static inline int s_next = 0;
};

TEST(archiveMask, FilterAndExtensions)
{
    EXPECT_EQ(project_io::archiveMask("kit"), "*kit*.qln;*kit*.vlp");
    const std::string mask = project_io::archiveMask("kit");
    EXPECT_TRUE(project_io::matchesArchiveMask("kitchen.vlp", mask));
    EXPECT_TRUE(project_io::matchesArchiveMask("old kit.qln", mask));
    EXPECT_TRUE(project_io::matchesArchiveMask("KITCHEN.VLP", mask));
    EXPECT_FALSE(project_io::matchesArchiveMask("garage.vlp", mask));
    EXPECT_FALSE(project_io::matchesArchiveMask("kitchen.vlp.bak", mask));
    EXPECT_FALSE(project_io::matchesArchiveMask("kitchen.txt", mask));
    EXPECT_TRUE(project_io::matchesArchiveMask("a.vlp", project_io::archiveMask("")));
}

TEST(ArchiveScan, SheetAreaOfAProjectDocument)
{
    // Three rows of 2500 x 1250 mm, quantities 2, 1 and 4: 21 7/8 m².
    const auto scan = scanArchive(kData + "yard", "", AreaUnit::SquareMetre);
    ASSERT_TRUE(scan.status.ok());
    ASSERT_EQ(scan.rows.size(), 1U);
    EXPECT_EQ(scan.rows[0].name, "yard.vlp");
    EXPECT_EQ(scan.rows[0].area, "21.875 m\u00B2");
    EXPECT_EQ(scan.rows[0].price, "0.50");
    EXPECT_EQ(scan.rows[0].total, "10.94");
    EXPECT_EQ(scan.grandTotal, "10.94");
}

TEST(ArchiveScan, LegacyAndQuillonRowsAndGrandTotal)
{
    const auto scan = scanArchive(kData + "totals", "", AreaUnit::SquareMetre);
    ASSERT_TRUE(scan.status.ok());
    ASSERT_EQ(scan.rows.size(), 2U);
    // legacy text: 1 m x 1 m at 10.7
    EXPECT_EQ(scan.rows[0].area, "1 m\u00B2");
    EXPECT_EQ(scan.rows[0].price, "10.70");
    EXPECT_EQ(scan.rows[0].total, "10.70");
    // Quillon: 100 cm x 56 cm, priced per whole square centimetre, the price
    // in general format
    EXPECT_EQ(scan.rows[1].area, "0.56 m\u00B2");
    EXPECT_EQ(scan.rows[1].price, "0.001");
    EXPECT_EQ(scan.rows[1].total, "5.60");
    EXPECT_EQ(scan.grandTotal, "16.30");
}

TEST(ArchiveScan, FilterListsMatchingNamesAlphabetically)
{
    const auto all = scanArchive(kData + "filter", "", AreaUnit::SquareCentimetre);
    ASSERT_TRUE(all.status.ok());
    ASSERT_EQ(all.rows.size(), 3U);
    EXPECT_EQ(all.rows[0].name, "garage.vlp");
    EXPECT_EQ(all.rows[1].name, "kitchen.vlp");
    EXPECT_EQ(all.rows[2].name, "old kit.qln");

    const auto kit = scanArchive(kData + "filter", "kit", AreaUnit::SquareCentimetre);
    ASSERT_TRUE(kit.status.ok());
    ASSERT_EQ(kit.rows.size(), 2U);
    EXPECT_EQ(kit.rows[0].name, "kitchen.vlp");
    EXPECT_EQ(kit.rows[0].area, "10000 cm\u00B2");
    EXPECT_EQ(kit.rows[0].total, "20000.00");
    EXPECT_EQ(kit.rows[1].name, "old kit.qln");
    EXPECT_EQ(kit.rows[1].total, "60000.00");
    EXPECT_EQ(kit.grandTotal, "80,000.00");
}

TEST(ArchiveScan, EmptyFolderListsNothing)
{
    TempFolder dir;
    dir.write("notes.txt", "x");
    const auto scan = scanArchive(dir.path(), "", AreaUnit::SquareMetre);
    EXPECT_TRUE(scan.status.ok());
    EXPECT_FALSE(scan.listed);
    EXPECT_FALSE(scan.grandTotal.has_value());
}

TEST(ArchiveScan, UnopenableFileStopsTheScan)
{
    // Root opens read-only files for writing too, so the unopenable file is
    // a link whose target is gone: it is listed like a file, and opening it
    // fails as opening a read-only or locked file fails for a user.
    TempFolder dir;
    dir.copyFrom(kData + "totals/a-cabinet.vlp", "a.vlp");
    fs::create_symlink(dir.path() + "/gone.vlp", dir.path() + "/b.vlp");
    dir.copyFrom(kData + "totals/a-cabinet.vlp", "c.vlp");
    const auto scan = scanArchive(dir.path(), "", AreaUnit::SquareMetre);
    EXPECT_TRUE(scan.listed);
    ASSERT_EQ(scan.rows.size(), 1U);
    EXPECT_EQ(scan.rows[0].name, "a.vlp");
    EXPECT_EQ(scan.status.msg, Msg::ArchiveCannotOpenFile);
    ASSERT_EQ(scan.status.args.size(), 1U);
    EXPECT_EQ(scan.status.args[0], dir.path() + "/b.vlp");
    EXPECT_FALSE(scan.grandTotal.has_value());
}

TEST(ArchiveScan, ReadOnlyFileIsListed)
{
    // A read-only project is no locked one: the archive only reads it.
    TempFolder dir;
    dir.copyFrom(kData + "totals/a-cabinet.vlp", "b.vlp");
    fs::permissions(dir.path() + "/b.vlp", fs::perms::owner_read);
    const auto scan = scanArchive(dir.path(), "", AreaUnit::SquareMetre);
    EXPECT_TRUE(scan.status.ok());
    EXPECT_EQ(scan.rows.size(), 1U);
}

TEST(ArchiveScan, SpecialFileStopsTheScanWithItsCause)
{
    TempFolder dir;
    ASSERT_EQ(::mkfifo((dir.path() + "/a-pipe.vlp").c_str(), 0600), 0);
    const auto scan = scanArchive(dir.path(), "", AreaUnit::SquareMetre);
    EXPECT_EQ(scan.status.msg, Msg::ArchiveCannotOpenFile);
    EXPECT_EQ(scan.status.reason, Msg::FileNotRegular);
    EXPECT_TRUE(scan.rows.empty());
}

TEST(ArchiveScan, FoldersNamedLikeProjectsAreNotListed)
{
    TempFolder dir;
    fs::create_directory(dir.path() + "/old.vlp");
    dir.copyFrom(kData + "totals/b-shelf.qln", "shelf.qln");
    const auto scan = scanArchive(dir.path(), "", AreaUnit::SquareMetre);
    ASSERT_TRUE(scan.status.ok());
    ASSERT_EQ(scan.rows.size(), 1U);
    EXPECT_EQ(scan.rows[0].name, "shelf.qln");
}

TEST(ArchiveScan, UnreadableContentStopsWithItsPath)
{
    const struct {
        const char* name;
        const char* text;
    } cases[] = {
        {"a.vlp", "<velm_root><job><measure>0</measure>"},  // malformed document
        {"b.vlp", "<velm_root><job><measure>0</measure><price1>1</price1><data><tab_sheets count=\"2\">"
                  "<sheet><len>10</len><wid>10</wid><qty>1</qty></sheet></tab_sheets></data></job></velm_root>"},
        {"c.vlp", "<velm_root><job><measure>0</measure><price1>x</price1></job></velm_root>"},
        {"d.vlp", "VELMORA 1.5\nTABLA1\n1\ntab_1\n1\n100\n100\n"},  // record cut short
        {"e.vlp", "VELMORA 1.5\nTABLA1\n1\ntab_1\n1\n100\n100\nmany\n\n0\n"},
        {"f.qln", "Q\nprice\n3\n4\n"},
        {"g.qln", "Q\n1\n3\n4\ntab_1\n1\n2147483\n2147483\n2147483647\n"},  // area overflow
    };
    for (const auto& c : cases) {
        TempFolder dir;
        dir.write(c.name, c.text);
        const auto scan = scanArchive(dir.path(), "", AreaUnit::SquareMetre);
        EXPECT_EQ(scan.status.msg, Msg::CannotReadProject) << c.name;
        EXPECT_TRUE(scan.rows.empty()) << c.name;
        EXPECT_FALSE(scan.grandTotal.has_value()) << c.name;
    }
}

TEST(ArchiveScan, OverlongQuillonFileStopsTheScan)
{
    TempFolder dir;
    std::string text;
    for (int i = 0; i < 10001; ++i)
        text += "1\n";
    dir.write("big.qln", text);
    const auto scan = scanArchive(dir.path(), "", AreaUnit::SquareMetre);
    EXPECT_EQ(scan.status.msg, Msg::QuillonFileTooLong);
    EXPECT_EQ(scan.status.args, (std::vector<std::string>{dir.path() + "/big.qln"}));
}

TEST(editArchivePrice, RowTotalHasTwoIntegerDigits)
{
    std::vector<project_io::ArchiveRow> rows = {{"a.vlp", "1 m\u00B2", "10.70", "10.70"},
                                                {"b.vlp", "2.75 m\u00B2", "2.00", "5.50"}};
    auto total = project_io::editArchivePrice(rows, 1, "2");
    ASSERT_TRUE(total.ok());
    EXPECT_EQ(rows[1].total, "05.50");
    EXPECT_EQ(*total, "16.20");
    total = project_io::editArchivePrice(rows, 0, "");
    ASSERT_TRUE(total.ok());
    EXPECT_EQ(rows[0].total, "00.00");
    EXPECT_EQ(*total, "5.50");
    const auto bad = project_io::editArchivePrice(rows, 1, "abc");
    ASSERT_FALSE(bad.ok());
    EXPECT_EQ(bad.error().msg, Msg::NotANumber);
    EXPECT_EQ(rows[1].total, "05.50");
}

TEST(ArchiveLayout, ColumnSharesOfTheWidthLessTheScrollBar)
{
    using project_io::archiveColumnWidths;
    EXPECT_EQ(archiveColumnWidths(522), (std::array<int, 4>{300, 75, 50, 75}));
    // Each share is truncated on its own: 78 pixels give 46.8, 11.7, 7.8, 11.7.
    EXPECT_EQ(archiveColumnWidths(100), (std::array<int, 4>{46, 11, 7, 11}));
    // A table narrower than the scroll bar (a page not laid out yet) gets no
    // negative widths.
    EXPECT_EQ(archiveColumnWidths(0), (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_EQ(archiveColumnWidths(22), (std::array<int, 4>{0, 0, 0, 0}));
}

TEST(ArchiveLayout, HeadingsStartHalfTheirTextIntoTheirColumn)
{
    const std::array<int, 4> widths = project_io::archiveColumnWidths(522);
    EXPECT_EQ(project_io::archiveHeadingLeft(widths, 1, 41), 300 + 20);
    EXPECT_EQ(project_io::archiveHeadingLeft(widths, 2, 30), 375 + 15);
    EXPECT_EQ(project_io::archiveHeadingLeft(widths, 3, 1), 425);
}

} // namespace
