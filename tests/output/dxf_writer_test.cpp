#include "output/dxf_writer.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "example_project.h"

namespace {

using output::DxfDrawingSetup;
using Lines = std::vector<std::string>;

DxfDrawingSetup setupFor(const std::string& release)
{
    DxfDrawingSetup s;
    s.releaseName = release;
    s.head = {"0", "SECTION", "2", "HEADER", "9", "$EXTMIN", "10", "x", "20", "y", "9", "$EXTMAX", "10", "x", "20",
              "y", "9", "$LIMMIN", "10", "x", "20", "y", "9", "$limmax", "10", "x", "20", "y", "9", "$INSUNITS",
              "70", "0", "40", "*viewheight", "12", "*xcenterview*", "22", "*ycenterview*", "1", "*xview*", "1",
              "*yview*", "0", "ENDSEC", "0", "TABLE", "2", "LAYER", "70", "6"};
    s.middle = {"0", "ENDTAB", "0", "SECTION", "2", "ENTITIES"};
    s.tail = {"0", "ENDSEC", "0", "EOF"};
    s.layers = {{{"0", 7}, {"Parts", 5}, {"Labels", 3}, {"Sizes", 2}, {"Offcuts", 1}, {"OffSizes", 6}}};
    s.items = {{{1, true}, {2, true}, {3, true}, {4, true}, {5, true}, {0, true}}};
    return s;
}

engine::Project firstSheetOnly()
{
    engine::Project p = output_test::exampleProject();
    p.result.groups = {{1, 1}};
    return p;
}

// Index of the n-th (0-based) line equal to `text`, or -1.
long find(const Lines& lines, const std::string& text, int n = 0)
{
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i] == text && n-- == 0)
            return static_cast<long>(i);
    return -1;
}

long count(const Lines& lines, const std::string& text)
{
    return std::count(lines.begin(), lines.end(), text);
}

// The group-code / value pairs of the entity starting at line `at`, up to the next "0".
std::vector<std::pair<std::string, std::string>> entity(const Lines& lines, long at)
{
    std::vector<std::pair<std::string, std::string>> out;
    for (size_t i = static_cast<size_t>(at); i + 1 < lines.size(); i += 2) {
        if (i != static_cast<size_t>(at) && lines[i] == "0")
            break;
        out.emplace_back(lines[i], lines[i + 1]);
    }
    return out;
}

std::vector<std::pair<std::string, std::string>> pairs(std::initializer_list<std::string> flat)
{
    std::vector<std::string> v(flat);
    std::vector<std::pair<std::string, std::string>> out;
    for (size_t i = 0; i + 1 < v.size(); i += 2)
        out.emplace_back(v[i], v[i + 1]);
    return out;
}

TEST(DxfWriter, WorkedExampleVertices)
{
    const auto lines = output::buildDxf(firstSheetOnly(), output_test::exampleSettings(), setupFor("AutoCAD R14"));
    const long at = find(lines, "LWPOLYLINE") - 1;
    ASSERT_GE(at, 0);
    EXPECT_EQ(entity(lines, at), pairs({"0", "LWPOLYLINE", "5", "00C5", "100", "AcDbEntity", "8", "Parts", "100",
                                        "AcDbPolyline", "90", "4", "70", "1", "43", "0.0", "10", "3", "20", "2128",
                                        "10", "603", "20", "2128", "10", "603", "20", "1728", "10", "3", "20",
                                        "1728"}));
}

TEST(DxfWriter, PartTextsAndLabel)
{
    const auto lines = output::buildDxf(firstSheetOnly(), output_test::exampleSettings(), setupFor("AutoCAD R14"));
    // Across text centred above, down text at the left middle, label near the bottom right.
    EXPECT_EQ(entity(lines, find(lines, "MTEXT") - 1),
              pairs({"0", "MTEXT", "5", "00C6", "100", "AcDbEntity", "8", "Sizes", "100", "AcDbMText", "10", "303",
                     "20", "2127", "30", "0", "40", "10", "41", "500", "71", "1", "72", "5", "1", "600"}));
    const long down = find(lines, "MTEXT", 1) - 1;
    EXPECT_EQ(lines[static_cast<size_t>(down) + 11], "4");
    EXPECT_EQ(lines[static_cast<size_t>(down) + 13], "1928");
    EXPECT_EQ(lines[static_cast<size_t>(down) + 25], "400");
    const long label = find(lines, "MTEXT", 2) - 1;
    EXPECT_EQ(lines[static_cast<size_t>(label) + 7], "Labels");
    EXPECT_EQ(lines[static_cast<size_t>(label) + 11], "583");
    EXPECT_EQ(lines[static_cast<size_t>(label) + 13], "1748");
    EXPECT_EQ(lines[static_cast<size_t>(label) + 25], "A1");
}

