#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "quality/instances.h"

namespace {

using quality::Instance;
using quality::ItemType;
using quality::StockSize;

// The public instances (VELMORA_BENCH_DATA_DIR when configuring).
const std::string kData = BENCH_DATA_DIR;

std::string realFile(const std::string& relative)
{
    const std::string path = kData + "/" + relative;
    return std::filesystem::exists(path) ? path : std::string();
}

std::string noDataReason(const std::string& relative)
{
    return "no benchmark data: " + kData + "/" + relative + " is missing (set VELMORA_BENCH_DATA_DIR)";
}

// Two small instances in the layout of the published files: comments after
// the numbers, heights first, CRLF line ends and a blank line between.
const char* const kTwoInstances =
    "    3        PROBLEM CLASS\r\n"
    "    2        N. OF ITEMS\r\n"
    "    1    7   RELATIVE AND ABSOLUTE N. OF INSTANCE\r\n"
    "   40   30   HBIN,WBIN\r\n"
    "    9    5   H(I),W(I),I=1,...,N\r\n"
    "    2   30\r\n"
    "\r\n"
    "    3        PROBLEM CLASS\r\n"
    "    1        N. OF ITEMS\r\n"
    "    2    8   RELATIVE AND ABSOLUTE N. OF INSTANCE\r\n"
    "   40   30   HBIN,WBIN\r\n"
    "   40    1   H(I),W(I),I=1,...,N\r\n";

TEST(ClassFile, ReadsInstancesWidthFirst)
{
    const auto r = quality::readClassFile(kTwoInstances, "Class_03.2bp");
    ASSERT_TRUE(r.ok()) << r.error;
    ASSERT_EQ(r.value.size(), 2U);
    const Instance& a = r.value[0];
    EXPECT_EQ(a.id, "Class_03.2bp_2_1");
    EXPECT_EQ(a.problemClass, 3);
    EXPECT_EQ(a.itemCount, 2);
    EXPECT_EQ(a.relative, 1);
    EXPECT_EQ(a.stock, (std::vector<StockSize>{{30, 40, 1200}}));
    EXPECT_EQ(a.items, (std::vector<ItemType>{{5, 9, 1}, {30, 2, 1}}));
    EXPECT_EQ(r.value[1].id, "Class_03.2bp_1_2");
    EXPECT_EQ(r.value[1].items, (std::vector<ItemType>{{1, 40, 1}}));
}

TEST(ClassFile, RefusesMalformedText)
{
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"", "f.2bp:1: no instance in the file"},
        {"  \n\n", "f.2bp:1: no instance in the file"},
        {"1\n2\n1 1\n10 10\n3 4\n", "f.2bp:5: the file ends where an item height and width should follow"},
        {"1\n1\n1 1\n10 10\n3 x\n", "f.2bp:5: expected an item height and width, found \"3 x\""},
        {"1\n1\n1 1\n10 10\n3 4 5\n", "f.2bp:5: expected an item height and width, found \"3 4 5\""},
        {"1\n1\n1 1\n10 10\n3 -4\n", "f.2bp:5: item sizes must be above 0"},
        {"0\n1\n1 1\n10 10\n3 4\n", "f.2bp:1: the problem class must be from 1 to 99"},
        {"1\n0\n1 1\n10 10\n", "f.2bp:2: the number of items must be from 1 to 100000"},
        {"1\n1\n1 1\n10 0 bin\n3 4\n", "f.2bp:4: bin sizes must be above 0"},
        {"1\n1\n1\n10 10\n3 4\n", "f.2bp:3: expected the relative and absolute instance numbers, found \"1\""},
        {"1 PROBLEM\n1\n1 1\n10 10\n3 4\n99999999999999999999 1\n",
         "f.2bp:6: expected the problem class, found \"99999999999999999999 1\""},
    };
    for (const Case& c : cases) {
        const auto r = quality::readClassFile(c.text, "f.2bp");
        EXPECT_EQ(r.error, c.error) << c.text;
        EXPECT_TRUE(r.value.empty());
    }
}

TEST(ClassFile, ReadsPublishedFile)
{
    const std::string path = realFile("2dbpp-bw-mv/Class_01.2bp");
    if (path.empty())
        GTEST_SKIP() << noDataReason("2dbpp-bw-mv/Class_01.2bp");
    const auto text = quality::readTextFile(path);
    ASSERT_TRUE(text.ok()) << text.error;
    const auto r = quality::readClassFile(text.value, "Class_01.2bp");
    ASSERT_TRUE(r.ok()) << r.error;
    ASSERT_EQ(r.value.size(), 50U);
    EXPECT_EQ(r.value.front().id, "Class_01.2bp_20_1");
    EXPECT_EQ(r.value.front().items.size(), 20U);
    EXPECT_EQ(r.value.front().items.front(), (ItemType{5, 9, 1}));
    EXPECT_EQ(r.value.back().id, "Class_01.2bp_100_10");
    EXPECT_EQ(r.value.back().items.size(), 100U);
    EXPECT_EQ(r.value.back().items.back(), (ItemType{10, 4, 1}));
    for (const Instance& inst : r.value)
        EXPECT_EQ(inst.stock, (std::vector<StockSize>{{10, 10, 100}})) << inst.id;
}

