#include "labels/label_definitions.h"

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "labels/label_layout.h"
#include "tests/project/temp_dir.h"

using engine::Msg;
using labels::LabelDefinitions;
using labels::LabelKind;
using labels::LabelLine;

namespace {

const std::string kFixture = std::string(TEST_DATA_DIR) + "/labels/three_styles.xml";
const std::string kShipped = std::string(VELMORA_SOURCE_DIR) + "/data/Config/velmlabels.xml";

// A copy of the three-style fixture in a fresh folder.
struct FileCopy {
    TempDir dir;
    std::string path = dir.file("velmlabels.xml");
    explicit FileCopy(const std::string& bytes = readFile(kFixture)) { writeFile(path, bytes); }
    [[nodiscard]] LabelDefinitions read() const
    {
        const auto d = labels::readLabelDefinitions(path);
        EXPECT_TRUE(d.ok()) << (d.ok() ? "" : d.error().args.at(1));
        return d.ok() ? *d : LabelDefinitions{};
    }
};

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

} // namespace

TEST(LabelFile, ReadsStylesKindsAndLines)
{
    const FileCopy f;
    const LabelDefinitions d = f.read();
    ASSERT_EQ(d.styles.size(), 3u);
    EXPECT_EQ(d.count, 3);
    EXPECT_EQ(d.active, 1);
    EXPECT_EQ(d.styles[0].name, "Two by two");
    EXPECT_EQ(d.styles[0].sizeLength, "90");
    EXPECT_EQ(d.styles[0].sizeWidth, "100");
    EXPECT_EQ(d.styles[0].gutterVertical, "7");
    EXPECT_EQ(d.styles[1].sizeUnit, 1);
    EXPECT_EQ(d.styles[1].marginTop, "0.05");
    EXPECT_EQ(d.styles[2].rows, 10);
    EXPECT_EQ(d.styles[2].columns, 3);
    EXPECT_TRUE(d.kind(LabelKind::Part).output);
    EXPECT_FALSE(d.kind(LabelKind::UsedTable).output);
    EXPECT_FALSE(d.kind(LabelKind::UsedTable).border);
    EXPECT_TRUE(d.kind(LabelKind::Offcut).border);
    const auto& size = d.kind(LabelKind::Part).line(LabelLine::Size);
    EXPECT_TRUE(size.bold);
    EXPECT_TRUE(size.output);
    EXPECT_EQ(size.fontSize, 12);
    EXPECT_EQ(size.text, "Size: ");
    EXPECT_FALSE(d.kind(LabelKind::Part).line(LabelLine::Company).output);
    EXPECT_EQ(d.kind(LabelKind::Part).line(LabelLine::Date).fontSize, 6);
}

TEST(LabelFile, AddingAStyleCountsItAndMakesItActive)
{
    const FileCopy f;
    ASSERT_TRUE(labels::addLabelStyle(f.path, "Mine").ok());
    const LabelDefinitions d = f.read();
    EXPECT_EQ(d.count, 4);
    EXPECT_EQ(d.active, 3);
    ASSERT_EQ(d.styles.size(), 4u);
    const labels::LabelStyle& s = d.styles[3];
    EXPECT_EQ(s.name, "Mine");
    for (const std::string* v : {&s.sizeWidth, &s.sizeLength, &s.marginLeft, &s.marginRight, &s.marginTop,
                                 &s.marginBottom, &s.gutterHorizontal, &s.gutterVertical})
        EXPECT_EQ(*v, "0");
    EXPECT_EQ(s.sizeUnit + s.marginUnit + s.gutterUnit, 0);
    EXPECT_EQ(s.rows, 1);
    EXPECT_EQ(s.columns, 1);
    // What the program does not touch stays: the comment, the version, an unknown element.
    const std::string text = readFile(f.path);
    EXPECT_NE(text.find("<!-- kept by every save -->"), std::string::npos);
    EXPECT_NE(text.find("version=\"1.3\""), std::string::npos);
    EXPECT_NE(text.find("<Vendor>unknown to the program</Vendor>"), std::string::npos);
}