TEST(DxfWriter, SecondGroupSixtyMillimetresAbove)
{
    const auto lines =
        output::buildDxf(output_test::exampleProject(), output_test::exampleSettings(), setupFor("AutoCAD R14"));
    // Sheet 2's top edge: 2130 + 60 + 2070 = 4260 mm; its first part starts half a kerf lower.
    const long second = find(lines, "LWPOLYLINE", 3) - 1;  // sheet 1 has 1 part and 2 offcuts
    ASSERT_GE(second, 0);
    EXPECT_EQ(lines[static_cast<size_t>(second) + 19], "4258");
    EXPECT_EQ(lines[static_cast<size_t>(second) + 27], "3858");
    // Each header 30 mm above its sheet.
    const long h1 = find(lines, "Oak 18 2800x2070=5.796 m\u00B2 PI%=4.21 (x1)");
    const long h2 = find(lines, "Oak 18 2800x2070=5.796 m\u00B2 PI%=8.42 (x1)");
    ASSERT_GE(h1, 0);
    ASSERT_GE(h2, 0);
    EXPECT_EQ(lines[static_cast<size_t>(h1) - 14], "1");
    EXPECT_EQ(lines[static_cast<size_t>(h1) - 12], "2160");
    EXPECT_EQ(lines[static_cast<size_t>(h2) - 12], "4290");
    EXPECT_EQ(lines[static_cast<size_t>(h2) - 18], "0");  // header on layer "0"
}

TEST(DxfWriter, HeaderPatches)
{
    const auto lines =
        output::buildDxf(output_test::exampleProject(), output_test::exampleSettings(), setupFor("AutoCAD 2000"));
    const Lines head(lines.begin(), lines.begin() + 44);
    const Lines want = {"0", "SECTION", "2", "HEADER", "9", "$EXTMIN", "10", "0.0", "20", "0.0", "9", "$EXTMAX", "10",
                        "2799", "20", "4260", "9", "$LIMMIN", "10", "0.0", "20", "0.0", "9", "$limmax", "10", "2799",
                        "20", "4260", "9", "$INSUNITS", "70", "4", "40", "4260", "12", "1399.5", "22", "1399.5", "1",
                        "2799", "1", "2799", "0", "ENDSEC"};
    EXPECT_EQ(head, want);

    engine::Settings inch = output_test::exampleSettings();
    inch.JedMere = 4;
    const auto inchLines = output::buildDxf(output_test::exampleProject(), inch, setupFor("AutoCAD 2000"));
    EXPECT_EQ(inchLines[31], "1");
    EXPECT_EQ(inchLines[15], "167.717");  // 4260 mm in inches, three decimals
    EXPECT_EQ(inchLines[13], "110.196998596191");

    // $INSUNITS belongs to 2000 and later only.
    const auto r14 = output::buildDxf(output_test::exampleProject(), output_test::exampleSettings(),
                                      setupFor("AutoCAD R14"));
    EXPECT_EQ(r14[31], "0");
}

TEST(DxfWriter, EmptyResultGivesZeroExtents)
{
    engine::Project p = output_test::exampleProject();
    p.result = {};
    const auto lines = output::buildDxf(p, output_test::exampleSettings(), setupFor("AutoCAD 2004"));
    EXPECT_EQ(lines[13], "0");
    EXPECT_EQ(lines[15], "0");
    EXPECT_EQ(lines[33], "0");
    EXPECT_EQ(count(lines, "LAYER"), 7);  // the table header and six records
}

