#include "output/dxf_settings.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "example_project.h"
#include "output/dxf_writer.h"
#include "tests/project/temp_dir.h"

namespace {

namespace fs = std::filesystem;

const std::string kShipped = std::string(VELMORA_DATA_DIR) + "/Config/velmdxf.xml";

class TempFolder {
public:
    TempFolder() : m_path(fs::temp_directory_path() / ("velmora_dxf_settings_" + std::to_string(::getpid())))
    {
        fs::create_directories(m_path);
    }
    ~TempFolder() { fs::remove_all(m_path); }
    [[nodiscard]] std::string file(const std::string& name) const { return (m_path / name).string(); }
    void write(const std::string& name, const std::string& text) const
    {
        std::ofstream(file(name), std::ios::binary) << text;
    }

private:
    fs::path m_path;
};

const char* kSmall = R"(<?xml version="1.0" encoding="UTF-8"?>
<!-- kept across saves -->
<velm_dxf version="7" filepath="/old/x.dxf">
  <layers>
    <layer><name>0</name><color>7</color><offview>keep</offview></layer>
    <layer><name>A</name><color>1</color><offview/></layer>
    <layer><name>B</name><color>2</color><offview/></layer>
    <layer><name>C</name><color>3</color><offview/></layer>
    <layer><name>D</name><color>4</color><offview/></layer>
    <layer><name>E</name><color>5</color><offview/></layer>
  </layers>
  <items>
    <item><name>p</name><layer>1</layer><output>1</output></item>
    <item><name>l</name><layer>2</layer><output>0</output></item>
    <item><name>s</name><layer>3</layer><output>yes</output></item>
    <item><name>o</name><layer>4</layer><output>1</output></item>
    <item><name>os</name><layer>5</layer><output>1</output></item>
    <item><name>h</name><layer>0</layer><output>1</output></item>
  </items>
  <extra answer="42"/>
  <versions active="1" count="2">
    <version><name>First</name><h1>0&#13;&#10;SECTION&#13;2&#10;HEADER</h1><h2></h2><h3>0&#10;EOF&#10;</h3></version>
    <version><name>Second</name><h1>x</h1><h2>y</h2><h3>z</h3></version>
    <version><name>Third</name><h1>x</h1><h2>y</h2><h3>z</h3></version>
  </versions>
</velm_dxf>
)";

TEST(DxfSettingsFile, LoadsEveryField)
{
    TempFolder dir;
    dir.write("velmdxf.xml", kSmall);
    output::DxfSettings s;
    ASSERT_TRUE(output::loadDxfSettings(dir.file("velmdxf.xml"), s));
    EXPECT_EQ(s.filePath, "/old/x.dxf");
    EXPECT_EQ(s.layers[0], (output::DxfLayer{"0", 7}));
    EXPECT_EQ(s.layers[5], (output::DxfLayer{"E", 5}));
    EXPECT_EQ(s.items[1], (output::DxfItemSetup{2, false}));
    EXPECT_EQ(s.items[2], (output::DxfItemSetup{3, false}));  // anything but 1 is off
    EXPECT_EQ(s.items[5], (output::DxfItemSetup{0, true}));
    EXPECT_EQ(s.layerName(output::DxfItem::PartRectangle), "A");
    EXPECT_EQ(s.layerName(output::DxfItem::SheetHeader), "0");
    // count = 2: the third version is not listed.
    EXPECT_EQ(s.releases, (std::vector<std::string>{"First", "Second"}));
    EXPECT_EQ(s.active, 1);
    EXPECT_EQ(s.activeRelease(), "Second");
}

