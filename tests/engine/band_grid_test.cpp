#include "engine/band_grid.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

using namespace engine;

namespace {

std::string tempFile(const std::string& name, const std::string& content)
{
    const auto path = std::filesystem::temp_directory_path() / ("velmora_band_" + name);
    std::ofstream(path, std::ios::binary) << content;
    return path.string();
}

std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace

TEST(BandGrid, FifteenLinesGiveThreeRecords)
{
    const std::string path = tempFile("three", "a\r\n0\r\n-\r\n0\r\n0\r\nb\r\n1\r\nB\r\n2\r\n3\r\nc\r\n2\r\nC\r\n4\r\n5\r\n");
    TextTable g(kBandColumns);
    ASSERT_TRUE(readBandGrid(path, g).ok());
    ASSERT_EQ(g.rowCount(), 3);
    EXPECT_EQ(g.cell(3, BandCol::Price), "5");
    EXPECT_TRUE(canDeleteBandRow(g));
    std::filesystem::remove(path);
}

TEST(BandGrid, DamagedFileIsNamedAndShowsItsWholeRecords)
{
    const std::string path = tempFile("part", "a\n0\n-\n0\n0\nb\n1\n");
    TextTable g(kBandColumns);
    const Status st = readBandGrid(path, g);
    EXPECT_EQ(st.msg, Msg::BandFileNotWholeRecords);
    ASSERT_FALSE(st.args.empty());
    EXPECT_EQ(st.args[0], path);
    EXPECT_EQ(g.rowCount(), 1);
    EXPECT_EQ(g.cell(1, BandCol::Name), "a");
    EXPECT_FALSE(canDeleteBandRow(g));

    // A file that cannot be read leaves the grid as it was.
    EXPECT_EQ(readBandGrid(path + ".none", g).msg, Msg::CannotReadBandFile);
    EXPECT_EQ(g.rowCount(), 1);
    std::filesystem::remove(path);
}

TEST(BandGrid, ReadsAsTheBandFileReaderDoes)
{
    // A byte-order mark and a last line without line end, as other editors write.
    const std::string path = tempFile("bom", "\xEF\xBB\xBFnone\r\n0\r\n\r\n0\r\n0\r\nPVC\r\n2\r\nP\r\n30\r\n1.5");
    TextTable g(kBandColumns);
    ASSERT_TRUE(readBandGrid(path, g).ok());
    ASSERT_EQ(g.rowCount(), 2);
    EXPECT_EQ(g.cell(1, BandCol::Name), "none");
    EXPECT_EQ(g.cell(2, BandCol::Price), "1.5");
    std::filesystem::remove(path);
}

TEST(BandGrid, SavingDropsRowsWithoutThicknessOrExtraLength)
{
    TextTable g(kBandColumns);
    g.appendRow({"none", "0", "-", "0", "0"});
    g.appendRow({"thin", "", "x", "1", "0"});
    g.appendRow({"PVC", "0.2", "A", "5", "1.2"});
    g.appendRow({"short", "0.1", "", "", ""});
    const std::string path = tempFile("save", "old");
    ASSERT_TRUE(writeBandGrid(path, g).ok());
    EXPECT_EQ(slurp(path), "none\r\n0\r\n-\r\n0\r\n0\r\nPVC\r\n0.2\r\nA\r\n5\r\n1.2\r\n");
    std::filesystem::remove(path);
}

TEST(BandGrid, DeleteMovesLaterRowsUpAndKeepsRecordZero)
{
    TextTable g(kBandColumns);
    g.appendRow({"none", "0", "-", "0", "0"});
    g.appendRow({"b", "1", "", "1", ""});
    g.appendRow({"", "", "", "", ""});
    g.appendRow({"d", "3", "", "3", ""});
    EXPECT_FALSE(deleteBandRow(g, 1));
    EXPECT_FALSE(deleteBandRow(g, 3));  // no name
    EXPECT_TRUE(deleteBandRow(g, 2));
    ASSERT_EQ(g.rowCount(), 3);
    EXPECT_EQ(g.cell(3, 0), "d");  // nothing after the gap is lost
}