TEST(LabelFile, DeletingAStyleMakesTheFirstActive)
{
    for (int index : {0, 1, 2}) {
        const FileCopy f;
        ASSERT_TRUE(labels::selectLabelStyle(f.path, 2).ok());
        ASSERT_TRUE(labels::deleteLabelStyle(f.path, index).ok());
        const LabelDefinitions d = f.read();
        EXPECT_EQ(d.count, 2) << index;
        EXPECT_EQ(d.active, 0) << index;
        ASSERT_EQ(d.styles.size(), 2u);
        EXPECT_EQ(d.styles[0].name, index == 0 ? "Centimetres" : "Two by two");
    }
}

TEST(LabelFile, TheLastStyleAndMissingStylesAreNotDeleted)
{
    const FileCopy f;
    EXPECT_EQ(labels::deleteLabelStyle(f.path, 3).msg, Msg::LabelStyleMissing);
    EXPECT_EQ(labels::deleteLabelStyle(f.path, -1).msg, Msg::LabelStyleMissing);
    ASSERT_TRUE(labels::deleteLabelStyle(f.path, 0).ok());
    ASSERT_TRUE(labels::deleteLabelStyle(f.path, 0).ok());
    const std::string before = readFile(f.path);
    EXPECT_EQ(labels::deleteLabelStyle(f.path, 0).msg, Msg::LabelLastStyle);
    EXPECT_EQ(readFile(f.path), before);
}

TEST(LabelFile, StyleAndKindRoundTrip)
{
    const FileCopy f;
    labels::LabelStyle s = f.read().styles[2];
    s.sizeUnit = 0;
    s.sizeLength = "66.675";
    s.sizeWidth = "25.4";
    s.rows = 9;
    s.columns = 2;
    ASSERT_TRUE(labels::saveLabelStyle(f.path, 2, s).ok());
    labels::LabelKindSetup k = f.read().kind(LabelKind::Offcut);
    k.border = false;
    k.line(LabelLine::Note) = {true, true, 17, "N: \"quoted\" & <kept>"};
    ASSERT_TRUE(labels::saveLabelKind(f.path, LabelKind::Offcut, k).ok());
    ASSERT_TRUE(labels::saveLabelChoice(f.path, {false, true, false}, 0).ok());

    const LabelDefinitions d = f.read();
    EXPECT_EQ(d.styles[2], s);
    EXPECT_EQ(d.active, 0);
    k.output = false;
    EXPECT_EQ(d.kind(LabelKind::Offcut), k);
    EXPECT_FALSE(d.kind(LabelKind::Part).output);
    EXPECT_TRUE(d.kind(LabelKind::UsedTable).output);
    // The other kinds keep their lines.
    EXPECT_EQ(d.kind(LabelKind::Part).line(LabelLine::Size).fontSize, 12);
    EXPECT_EQ(labels::saveLabelStyle(f.path, 3, s).msg, Msg::LabelStyleMissing);
}

// The file's count is not trusted: reading and changing go by the Label
// elements that are there.
TEST(LabelFileMends, CountIsNotTrusted)
{
    const FileCopy f(replaced(readFile(kFixture), "count=\"3\" active=\"1\"", "count=\"40\" active=\"39\""));
    LabelDefinitions d = f.read();
    EXPECT_EQ(d.styles.size(), 3u);
    EXPECT_EQ(d.count, 40);
    EXPECT_EQ(d.activeStyle(), 0);
    ASSERT_TRUE(labels::addLabelStyle(f.path, "New").ok());
    d = f.read();
    EXPECT_EQ(d.count, 4);
    EXPECT_EQ(d.active, 3);
    EXPECT_EQ(labels::selectLabelStyle(f.path, 4).msg, Msg::LabelStyleMissing);
}

