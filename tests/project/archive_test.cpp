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

const std::string kArchiveData = std::string(TEST_DATA_DIR) + "/project/archive/";

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
    const auto scan = scanArchive(kArchiveData + "yard", "", AreaUnit::SquareMetre);
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
    const auto scan = scanArchive(kArchiveData + "totals", "", AreaUnit::SquareMetre);
    ASSERT_TRUE(scan.status.ok());
    ASSERT_EQ(scan.rows.size(), 2U);
    // legacy text: 1 m x 1 m at 10.7
    EXPECT_EQ(scan.rows[0].area, "1 m\u00B2");
    EXPECT_EQ(scan.rows[0].price, "10.70");
    EXPECT_EQ(scan.rows[0].total, "10.70");
    // Quillon: 100 cm x 56 cm, priced 0.001 per whole square centimetre;
    // the price is shown per square metre, so the row reads area x price.
    EXPECT_EQ(scan.rows[1].area, "0.56 m\u00B2");
    EXPECT_EQ(scan.rows[1].price, "10");
    EXPECT_EQ(scan.rows[1].total, "5.60");
    EXPECT_EQ(scan.grandTotal, "16.30");
}

TEST(ArchiveScan, QuillonPriceIsShownPerShownAreaUnit)
{
    // The file's price is per square centimetre whatever the page shows: the
    // total stays whole square centimetres x that price, and the shown price
    // times the shown area gives the total in every area unit.
    const struct {
        AreaUnit unit;
        const char* area;
        const char* price;
    } cases[] = {
        {AreaUnit::SquareMillimetre, "560000 mm\u00B2", "0.00001"},
        {AreaUnit::SquareCentimetre, "5600 cm\u00B2", "0.001"},
        {AreaUnit::SquareMetre, "0.56 m\u00B2", "10"},
        {AreaUnit::SquareInch, "868 in\u00B2", "0.0064516"},
    };
    for (const auto& c : cases) {
        const auto scan = scanArchive(kArchiveData + "totals", "shelf", c.unit);
        ASSERT_EQ(scan.rows.size(), 1U);
        EXPECT_EQ(scan.rows[0].price, c.price) << c.area;
        EXPECT_EQ(scan.rows[0].total, "5.60") << c.area;
        // Typing the shown price again keeps the total (up to the area's rounding).
        std::vector<project_io::ArchiveRow> rows = scan.rows;
        ASSERT_TRUE(project_io::editArchivePrice(rows, 0, scan.rows[0].price).ok());
        EXPECT_NEAR(std::stod(rows[0].total), 5.60, 0.01) << c.area;
    }
}