TEST(DxfWriter, UnknownReleaseGetsTemplatesAndLayersOnly)
{
    const DxfDrawingSetup setup = setupFor("AutoCAD 2007");
    const auto lines = output::buildDxf(output_test::exampleProject(), output_test::exampleSettings(), setup);
    Lines want = setup.head;
    for (const auto& [name, colour] : std::vector<std::pair<std::string, int>>{
             {"0", 7}, {"Parts", 5}, {"Labels", 3}, {"Sizes", 2}, {"Offcuts", 1}, {"OffSizes", 6}})
        want.insert(want.end(), {"0", "LAYER", "2", name, "70", "0", "62", std::to_string(colour), "6", "CONTINUOUS"});
    want.insert(want.end(), setup.middle.begin(), setup.middle.end());
    want.insert(want.end(), setup.tail.begin(), setup.tail.end());
    // The header is still patched from the geometry.
    want[13] = "2799";
    want[15] = "4260";
    want[7] = want[9] = want[19] = want[21] = "0.0";
    want[25] = "2799";
    want[27] = "4260";
    want[33] = "4260";
    want[35] = want[37] = "1399.5";
    want[39] = want[41] = "2799";
    EXPECT_EQ(lines, want);
}

TEST(DxfWriter, ReleaseRecordFormats)
{
    const engine::Settings st = output_test::exampleSettings();
    const engine::Project p = firstSheetOnly();

    const auto r13 = output::buildDxf(p, st, setupFor("AutoCAD R13"));
    long at = find(r13, "POLYLINE") - 1;
    EXPECT_EQ(entity(r13, at), pairs({"0", "POLYLINE", "5", "00C5", "100", "AcDbEntity", "8", "Parts", "100",
                                      "AcDb2dPolyline", "66", "1", "10", "0.0", "20", "0.0", "30", "0.0", "70", "1"}));
    EXPECT_EQ(entity(r13, at + 20), pairs({"0", "VERTEX", "5", "00C6", "100", "AcDbEntity", "8", "Parts", "100",
                                           "AcDbVertex", "100", "AcDb2dVertex", "10", "3", "20", "2128", "30", "0"}));
    EXPECT_EQ(count(r13, "VERTEX"), 5 * 3);
    const long seqend = find(r13, "SEQEND") - 1;
    EXPECT_EQ(entity(r13, seqend), pairs({"0", "SEQEND", "5", "00CB", "100", "AcDbEntity", "8", "Parts"}));
    EXPECT_EQ(count(r13, "MTEXT"), 3 + 2 * 2 + 1);
    EXPECT_EQ(count(r13, "TEXT"), 0);
    // R13 layer records carry a handle and the subclass markers, not the 2000 fields.
    EXPECT_EQ(entity(r13, find(r13, "LAYER", 1) - 1),
              pairs({"0", "LAYER", "5", "00BF", "100", "AcDbSymbolTableRecord", "100", "AcDbLayerTableRecord", "2",
                     "0", "70", "0", "62", "7", "6", "CONTINUOUS"}));

    const auto r11 = output::buildDxf(p, st, setupFor("AutoCAD R11"));
    at = find(r11, "POLYLINE") - 1;
    EXPECT_EQ(entity(r11, at), pairs({"0", "POLYLINE", "8", "Parts", "5", "00BF", "66", "1", "10", "0.0", "20", "0.0",
                                      "30", "0.0", "70", "1"}));
    EXPECT_EQ(entity(r11, at + 16), pairs({"0", "VERTEX", "8", "Parts", "5", "00C0", "10", "3", "20", "2128", "30", "0"}));
    EXPECT_EQ(entity(r11, find(r11, "SEQEND") - 1), pairs({"0", "SEQEND", "8", "Parts", "5", "00C5"}));
    EXPECT_EQ(entity(r11, find(r11, "TEXT") - 1),
              pairs({"0", "TEXT", "8", "Sizes", "5", "00C6", "10", "303", "20", "2127", "40", "10", "1", "600"}));
    EXPECT_EQ(count(r11, "MTEXT"), 0);
    EXPECT_EQ(entity(r11, find(r11, "LAYER", 1) - 1),
              pairs({"0", "LAYER", "2", "0", "70", "0", "62", "7", "6", "CONTINUOUS"}));

    const auto r26 = output::buildDxf(p, st, setupFor("AutoCAD 2.6"));
    at = find(r26, "POLYLINE") - 1;
    EXPECT_EQ(entity(r26, at), pairs({"0", "POLYLINE", "8", "Parts", "66", "1"}));
    EXPECT_EQ(entity(r26, at + 6), pairs({"0", "VERTEX", "8", "Parts", "10", "3", "20", "2128"}));
    EXPECT_EQ(entity(r26, at + 38), pairs({"0", "VERTEX", "8", "Parts", "10", "3", "20", "2128"}));  // closes it
    EXPECT_EQ(entity(r26, find(r26, "SEQEND") - 1), pairs({"0", "SEQEND", "8", "Parts"}));
    EXPECT_EQ(entity(r26, find(r26, "TEXT") - 1),
              pairs({"0", "TEXT", "8", "Sizes", "10", "303", "20", "2127", "40", "10", "1", "600"}));
    for (size_t i = 0; i + 1 < r26.size(); i += 2)
        EXPECT_NE(r26[i], "5") << "handle at line " << i;
}