TEST(LabelFileMends, MissingFileIsReportedAndNeverMade)
{
    TempDir dir;
    const std::string path = dir.file("velmlabels.xml");
    const auto d = labels::readLabelDefinitions(path);
    ASSERT_FALSE(d.ok());
    EXPECT_EQ(d.error().msg, Msg::LabelFileUnreadable);
    EXPECT_EQ(d.error().args.at(0), path);
    EXPECT_EQ(d.error().reason, Msg::FileMissing);
    EXPECT_EQ(labels::addLabelStyle(path, "x").msg, Msg::LabelFileUnreadable);
    EXPECT_EQ(labels::saveLabelChoice(path, {true, true, true}, 0).msg, Msg::LabelFileUnreadable);
    EXPECT_EQ(labels::saveLabelKind(path, LabelKind::Part, {}).msg, Msg::LabelFileUnreadable);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(LabelFileMends, DamagedFilesAreReportedWithPlaceAndLeftAlone)
{
    const std::string good = readFile(kFixture);
    struct Case {
        std::string bytes;
        std::string where;  // start of the place named
    };
    const Case cases[] = {
        {good.substr(0, good.size() / 2), "line"},
        {"", "line"},
        {"<velm_dxf><Labels/><Content/></velm_dxf>", "root element velm_label"},
        {replaced(good, "<LayoutRows>10</LayoutRows>", "<LayoutRows>ten</LayoutRows>"), "Labels/Label[3]/LayoutRows"},
        {replaced(good, "<SizeUnit>1</SizeUnit>", ""), "Labels/Label[2]/SizeUnit"},
        {"<velm_label><Labels/></velm_label>", "Content"},
        {"<velm_label><Content/></velm_label>", "Labels"},
        {replaced(good, "fontsize=\"12\"", "fontsize=\"big\""), "Content/Part/Item/Size/fontsize"},
    };
    for (const Case& c : cases) {
        const FileCopy f(c.bytes);
        const auto d = labels::readLabelDefinitions(f.path);
        ASSERT_FALSE(d.ok()) << c.where;
        EXPECT_EQ(d.error().msg, Msg::LabelFileUnreadable);
        EXPECT_EQ(d.error().args.at(0), f.path);
        EXPECT_EQ(d.error().args.at(1).rfind(c.where, 0), 0u) << d.error().args.at(1);
        // A change of a damaged file is refused and leaves it as it was.
        (void)labels::addLabelStyle(f.path, "x");
        (void)labels::saveLabelChoice(f.path, {true, true, true}, 0);
        EXPECT_EQ(readFile(f.path), c.bytes) << c.where;
    }
}

TEST(LabelFileMends, FailedWriteKeepsTheFile)
{
    const FileCopy f;
    ::chmod(f.path.c_str(), 0444);
    const std::string before = readFile(f.path);
    const engine::Status s = labels::addLabelStyle(f.path, "x");
    EXPECT_EQ(s.msg, Msg::LabelFileUnwritable);
    EXPECT_EQ(s.args.at(0), f.path);
    EXPECT_EQ(s.reason, Msg::FileReadOnly);
    EXPECT_EQ(readFile(f.path), before);
    ::chmod(f.path.c_str(), 0644);
}

TEST(LabelFile, BooleanTexts)
{
    for (const char* t : {"true", "True", "TRUE", "1", "-1"})
        EXPECT_TRUE(labels::readBool(t)) << t;
    for (const char* t : {"false", "0", "", "yes", "tru"})
        EXPECT_FALSE(labels::readBool(t)) << t;
}

TEST(LabelUnits, ConversionTable)
{
    EXPECT_EQ(labels::convertLabelUnit("10", 1, 2), "3.937");
    EXPECT_EQ(labels::convertLabelUnit("1", 2, 0), "25.4");
    EXPECT_EQ(labels::convertLabelUnit("25.4", 0, 2), "1");
    EXPECT_EQ(labels::convertLabelUnit("1", 2, 0), "25.4");
    EXPECT_EQ(labels::convertLabelUnit("37", 0, 1), "3.7");
    EXPECT_EQ(labels::convertLabelUnit("2.54", 1, 2), "1");
    EXPECT_EQ(labels::convertLabelUnit("0.0004", 0, 0), "0");
    EXPECT_EQ(labels::convertLabelUnit("0.0005", 0, 0), "0.001");
    EXPECT_EQ(labels::convertLabelUnit("70", 0, 0), "70");
    EXPECT_FALSE(labels::convertLabelUnit("1", 3, 0).has_value());
    EXPECT_FALSE(labels::convertLabelUnit("1", 0, -1).has_value());
    EXPECT_FALSE(labels::convertLabelUnit("1,5", 0, 1).has_value());
    EXPECT_FALSE(labels::convertLabelUnit("", 0, 1).has_value());
}

// The delivered file: every style reads, fits its paper, and its labels,
// margins and gutters add up to the sheet.
TEST(LabelFileShipped, StylesAreDrawnOnTheirPaper)
{
    const auto d = labels::readLabelDefinitions(kShipped);
    ASSERT_TRUE(d.ok());
    ASSERT_GE(d->styles.size(), 4u);
    EXPECT_EQ(d->count, static_cast<int>(d->styles.size()));
    int sheets = 0;
    for (const labels::LabelStyle& s : d->styles) {
        const auto g = labels::labelGeometry(s);
        ASSERT_TRUE(g.ok()) << s.name;
        const bool letter = s.name.rfind("Letter", 0) == 0;
        const double w = letter ? 215.9 : 210.0;
        const double h = letter ? 279.4 : 297.0;
        labels::LabelPaper paper{w, h, 0, 0};
        EXPECT_TRUE(labels::checkLabelStyle(s, *g, paper).ok()) << s.name;
        if (g->rows * g->columns == 1)
            continue;  // a roll: one label to the page
        ++sheets;
        // Inch margins keep three decimals (0.188 for 3/16).
        EXPECT_NEAR(g->ML + g->columns * g->L + (g->columns - 1) * g->GH + g->MR, w, 0.03) << s.name;
        EXPECT_NEAR(g->MT + g->rows * g->H + (g->rows - 1) * g->GV + g->MB, h, 0.03) << s.name;
    }
    EXPECT_GE(sheets, 3);
    const auto a4 = labels::labelGeometry(d->styles[static_cast<size_t>(d->activeStyle())]);
    EXPECT_EQ(a4->rows * a4->columns, 24);
    EXPECT_DOUBLE_EQ(a4->L, 70);
    EXPECT_DOUBLE_EQ(a4->H, 37);
}

// A program folder nobody may write (installed for every user): changes go
// to the user's copy, made from the shipped file; the shipped file stays.
TEST(LabelFileShared, ChangesGoToTheUsersCopy)
{
    TempDir dir;
    const std::string prog = dir.file("prog") + "/";
    std::filesystem::create_directories(prog + "Config");
    writeFile(prog + "Config/velmlabels.xml", readFile(kFixture));
    const char* oldXdg = std::getenv("XDG_DATA_HOME");
    const std::string saved = oldXdg ? oldXdg : "";
    ::setenv("XDG_DATA_HOME", dir.file("user").c_str(), 1);
    ::chmod((prog + "Config").c_str(), 0555);
    ::chmod(prog.c_str(), 0555);

    const std::string shipped = labels::labelDefinitionsPath(prog);
    EXPECT_EQ(shipped, prog + "Config/velmlabels.xml");
    const std::string mine = labels::labelDefinitionsPath(prog, engine::DataUse::Write);
    EXPECT_NE(mine, shipped);
    EXPECT_EQ(mine.rfind(dir.file("user"), 0), 0u) << mine;
    EXPECT_TRUE(labels::addLabelStyle(mine, "Mine").ok());
    EXPECT_EQ(readFile(shipped), readFile(kFixture));
    EXPECT_EQ(labels::labelDefinitionsPath(prog), mine);
    const auto d = labels::readLabelDefinitions(labels::labelDefinitionsPath(prog));
    ASSERT_TRUE(d.ok());
    EXPECT_EQ(d->styles.back().name, "Mine");

    ::chmod(prog.c_str(), 0755);
    ::chmod((prog + "Config").c_str(), 0755);
    if (oldXdg)
        ::setenv("XDG_DATA_HOME", saved.c_str(), 1);
    else
        ::unsetenv("XDG_DATA_HOME");
}