TEST(DxfSettingsFile, TemplatesSplitAtEveryLineBreak)
{
    TempFolder dir;
    dir.write("velmdxf.xml", kSmall);
    const std::string path = dir.file("velmdxf.xml");
    EXPECT_EQ(output::fetchDxfTemplate(path, 0, output::DxfTemplate::Head),
              (std::vector<std::string>{"0", "SECTION", "2", "HEADER"}));
    EXPECT_TRUE(output::fetchDxfTemplate(path, 0, output::DxfTemplate::Middle).empty());
    EXPECT_EQ(output::fetchDxfTemplate(path, 0, output::DxfTemplate::Tail), (std::vector<std::string>{"0", "EOF"}));
    EXPECT_EQ(output::fetchDxfTemplate(path, 2, output::DxfTemplate::Tail), (std::vector<std::string>{"z"}));
    EXPECT_TRUE(output::fetchDxfTemplate(path, 3, output::DxfTemplate::Head).empty());
    EXPECT_TRUE(output::fetchDxfTemplate(path, -1, output::DxfTemplate::Head).empty());
    EXPECT_TRUE(output::fetchDxfTemplate(dir.file("missing.xml"), 0, output::DxfTemplate::Head).empty());

    EXPECT_EQ(output::splitTemplateLines("a\r\nb\rc\nd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(output::splitTemplateLines("a\n\nb\n"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_TRUE(output::splitTemplateLines("").empty());
}

TEST(DxfSettingsFile, SaveKeepsWhatItDoesNotWrite)
{
    TempFolder dir;
    dir.write("velmdxf.xml", kSmall);
    const std::string path = dir.file("velmdxf.xml");
    output::DxfSettings s;
    ASSERT_TRUE(output::loadDxfSettings(path, s));
    s.filePath = "/new/drawing.dxf";
    s.layers[3] = {"Renamed", 6};
    s.items[1] = {4, true};
    s.active = 0;
    ASSERT_TRUE(output::saveDxfSettings(path, s));

    output::DxfSettings again;
    ASSERT_TRUE(output::loadDxfSettings(path, again));
    EXPECT_EQ(again.filePath, "/new/drawing.dxf");
    EXPECT_EQ(again.layers[3], (output::DxfLayer{"Renamed", 6}));
    EXPECT_EQ(again.items[1], (output::DxfItemSetup{4, true}));
    EXPECT_EQ(again.items[2], (output::DxfItemSetup{3, false}));  // "yes" is written back as 0
    EXPECT_EQ(again.active, 0);

    const std::string text = readFile(path);
    EXPECT_NE(text.find("<!-- kept across saves -->"), std::string::npos);
    EXPECT_NE(text.find("version=\"7\""), std::string::npos);
    EXPECT_NE(text.find("<offview>keep</offview>"), std::string::npos);
    EXPECT_NE(text.find("<extra answer=\"42\""), std::string::npos);
    EXPECT_NE(text.find("count=\"2\""), std::string::npos);
    EXPECT_NE(text.find("<name>Third</name>"), std::string::npos);
    EXPECT_EQ(output::fetchDxfTemplate(path, 0, output::DxfTemplate::Tail), (std::vector<std::string>{"0", "EOF"}));
}

TEST(DxfSettingsFile, FailuresAreSilentAndKeepEarlierValues)
{
    TempFolder dir;
    std::string broken = kSmall;
    broken.replace(broken.find("<color>3</color>"), 16, "<color>green</color>");
    dir.write("broken.xml", broken);
    output::DxfSettings s;
    s.items[0] = {5, false};
    s.releases = {"kept"};
    EXPECT_FALSE(output::loadDxfSettings(dir.file("broken.xml"), s));
    EXPECT_EQ(s.filePath, "/old/x.dxf");
    EXPECT_EQ(s.layers[2], (output::DxfLayer{"B", 2}));  // read before the bad colour
    EXPECT_EQ(s.layers[3], (output::DxfLayer{"Layer3", 7}));
    EXPECT_EQ(s.items[0], (output::DxfItemSetup{5, false}));
    EXPECT_EQ(s.releases, std::vector<std::string>{"kept"});

    dir.write("malformed.xml", "<velm_dxf><layers>");
    output::DxfSettings untouched;
    EXPECT_FALSE(output::loadDxfSettings(dir.file("malformed.xml"), untouched));
    EXPECT_FALSE(output::loadDxfSettings(dir.file("missing.xml"), untouched));
    EXPECT_EQ(untouched.filePath, "");
    EXPECT_EQ(untouched.layers[1].name, "Layer1");
    EXPECT_TRUE(untouched.releases.empty());

    // A save into a file that lacks an element changes nothing.
    std::string noItems = kSmall;
    noItems.replace(noItems.find("<items>"), 7, "<itemz>");
    noItems.replace(noItems.find("</items>"), 8, "</itemz>");
    dir.write("noitems.xml", noItems);
    output::DxfSettings t;
    t.filePath = "/changed.dxf";
    EXPECT_FALSE(output::saveDxfSettings(dir.file("noitems.xml"), t));
    EXPECT_EQ(readFile(dir.file("noitems.xml")), noItems);
    EXPECT_FALSE(output::saveDxfSettings(dir.file("missing.xml"), t));
    EXPECT_FALSE(fs::exists(dir.file("missing.xml")));
}

TEST(DxfSettingsShipped, ListsTheTenReleases)
{
    output::DxfSettings s;
    ASSERT_TRUE(output::loadDxfSettings(kShipped, s));
    EXPECT_EQ(s.releases, output::dxfReleaseNames());
    EXPECT_EQ(s.activeRelease(), "AutoCAD 2000");
    EXPECT_EQ(s.layers[0].name, "0");
    for (const auto& item : s.items)
        EXPECT_TRUE(item.output);
    EXPECT_EQ(output::dxfSettingsPath("/opt/velmora/"), "/opt/velmora/Config//velmdxf.xml");
}

// Every release's templates frame the generated part as the writer expects
// and hold no placeholder after patching. With VELMORA_DXF_SAMPLES set to a
// folder, the drawings are also written there for inspection.
TEST(DxfSettingsShipped, TemplatesFrameEveryRelease)
{
    using Lines = std::vector<std::string>;
    output::DxfSettings s;
    ASSERT_TRUE(output::loadDxfSettings(kShipped, s));
    const char* samples = std::getenv("VELMORA_DXF_SAMPLES");
    for (int i = 0; i < static_cast<int>(s.releases.size()); ++i) {
        SCOPED_TRACE(s.releases[static_cast<size_t>(i)]);
        s.active = i;
        const output::DxfDrawingSetup setup = output::dxfSetupFromSettings(s, kShipped);
        ASSERT_GE(setup.head.size(), 6U);
        ASSERT_GE(setup.middle.size(), 6U);
        ASSERT_GE(setup.tail.size(), 4U);
        // The layer table header comes last; its entry count allows the six layers.
        const Lines headEnd(setup.head.end() - 6, setup.head.end());
        EXPECT_EQ(Lines(headEnd.end() - 2, headEnd.end()), (Lines{"70", "6"}));
        const Lines tableStart{"0", "TABLE", "2", "LAYER"};
        const auto at = std::search(setup.head.rbegin(), setup.head.rend(), tableStart.rbegin(), tableStart.rend());
        ASSERT_NE(at, setup.head.rend());
        EXPECT_LE(at - setup.head.rbegin(), 12);
        EXPECT_EQ(Lines(setup.middle.begin(), setup.middle.begin() + 2), (Lines{"0", "ENDTAB"}));
        EXPECT_EQ(Lines(setup.middle.end() - 4, setup.middle.end()), (Lines{"0", "SECTION", "2", "ENTITIES"}));
        EXPECT_EQ(Lines(setup.tail.begin(), setup.tail.begin() + 2), (Lines{"0", "ENDSEC"}));
        EXPECT_EQ(Lines(setup.tail.end() - 2, setup.tail.end()), (Lines{"0", "EOF"}));

        const Lines lines = output::buildDxf(output_test::exampleProject(), output_test::exampleSettings(), setup);
        EXPECT_EQ(lines.size() % 2, 0U);
        for (const std::string& line : lines) {
            const bool placeholder =
                !line.empty() && line[0] == '*' && line != "*ACTIVE" && line != "*Model_Space" && line != "*Paper_Space";
            EXPECT_FALSE(placeholder) << line;
        }
        if (samples) {
            const std::string file = std::string(samples) + "/release-" + std::to_string(i) + ".dxf";
            EXPECT_TRUE(output::writeDxfFile(file, lines).ok());
        }
    }
}

} // namespace

namespace {

TEST(DxfExport, WritesTheDrawingAndRemembersItsPath)
{
    TempFolder dir;
    const std::string settingsPath = dir.file("velmdxf.xml");
    fs::copy_file(kShipped, settingsPath);
    output::DxfSettings s;
    ASSERT_TRUE(output::loadDxfSettings(settingsPath, s));
    s.active = 4;  // AutoCAD R11
    s.layers[4].colour = 2;
    const std::string drawing = dir.file("out.dxf");
    ASSERT_TRUE(output::exportDxf(drawing, output_test::exampleProject(), output_test::exampleSettings(), settingsPath, s)
                    .ok());
    const std::string text = readFile(drawing);
    EXPECT_NE(text.find("AC1009\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nOffcuts\r\n70\r\n0\r\n62\r\n2\r\n"), std::string::npos);

    output::DxfSettings again;
    ASSERT_TRUE(output::loadDxfSettings(settingsPath, again));
    EXPECT_EQ(again.filePath, drawing);
    EXPECT_EQ(again.active, 4);
    EXPECT_EQ(again.layers[4].colour, 2);
    EXPECT_EQ(output::fetchDxfTemplate(settingsPath, 9, output::DxfTemplate::Tail),
              output::fetchDxfTemplate(kShipped, 9, output::DxfTemplate::Tail));

    const engine::Status bad = output::exportDxf(dir.file("no/such/dir.dxf"), output_test::exampleProject(),
                                                 output_test::exampleSettings(), settingsPath, s);
    EXPECT_EQ(bad.msg, engine::Msg::CannotWriteDxf);
}

} // namespace

namespace {

TEST(DxfExport, ReleaseWithoutTemplatesWritesNothing)
{
    // A release whose head or tail template is missing would give a file
    // without sections or end: the export refuses and keeps the old file
    // and the settings as they were.
    TempFolder dir;
    const std::string settingsPath = dir.file("velmdxf.xml");
    fs::copy_file(kShipped, settingsPath);
    output::DxfSettings s;
    ASSERT_TRUE(output::loadDxfSettings(settingsPath, s));
    s.active = 12;  // beyond the listed releases
    const std::string drawing = dir.file("old.dxf");
    std::ofstream(drawing) << "old";
    const engine::Status st = output::exportDxf(drawing, output_test::exampleProject(),
                                                output_test::exampleSettings(), settingsPath, s);
    EXPECT_EQ(st.msg, engine::Msg::DxfSettingsUnreadable);
    ASSERT_FALSE(st.args.empty());
    EXPECT_EQ(st.args[0], settingsPath);
    EXPECT_EQ(readFile(drawing), "old");
    EXPECT_TRUE(s.filePath.empty());
    output::DxfSettings again;
    ASSERT_TRUE(output::loadDxfSettings(settingsPath, again));
    EXPECT_TRUE(again.filePath.empty());
}

TEST(DxfColours, NamesAndNumbers)
{
    EXPECT_EQ(output::dxfColourNames()[0], "Red");
    EXPECT_EQ(output::dxfColourNames()[6], "White");
    EXPECT_EQ(output::dxfColourFromText("1"), 1);
    EXPECT_EQ(output::dxfColourFromText("7"), 7);
    EXPECT_EQ(output::dxfColourFromText("green"), 3);
    EXPECT_EQ(output::dxfColourFromText("CYAN"), 4);
    for (const char* bad : {"0", "8", "", "Gren", "-1", "Red "})
        EXPECT_EQ(output::dxfColourFromText(bad), 0) << bad;
    EXPECT_EQ(output::dxfDefaultLayerName(3), "Layer3");
    EXPECT_EQ(output::dxfDefaultLayerName(0), "0");
}

} // namespace