TEST(ArchiveScan, FilterListsMatchingNamesAlphabetically)
{
    const auto all = scanArchive(kArchiveData + "filter", "", AreaUnit::SquareCentimetre);
    ASSERT_TRUE(all.status.ok());
    ASSERT_EQ(all.rows.size(), 3U);
    EXPECT_EQ(all.rows[0].name, "garage.vlp");
    EXPECT_EQ(all.rows[1].name, "kitchen.vlp");
    EXPECT_EQ(all.rows[2].name, "old kit.qln");

    const auto kit = scanArchive(kArchiveData + "filter", "kit", AreaUnit::SquareCentimetre);
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

TEST(ArchiveScan, UnopenableFileIsAMarkedRowAndTheListingGoesOn)
{
    // Root reads every file, so the unreadable file is a link whose target is
    // gone: it is listed like a file and cannot be read, as a file without
    // read permission cannot for a user.
    TempFolder dir;
    dir.copyFrom(kArchiveData + "totals/a-cabinet.vlp", "a.vlp");
    fs::create_symlink(dir.path() + "/gone.vlp", dir.path() + "/b.vlp");
    dir.copyFrom(kArchiveData + "totals/a-cabinet.vlp", "c.vlp");
    const auto scan = scanArchive(dir.path(), "", AreaUnit::SquareMetre);
    EXPECT_TRUE(scan.listed);
    EXPECT_TRUE(scan.status.ok());
    ASSERT_EQ(scan.rows.size(), 3U);
    EXPECT_TRUE(scan.rows[0].readable());
    EXPECT_EQ(scan.rows[1].name, "b.vlp");
    EXPECT_FALSE(scan.rows[1].readable());
    EXPECT_EQ(scan.rows[1].problem.msg, Msg::ArchiveCannotOpenFile);
    EXPECT_EQ(scan.rows[1].problem.args, (std::vector<std::string>{dir.path() + "/b.vlp"}));
    EXPECT_EQ(scan.rows[1].area, "");
    EXPECT_EQ(scan.rows[1].total, "");
    EXPECT_TRUE(scan.rows[2].readable());
    // 10.70 twice; the marked row adds nothing.
    EXPECT_EQ(scan.grandTotal, "21.40");
    EXPECT_EQ(project_io::archiveRowName(scan.rows[1], "Cannot be read:"), "Cannot be read: b.vlp");
    EXPECT_EQ(project_io::archiveRowName(scan.rows[0], "Cannot be read:"), "a.vlp");
}

TEST(ArchiveScan, ReadOnlyFileIsListed)
{
    // A read-only project is no locked one: the archive only reads it.
    TempFolder dir;
    dir.copyFrom(kArchiveData + "totals/a-cabinet.vlp", "b.vlp");
    fs::permissions(dir.path() + "/b.vlp", fs::perms::owner_read);
    const auto scan = scanArchive(dir.path(), "", AreaUnit::SquareMetre);
    EXPECT_TRUE(scan.status.ok());
    ASSERT_EQ(scan.rows.size(), 1U);
    EXPECT_TRUE(scan.rows[0].readable());
    EXPECT_EQ(scan.rows[0].total, "10.70");
}

TEST(ArchiveScan, SpecialFileIsAMarkedRowWithItsCause)
{
    TempFolder dir;
    ASSERT_EQ(::mkfifo((dir.path() + "/a-pipe.vlp").c_str(), 0600), 0);
    dir.copyFrom(kArchiveData + "totals/b-shelf.qln", "b.qln");
    const auto scan = scanArchive(dir.path(), "", AreaUnit::SquareMetre);
    ASSERT_EQ(scan.rows.size(), 2U);
    EXPECT_EQ(scan.rows[0].problem.msg, Msg::ArchiveCannotOpenFile);
    EXPECT_EQ(scan.rows[0].problem.reason, Msg::FileNotRegular);
    EXPECT_TRUE(scan.rows[1].readable());
    EXPECT_EQ(scan.grandTotal, "5.60");
}

TEST(ArchiveScan, FoldersNamedLikeProjectsAreNotListed)
{
    TempFolder dir;
    fs::create_directory(dir.path() + "/old.vlp");
    dir.copyFrom(kArchiveData + "totals/b-shelf.qln", "shelf.qln");
    const auto scan = scanArchive(dir.path(), "", AreaUnit::SquareMetre);
    ASSERT_TRUE(scan.status.ok());
    ASSERT_EQ(scan.rows.size(), 1U);
    EXPECT_EQ(scan.rows[0].name, "shelf.qln");
}

TEST(ArchiveScan, DamagedContentIsAMarkedRowWithItsPath)
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
        {"h.vlp", ""},                                                        // empty document
        {"i.vlp", "<other_root/>"},
    };
    for (const auto& c : cases) {
        TempFolder dir;
        dir.write(c.name, c.text);
        dir.copyFrom(kArchiveData + "totals/a-cabinet.vlp", "z-good.vlp");
        const auto scan = scanArchive(dir.path(), "", AreaUnit::SquareMetre);
        EXPECT_TRUE(scan.status.ok()) << c.name;
        ASSERT_EQ(scan.rows.size(), 2U) << c.name;
        EXPECT_EQ(scan.rows[0].problem.msg, Msg::CannotReadProject) << c.name;
        EXPECT_EQ(scan.rows[0].problem.args, (std::vector<std::string>{dir.path() + "/" + c.name})) << c.name;
        EXPECT_TRUE(scan.rows[1].readable()) << c.name;
        EXPECT_EQ(scan.grandTotal, "10.70") << c.name;
    }
}

TEST(ArchiveScan, OverlongQuillonFileIsAMarkedRow)
{
    TempFolder dir;
    std::string text;
    for (int i = 0; i < 10001; ++i)
        text += "1\n";
    dir.write("big.qln", text);
    const auto scan = scanArchive(dir.path(), "", AreaUnit::SquareMetre);
    ASSERT_EQ(scan.rows.size(), 1U);
    EXPECT_EQ(scan.rows[0].problem.msg, Msg::QuillonFileTooLong);
    EXPECT_EQ(scan.rows[0].problem.args, (std::vector<std::string>{dir.path() + "/big.qln"}));
    EXPECT_EQ(scan.grandTotal, ".00");  // the format of a zero total
}