TEST(DxfWriter, LayerRecordsFrom2000)
{
    const auto lines =
        output::buildDxf(firstSheetOnly(), output_test::exampleSettings(), setupFor("AutoCAD 2004"));
    EXPECT_EQ(entity(lines, find(lines, "LAYER", 1) - 1),
              pairs({"0", "LAYER", "5", "00BF", "100", "AcDbSymbolTableRecord", "100", "AcDbLayerTableRecord", "2",
                     "0", "70", "0", "62", "7", "6", "CONTINUOUS", "290", "1", "370", "-3", "390", "00C0"}));
    const auto last = entity(lines, find(lines, "LAYER", 6) - 1);
    EXPECT_EQ(last[1].second, "00C9");
    EXPECT_EQ(last[4].second, "OffSizes");
    EXPECT_EQ(last.back().second, "00CA");
    EXPECT_EQ(lines[static_cast<size_t>(find(lines, "LWPOLYLINE")) + 2], "00CB");
}

TEST(DxfWriter, ValuesGoThroughSinglePrecision)
{
    engine::Project p = firstSheetOnly();
    p.result.elements = {{1, 12313, 0, 18353, 4040, 0, 1}};  // left edge at 1234.3 mm
    p.result.offcuts.clear();
    const auto lines = output::buildDxf(p, output_test::exampleSettings(), setupFor("AutoCAD R14"));
    const long at = find(lines, "LWPOLYLINE");
    EXPECT_EQ(lines[static_cast<size_t>(at) + 16], "1234.30004882813");
    EXPECT_EQ(lines[static_cast<size_t>(at) + 20], "1834.30004882813");
}

TEST(DxfWriter, SwitchedOffItemsStillCountForExtents)
{
    DxfDrawingSetup setup = setupFor("AutoCAD R14");
    for (auto& item : setup.items)
        item.output = false;
    setup.items[2].output = true;  // part sizes only
    engine::Project p = firstSheetOnly();
    p.result.offcuts.clear();
    const auto lines = output::buildDxf(p, output_test::exampleSettings(), setup);
    EXPECT_EQ(count(lines, "LWPOLYLINE"), 0);
    EXPECT_EQ(count(lines, "MTEXT"), 2);
    EXPECT_EQ(lines[13], "603");
}

TEST(DxfWriter, OffcutSizeTexts)
{
    DxfDrawingSetup setup = setupFor("AutoCAD R14");
    const auto lines = output::buildDxf(firstSheetOnly(), output_test::exampleSettings(), setup);
    // The right offcut reaches the sheet's right and bottom edges: full size.
    EXPECT_GE(find(lines, "2196"), 0);
    EXPECT_GE(find(lines, "2070"), 0);
    // The one below the part ends inside the sheet on the right: one kerf less.
    EXPECT_GE(find(lines, "600"), 0);
    EXPECT_GE(find(lines, "1666"), 0);
    EXPECT_EQ(count(lines, "LWPOLYLINE"), 3);
}