TEST(StockCsv, ReadsBinsAndItems)
{
    const auto bins = quality::readBinsCsv("ID,WIDTH,HEIGHT,COST\n0,250,250,62500\r\n1,300,200,60000\n", "b.csv");
    ASSERT_TRUE(bins.ok()) << bins.error;
    EXPECT_EQ(bins.value, (std::vector<StockSize>{{250, 250, 62500}, {300, 200, 60000}}));
    const auto items = quality::readItemsCsv("ID,WIDTH,HEIGHT,COPIES\n0,167,184,90\n\n1,114,118,75", "i.csv");
    ASSERT_TRUE(items.ok()) << items.error;
    EXPECT_EQ(items.value, (std::vector<ItemType>{{167, 184, 90}, {114, 118, 75}}));
}

TEST(StockCsv, RefusesMalformedRows)
{
    EXPECT_EQ(quality::readBinsCsv("ID,WIDTH,HEIGHT\n0,1,1\n", "b.csv").error,
              "b.csv:1: expected the header \"ID,WIDTH,HEIGHT,COST\"");
    EXPECT_EQ(quality::readItemsCsv("ID,WIDTH,HEIGHT,COPIES\n", "i.csv").error, "i.csv:1: no data rows");
    const char* const bad[] = {"0,10,10", "0,10,10,1,5", "0,10,0,1", "0,10,10,-1", "0,10,1e2,1", "x,10,10,1",
                               "0,10, 10,1"};
    for (const char* row : bad) {
        const auto r = quality::readItemsCsv(std::string("ID,WIDTH,HEIGHT,COPIES\n0,5,5,1\n") + row + "\n", "i.csv");
        EXPECT_EQ(r.error, std::string("i.csv:3: expected four whole numbers (an id, then three above 0), found \"")
                               + row + "\"");
        EXPECT_TRUE(r.value.empty());
    }
}

TEST(StockCsv, ReadsPublishedFiles)
{
    const std::string bins = realFile("vbpp-cintra2008/gcut1d.txt_bins.csv");
    const std::string items = realFile("vbpp-cintra2008/gcut1d.txt_items.csv");
    if (bins.empty() || items.empty())
        GTEST_SKIP() << noDataReason("vbpp-cintra2008/gcut1d.txt_{bins,items}.csv");
    const auto b = quality::readBinsCsv(quality::readTextFile(bins).value, "bins");
    ASSERT_TRUE(b.ok()) << b.error;
    EXPECT_EQ(b.value, (std::vector<StockSize>{{250, 250, 62500}, {275, 225, 61875}, {300, 200, 60000}}));
    const auto i = quality::readItemsCsv(quality::readTextFile(items).value, "items");
    ASSERT_TRUE(i.ok()) << i.error;
    ASSERT_EQ(i.value.size(), 10U);
    EXPECT_EQ(i.value.front(), (ItemType{167, 184, 90}));
    EXPECT_EQ(i.value.back(), (ItemType{69, 165, 85}));
}

TEST(ValueTable, ReadsOneColumnByKey)
{
    const auto t = quality::readCsv("Path,Best,Bound\nset/a.txt,12,11.5\nb.txt,,3\n", "v.csv");
    ASSERT_TRUE(t.ok()) << t.error;
    const auto best = quality::readColumn(t.value, "v.csv", "Path", "Best");
    ASSERT_TRUE(best.ok()) << best.error;
    EXPECT_EQ(best.value, (std::map<std::string, double>{{"a.txt", 12}}));
    const auto bound = quality::readColumn(t.value, "v.csv", "Path", "Bound");
    EXPECT_EQ(bound.value, (std::map<std::string, double>{{"a.txt", 11.5}, {"b.txt", 3}}));
}

TEST(ValueTable, RefusesWhatItCannotRead)
{
    EXPECT_EQ(quality::readCsv("", "v.csv").error, "v.csv:1: expected a header line");
    EXPECT_EQ(quality::readCsv("a,b\n1,2\n1,2,3\n", "v.csv").error, "v.csv:3: expected 2 cells, found 3");
    const auto t = quality::readCsv("k,v\na,1\nb,seven\na,2\n", "v.csv").value;
    EXPECT_EQ(quality::readColumn(t, "v.csv", "k", "w").error, "v.csv: no column \"w\"");
    EXPECT_EQ(quality::readColumn(t, "v.csv", "k", "v").error, "v.csv: row 2: \"seven\" in column \"v\" is no number");
    const auto twice = quality::readCsv("k,v\na,1\nx/a,2\n", "v.csv").value;
    EXPECT_EQ(quality::readColumn(twice, "v.csv", "k", "v").error, "v.csv: row 2: \"a\" given twice");
    EXPECT_EQ(quality::readTextFile("/nonexistent/x.csv").error, "/nonexistent/x.csv: cannot open the file");
    // A device is read only until the size limit would be passed: it is refused at once.
    EXPECT_EQ(quality::readTextFile("/dev/zero").error, "/dev/zero: not an ordinary file");
}

TEST(ValueTable, ReadsPublishedBounds)
{
    const std::string path = realFile("2dbpp-bw-mv/bounds.csv");
    if (path.empty())
        GTEST_SKIP() << noDataReason("2dbpp-bw-mv/bounds.csv");
    const auto t = quality::readCsv(quality::readTextFile(path).value, path);
    ASSERT_TRUE(t.ok()) << t.error;
    const auto lb = quality::readColumn(t.value, path, "instance", "LB_rot");
    ASSERT_TRUE(lb.ok()) << lb.error;
    EXPECT_EQ(lb.value.size(), 500U);
    EXPECT_EQ(lb.value.at("Class_01.2bp_100_10"), 36);
    EXPECT_EQ(lb.value.at("Class_09.2bp_100_10"), 71);
}

} // namespace