TEST(ArchiveScan, RowByRowReadingMatchesTheWholeScan)
{
    const std::string folder = kArchiveData + "filter";
    const auto listing = project_io::listArchive(folder, "");
    ASSERT_TRUE(listing.status.ok());
    const auto scan = scanArchive(folder, "", AreaUnit::SquareMetre);
    ASSERT_EQ(listing.names.size(), scan.rows.size());
    for (size_t i = 0; i < listing.names.size(); ++i) {
        const auto row = project_io::readArchiveRow(folder, listing.names[i], AreaUnit::SquareMetre);
        EXPECT_EQ(row.name, scan.rows[i].name);
        EXPECT_EQ(row.total, scan.rows[i].total);
    }
    const auto missing = project_io::listArchive(kArchiveData + "none", "");
    EXPECT_EQ(missing.status.msg, Msg::ArchiveFolderUnreadable);
    EXPECT_TRUE(missing.names.empty());
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
    EXPECT_EQ(rows[1].price, "2");
}

TEST(editArchivePrice, MarkedRowsTakeNoPriceAndStayOutOfTheTotal)
{
    std::vector<project_io::ArchiveRow> rows = {{"a.vlp", "1 m\u00B2", "10.70", "10.70"},
                                                {"b.vlp", "", "", "", engine::Status(Msg::ArchiveCannotOpenFile)}};
    EXPECT_FALSE(project_io::editArchivePrice(rows, 1, "3").ok());
    EXPECT_EQ(rows[1].total, "");
    const auto total = project_io::editArchivePrice(rows, 0, "1.5");
    ASSERT_TRUE(total.ok());
    EXPECT_EQ(*total, "1.50");
    EXPECT_FALSE(project_io::editArchivePrice(rows, 2, "1").ok());  // no such row
}

TEST(ArchivePrint, HeadingAndPaddedLines)
{
    engine::LanguageTable lang;
    lang.setText(22, "Cannot be read:");
    lang.setText(23, "Archive of ");
    lang.setText(24, " Date: ");
    lang.setText(25, "NAME AREA PRICE TOTAL");
    const std::vector<project_io::ArchiveRow> rows = {
        {"kitchen.vlp", "21.875 m\u00B2", "0.50", "10.94"},
        {" spaced.qln ", "0.56 m\u00B2", "10", "5.60"},
        {std::string(52, 'n') + ".vlp", "1 m\u00B2", "1.00", "1.00"},
        {"broken.vlp", "", "", "", engine::Status(Msg::CannotReadProject)},
    };
    const engine::RichText text = project_io::archivePrintText("/jobs", rows, lang, "10/12/2026");
    ASSERT_EQ(text.size(), 8U);
    EXPECT_EQ(text[0].text, "Archive of /jobs Date: 10/12/2026");
    EXPECT_EQ(text[1].text, " ");
    EXPECT_EQ(text[2].text, "NAME AREA PRICE TOTAL");
    EXPECT_EQ(text[3].text, std::string(83, '-') + " ");
    // 50 characters of name, the superscript two counted as one character.
    EXPECT_EQ(text[4].text, "kitchen.vlp" + std::string(39, '-') + " 21.875 m\u00B2  0.50       10.94     ");
    EXPECT_EQ(text[5].text, "spaced.qln" + std::string(40, '-') + " 0.56 m\u00B2    10         5.60      ");
    EXPECT_EQ(text[6].text, std::string(52, 'n') + ".vlp 1 m\u00B2       1.00       1.00      ");
    EXPECT_EQ(text[7].text, "Cannot be read: broken.vlp" + std::string(24, '-') + std::string(33, ' '));
    for (const auto& line : text) {
        EXPECT_FALSE(line.bold);
        EXPECT_EQ(line.sizeDelta, 0);
    }
}

TEST(ArchiveFolders, SubfoldersSortedWithoutHiddenOnesOrFiles)
{
    TempFolder dir;
    fs::create_directory(dir.path() + "/beta");
    fs::create_directory(dir.path() + "/Alpha");
    fs::create_directory(dir.path() + "/.hidden");
    fs::create_directory(dir.path() + "/old.vlp");  // a folder named like a project is a folder
    fs::create_directory_symlink(dir.path() + "/beta", dir.path() + "/gamma");
    dir.write("file.vlp", "x");
    fs::create_symlink(dir.path() + "/nothing", dir.path() + "/dangling");
    EXPECT_EQ(project_io::listSubfolders(dir.path()),
              (std::vector<std::string>{"Alpha", "beta", "gamma", "old.vlp"}));
    EXPECT_TRUE(project_io::listSubfolders(dir.path() + "/file.vlp").empty());
    EXPECT_TRUE(project_io::listSubfolders(dir.path() + "/none").empty());
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