TEST(DxfWriter, RotatedPartSwapsTextsAndShowsMarks)
{
    engine::Project p = firstSheetOnly();
    p.parts.setCell(1, engine::PartCol::Thickness + 2, "2");
    p.parts.setCell(1, engine::PartCol::Thickness + 3, "");  // unreadable: counts 0
    p.parts.setCell(1, engine::PartCol::Sign + 0, "*");
    p.parts.setCell(1, engine::PartCol::Sign + 3, "#");
    p.result.elements[0].rot = 1;
    const auto lines = output::buildDxf(p, output_test::exampleSettings(), setupFor("AutoCAD R14"));
    const long across = find(lines, "MTEXT");
    EXPECT_EQ(lines[static_cast<size_t>(across) + 24], "400#");
    EXPECT_EQ(lines[static_cast<size_t>(find(lines, "MTEXT", 1)) + 24], "598*");
}

TEST(DxfWriter, EncodesTextForTheCodePage)
{
    EXPECT_EQ(output::dxfEncodeText("5.796 m\u00B2"), "5.796 m\xB2");
    EXPECT_EQ(output::dxfEncodeText("\u0160ifra \u20AC"), "\x8A" "ifra \x80");
    EXPECT_EQ(output::dxfEncodeText("\u010Cep"), "\\U+010Cep");
    EXPECT_EQ(output::dxfEncodeText("a\xB2"), "a\xB2");  // already 8-bit: kept
}

TEST(DxfWriter, WritesCrLfLines)
{
    const auto dir = std::filesystem::temp_directory_path() / "velmora_dxf_writer_test";
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "out.dxf").string();
    ASSERT_TRUE(output::writeDxfFile(file, {"0", "EOF"}).ok());
    std::ifstream in(file, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    EXPECT_EQ(ss.str(), "0\r\nEOF\r\n");

    const engine::Status bad = output::writeDxfFile((dir / "no" / "such" / "x.dxf").string(), {"0", "EOF"});
    EXPECT_EQ(bad.msg, engine::Msg::CannotWriteDxf);
    std::filesystem::remove_all(dir);
}

TEST(DxfWriter, InchDrawingKeepsOffcutTextsInTheDisplayUnit)
{
    engine::Project p = firstSheetOnly();
    p.parts.setCell(1, engine::PartCol::Len, "23 5/8\"");
    p.parts.setCell(1, engine::PartCol::Wid, "15 3/4\"");
    engine::Settings st = output_test::exampleSettings();
    st.JedMere = 4;
    const auto lines = output::buildDxf(p, st, setupFor("AutoCAD R11"));
    const long across = find(lines, "TEXT");
    // Part sizes in decimal inches, one inch high, at whole inches.
    EXPECT_EQ(entity(lines, across - 1), pairs({"0", "TEXT", "8", "Sizes", "5", "00C6", "10", "11", "20", "82", "40",
                                                "1", "1", "23.626"}));  // 6001 tenths of a mm
    EXPECT_EQ(lines[static_cast<size_t>(find(lines, "TEXT", 1)) + 12], "15.752");
    // Offcut sizes as the user reads them: 2196 mm is 86 15/32", shown to the nearest 64th.
    EXPECT_GE(find(lines, "86 29/64\""), 0);
    // Vertices with three decimals, through single precision.
    EXPECT_EQ(lines[static_cast<size_t>(find(lines, "VERTEX")) + 6], "0.118000000715256");
}

TEST(DxfWriter, EmptyLayerNameGetsTheDefault)
{
    DxfDrawingSetup setup = setupFor("AutoCAD R14");
    setup.layers[1].name = "";
    setup.layers[0].name = "ignored";
    const auto lines = output::buildDxf(firstSheetOnly(), output_test::exampleSettings(), setup);
    EXPECT_EQ(lines[static_cast<size_t>(find(lines, "LAYER", 1)) + 8], "0");
    EXPECT_EQ(lines[static_cast<size_t>(find(lines, "LAYER", 2)) + 8], "Layer1");
    EXPECT_EQ(lines[static_cast<size_t>(find(lines, "LWPOLYLINE")) + 6], "Layer1");
}

TEST(DxfWriter, ReleaseNames)
{
    EXPECT_EQ(output::dxfReleaseNames().size(), 10U);
    EXPECT_EQ(output::dxfReleaseFromName("AutoCAD R13"), output::DxfRelease::R13);
    EXPECT_EQ(output::dxfReleaseFromName("autocad r13"), output::DxfRelease::Unknown);
}

} // namespace
