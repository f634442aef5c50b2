#include "output/print_pages.h"

#include <gtest/gtest.h>

#include "output/print_job.h"

#include "example_project.h"
#include "recording_canvas.h"

namespace {

using output::Orientation;
using output::PageGeometry;
using output::Point;
using output_test::RecordingCanvas;

// A4 at 300 dots per inch, printed to the paper's edge.
constexpr int kA4Short = 2480;
constexpr int kA4Long = 3508;

// Pages written down call by call: "doc portrait"/"doc landscape" and
// "page" mark where documents and pages begin.
class RecordingTarget : public output::PrintTarget {
public:
    RecordingCanvas recorder;
    Orientation orientation = Orientation::Portrait;
    int documents = 0;

    void beginDocument(Orientation o) override
    {
        orientation = o;
        ++documents;
        recorder.calls.push_back(o == Orientation::Portrait ? "doc portrait" : "doc landscape");
        recorder.calls.push_back("page");
    }
    void newPage() override { recorder.calls.push_back("page"); }
    void endDocument() override { recorder.calls.push_back("end"); }
    output::Canvas& canvas() override { return recorder; }
    PageGeometry geometry() const override
    {
        return orientation == Orientation::Portrait ? PageGeometry::of(kA4Short, kA4Long, 300)
                                                    : PageGeometry::of(kA4Long, kA4Short, 300);
    }

    // The calls of each page, page markers left out.
    [[nodiscard]] std::vector<std::vector<std::string>> pages() const
    {
        std::vector<std::vector<std::string>> out;
        for (const std::string& c : recorder.calls) {
            if (c == "page")
                out.emplace_back();
            else if (!out.empty() && c.rfind("doc", 0) != 0 && c != "end")
                out.back().push_back(c);
        }
        return out;
    }
};

bool has(const std::vector<std::string>& calls, const std::string& part)
{
    for (const std::string& c : calls)
        if (c.find(part) != std::string::npos)
            return true;
    return false;
}

int countOf(const std::vector<std::string>& calls, const std::string& part)
{
    int n = 0;
    for (const std::string& c : calls)
        if (c.find(part) != std::string::npos)
            ++n;
    return n;
}

struct Fixture {
    engine::Project project = output_test::exampleProject();
    engine::Settings settings = output_test::exampleSettings();
    engine::LanguageTable language = output_test::exampleLanguage();
    std::tm now{};

    Fixture()
    {
        project.fileName = "/home/shop/jobs/kitchen.vlp";
        language.setText(189, "Printed:");
        now.tm_year = 126;
        now.tm_mon = 11;
        now.tm_mday = 9;
        now.tm_hour = 8;
        now.tm_min = 5;
        now.tm_sec = 3;
    }
    // Adds a third used sheet (group 3) like sheet 1.
    void addThirdGroup()
    {
        project.input.sheets.push_back({28000, 20700, 3, 3, 1});
        project.result.elements.push_back({3, 0, 0, 6040, 4040, 0, 1});
        project.result.groups.push_back({3, 1});
    }
    [[nodiscard]] output::PrintContext context() const { return {project, settings, language, now}; }
};

TEST(PrintGeometry, PageMeasures)
{
    const PageGeometry g = PageGeometry::of(kA4Short, kA4Long, 300);
    EXPECT_EQ(g.pw, 2232);
    EXPECT_EQ(g.ph, 3157);
    EXPECT_EQ(g.L0, 124);
    EXPECT_EQ(g.T0, 350);
    EXPECT_EQ(g.p, 4);  // 300 div 72
    EXPECT_DOUBLE_EQ(g.points(72), 300.0);
    EXPECT_EQ(PageGeometry::of(100, 100, 0).p, 1);  // a resolution below one point still draws
}

TEST(PrintGeometry, TwoPerPageInPortrait)
{
    const PageGeometry g = PageGeometry::of(kA4Short, kA4Long, 300);
    EXPECT_EQ(output::layoutOrientation(2), Orientation::Portrait);
    EXPECT_EQ(output::layoutOrientation(1), Orientation::Landscape);
    EXPECT_EQ(output::layoutOrientation(4), Orientation::Landscape);
    // The second slot starts 8 points below the middle of the printable height.
    const std::vector<Point> slots = output::layoutSlots(g, 2);
    ASSERT_EQ(slots.size(), 2U);
    EXPECT_EQ(slots[0], (Point{124, 350}));
    EXPECT_EQ(slots[1], (Point{124, 350 + 3157 / 2 + 8 * 4}));

    // A sheet twice as long as high is scaled by the width ...
    EXPECT_FLOAT_EQ(output::printScale(g, 2, 20000, 10000), 2232.0F / 20000.0F);
    // ... a square one by half the height left for diagrams.
    EXPECT_FLOAT_EQ(output::printScale(g, 2, 10000, 10000), (3157.0F - 350.0F - 64.0F) / 20000.0F);
    EXPECT_EQ(output::printScale(g, 2, 0, 10000), 0.0F);
}

TEST(PrintGeometry, OneAndFourPerPage)
{
    const PageGeometry g = PageGeometry::of(kA4Long, kA4Short, 300);
    EXPECT_EQ(output::layoutSlots(g, 1), (std::vector<Point>{{g.L0, g.T0}}));
    const int lower = g.T0 + g.ph / 2 + 8 * g.p;
    EXPECT_EQ(output::layoutSlots(g, 4),
              (std::vector<Point>{{g.L0, g.T0}, {g.L0 + g.pw / 2, g.T0}, {g.L0, lower}, {g.L0 + g.pw / 2, lower}}));
    const float height = static_cast<float>(g.ph - g.T0 - 16 * g.p);
    EXPECT_FLOAT_EQ(output::printScale(g, 1, 28000, 20700), std::min(g.pw / 28000.0F, height / 20700.0F));
    EXPECT_FLOAT_EQ(output::printScale(g, 4, 28000, 2070), g.pw / 56000.0F);
}

TEST(PrintPlan, CopiesStartOnANewPage)
{
    using Pages = std::vector<output::PlannedPage>;
    // Two copies of two groups one to a page: four pages, copy two from page 3.
    const Pages one = output::planLayoutPages({0, 1}, 1, 2);
    ASSERT_EQ(one.size(), 4U);
    EXPECT_EQ(one[2].front().group, 0);
    EXPECT_EQ(one[3].front().group, 1);
    // Three groups four to a page, twice: each copy on a page of its own, the
    // fourth slot empty.
    const Pages four = output::planLayoutPages({0, 1, 2}, 4, 2);
    ASSERT_EQ(four.size(), 2U);
    EXPECT_EQ(four[0].size(), 3U);
    EXPECT_EQ(four[1][0].group, 0);
    EXPECT_EQ(four[1][2].slot, 2);
    // A page filled exactly is not followed by an empty one.
    EXPECT_EQ(output::planLayoutPages({0, 1, 2, 3}, 2, 1).size(), 2U);
    EXPECT_TRUE(output::planLayoutPages({}, 2, 3).empty());
    EXPECT_TRUE(output::planLayoutPages({0}, 3, 1).empty());
}

TEST(PrintLayouts, FourPerPageWithThreeGroups)
{
    Fixture f;
    f.addThirdGroup();
    RecordingTarget target;
    EXPECT_EQ(output::printLayouts(target, f.context(), 0, 2, 4, 1), 1);
    EXPECT_EQ(target.orientation, Orientation::Landscape);
    const auto pages = target.pages();
    ASSERT_EQ(pages.size(), 1U);
    // Three headers; the page texts once.
    EXPECT_EQ(countOf(pages[0], " PI%="), 3);
    EXPECT_EQ(countOf(pages[0], " Velmora "), 1);
    const PageGeometry g = target.geometry();
    const int lower = g.T0 + g.ph / 2 + 8 * g.p;
    // Headers 14 points above the slots 1, 2 and 3; nothing in slot 4.
    const int above = static_cast<int>(g.points(14));
    EXPECT_TRUE(has(pages[0], "text " + std::to_string(g.L0) + "," + std::to_string(g.T0 - above) + " Oak 18"));
    EXPECT_TRUE(has(pages[0], "text " + std::to_string(g.L0 + g.pw / 2) + "," + std::to_string(g.T0 - above) + " Oak 18"));
    EXPECT_TRUE(has(pages[0], "text " + std::to_string(g.L0) + "," + std::to_string(lower - above) + " Oak 18"));
    EXPECT_FALSE(has(pages[0], "text " + std::to_string(g.L0 + g.pw / 2) + "," + std::to_string(lower - above)));
}

TEST(PrintLayouts, CopiesAndPageTexts)
{
    Fixture f;
    RecordingTarget target;
    EXPECT_EQ(output::printLayouts(target, f.context(), 0, 1, 1, 2), 4);
    const auto pages = target.pages();
    ASSERT_EQ(pages.size(), 4U);
    EXPECT_EQ(target.documents, 1);
    // Page 3 begins the second copy with group 1 again.
    const std::string header1 = "Oak 18 2800x2070=5.796 m\xC2\xB2 PI%=4.21 (x1)";
    EXPECT_TRUE(has(pages[0], header1));
    EXPECT_TRUE(has(pages[2], header1));
    EXPECT_TRUE(has(pages[2], "text 0,32  Norvik  - Creator of the Velmora3 -kitchen.vlp"));
    EXPECT_TRUE(has(pages[3], "Velmora4 -kitchen.vlp"));
    EXPECT_TRUE(has(pages[1], "text 4,80  Printed: 09/12/2026 08:05:03"));
    const PageGeometry g = target.geometry();
    EXPECT_TRUE(has(pages[1], "text " + std::to_string(g.PW - 640) + "," + std::to_string(g.PH - 80) + "  Velmora "));
    EXPECT_TRUE(has(pages[1], "frame 0,32," + std::to_string(g.pw) + "," + std::to_string(g.T0 / 2) + " black"));
    // Parts in 8 points, offcuts in 6, headers in 7, page line 12.
    EXPECT_TRUE(has(pages[0], "font Arial 8"));
    EXPECT_TRUE(has(pages[0], "font Arial 6"));
    EXPECT_TRUE(has(pages[0], "font Arial 7"));
    EXPECT_TRUE(has(pages[0], "font Arial 12"));
    // A range outside the groups prints nothing at all.
    RecordingTarget none;
    EXPECT_EQ(output::printLayouts(none, f.context(), 5, 9, 1, 1), 0);
    EXPECT_EQ(none.documents, 0);
}

TEST(PrintLayouts, OffcutSizeTextsOnlyAboveVisak)
{
    Fixture f;
    // Group 1's sheet: one offcut exactly Visak (60 = 6 mm) wide, one a unit wider.
    f.project.result.offcuts = {{1, 6040, 0, 6100, 20700}, {1, 6100, 0, 6161, 20700}};
    RecordingTarget target;
    const auto g = PageGeometry::of(kA4Long, kA4Short, 300);
    const float s = output::printScale(g, 1, 28000, 20700);
    const std::int64_t area = output::drawPrintedDiagram(target.recorder, f.context(), g, 0, 100, 200, s);
    EXPECT_EQ(area, 6040LL * 4040);
    const auto texts = target.recorder.only("text ");
    // Part: across, down and label; then only the wider offcut's two sizes.
    ASSERT_EQ(texts.size(), 5U);
    EXPECT_NE(texts[3].find(" 2.1"), std::string::npos);    // 61 - kerf 40 = 2.1 mm
    EXPECT_NE(texts[4].find(" 2070"), std::string::npos);   // to the bottom edge: no kerf taken off
    EXPECT_EQ(target.recorder.only("pen black dotted").size(), 2U);  // both are hatched
}

TEST(PrintLayouts, PartRectanglesAndLabel)
{
    Fixture f;
    RecordingTarget target;
    const auto g = PageGeometry::of(kA4Long, kA4Short, 300);
    const float s = 0.1F;
    output::drawPrintedDiagram(target.recorder, f.context(), g, 0, 100, 200, s);
    // R = (trunc(100 + 0 s), trunc(200 + 0 s), trunc(100 + 6040 s), trunc(200 + 4040 s)).
    EXPECT_TRUE(has(target.recorder.calls, "frame 100,200,704,604 black"));
    // The label 16 points left of the right edge and 8 points above the bottom.
    // trunc(704 - 66.67) and trunc(604 - 33.33) at 300 dots per inch.
    EXPECT_TRUE(has(target.recorder.calls, "text 637,570 A1"));
    // Across text centred at the top, down text at the middle of the left edge.
    EXPECT_TRUE(has(target.recorder.calls, "text " + std::to_string(100 + (604 - 18) / 2) + ",201 600"));
    EXPECT_TRUE(has(target.recorder.calls, "text 101,402 400"));
}

TEST(PrintCover, CaptionsAndPlaces)
{
    Fixture f;
    f.project.details.coverTitle = "Kitchen Smith";
    f.project.details.clientName = "Ann";
    f.project.details.clientSurname = "Smith";
    f.project.details.clientAddress = {"Main 1", "", "Springfield"};
    f.project.details.author = "Bob";
    for (auto [n, t] : {std::pair{264, "Client"}, {259, "Address"}, {260, "Phone"}, {261, "Note"},
                        {255, "Author"}, {266, "Company"}, {24, " Date: "}})
        f.language.setText(n, t);
    RecordingTarget target;
    output::printCover(target, f.context());
    EXPECT_EQ(target.orientation, Orientation::Portrait);
    const auto pages = target.pages();
    ASSERT_EQ(pages.size(), 1U);
    const int x0 = kA4Short / 7;
    const int v = 2 * x0;
    const int y0 = kA4Long / 4;
    const int y1 = y0 + static_cast<int>(3 * 18 * 300 / 72.0);  // 3 lines of 18 points
    EXPECT_TRUE(has(pages[0], "text " + std::to_string(x0) + "," + std::to_string(y0) + " Kitchen Smith"));
    EXPECT_TRUE(has(pages[0], "text " + std::to_string(x0) + "," + std::to_string(y1) + " Client:"));
    EXPECT_TRUE(has(pages[0], "text " + std::to_string(v) + "," + std::to_string(y1) + " Ann Smith"));
    const int y2 = y1 + 100;  // 2 lines of 12 points
    EXPECT_TRUE(has(pages[0], "text " + std::to_string(v) + "," + std::to_string(y2) + " Main 1"));
    EXPECT_TRUE(has(pages[0], "text " + std::to_string(v) + "," + std::to_string(y2 + 65 + 65) + " Springfield"));
    const int y3 = kA4Long * 3 / 4;
    EXPECT_TRUE(has(pages[0], "text " + std::to_string(x0) + "," + std::to_string(y3) + " Author:"));
    EXPECT_TRUE(has(pages[0], "text " + std::to_string(v) + "," + std::to_string(y3 + 100) + " Norvik"));
    EXPECT_TRUE(has(pages[0], "text " + std::to_string(v) + "," + std::to_string(y3 + 200) +  " 09/12/2026  -  08:05 "));
}

TEST(PrintLists, PartListRightAlignsQuantities)
{
    Fixture f;
    f.language.setText(130, "SHEETS");
    f.language.setText(131, "PARTS");
    f.language.setText(164, "Unit");
    std::vector<std::string> row(engine::PartCol::Count);
    row[engine::PartCol::Len] = "1200.5";
    row[engine::PartCol::Wid] = "60";
    row[engine::PartCol::Qty] = "12";
    row[engine::PartCol::Band + 0] = "ABS2";
    row[engine::PartCol::Band + 2] = "PVC-LONG";
    f.project.parts.appendRow(row);
    const engine::RichText parts = output::partListText(f.project, f.settings, f.language, f.now);
    ASSERT_EQ(parts.size(), 4U);
    EXPECT_EQ(parts[0].text, "   PARTS-Unit(mm) 09/12/2026");
    EXPECT_TRUE(parts[0].bold);
    EXPECT_EQ(parts[1].text, "   " + std::string(83, '-') + " ");
    // The label as typed, in quotes; band names after |6 - length| blanks.
    EXPECT_EQ(parts[2].text, "      1.   600.0 x 400 mm (x 3)    ' A1 '       |      |      |      ");
    EXPECT_EQ(parts[3].text, "      2.  1200.5 x  60 mm (x12)             ABS2|      |  PVC-LONG|      ");
    for (const auto& line : parts)
        EXPECT_EQ(line.sizeDelta, 3);

    const engine::RichText sheets = output::sheetListText(f.project, f.settings, f.language, f.now);
    ASSERT_EQ(sheets.size(), 3U);
    EXPECT_EQ(sheets[0].text, "   SHEETS-Unit(mm) 09/12/2026");
    EXPECT_EQ(sheets[2].text, "     1. 2800 x  2070 mm (x2)  'Oak 18'");
}

TEST(PrintText, PagesAndFit)
{
    RecordingTarget target;
    engine::RichText text;
    text.push_back({"Title", true, 3});
    for (int i = 0; i < 400; ++i)
        text.push_back({"line " + std::to_string(i)});
    // 13 pixels a line on 3508 - 2 x 175 pixels: 242 lines a page.
    EXPECT_EQ(output::printText(target, text, 8), 2);
    EXPECT_TRUE(has(target.recorder.calls, "font DejaVu Sans Mono 11"));
    EXPECT_TRUE(has(target.recorder.calls, "text 124,175 Title"));

    // A line wider than the page makes the font smaller, down to 4 points.
    RecordingTarget wide;
    EXPECT_EQ(output::printText(wide, {{std::string(500, 'x')}}, 8), 1);
    EXPECT_TRUE(has(wide.recorder.calls, "font DejaVu Sans Mono 4"));
    RecordingTarget empty;
    EXPECT_EQ(output::printText(empty, {}, 8), 0);
    EXPECT_EQ(empty.documents, 0);
}

TEST(PrintAll, DocumentOrder)
{
    Fixture f;
    f.project.report = {{"REPORT"}};
    f.project.bill = {{"BILL"}};
    output::PrintOptions o;
    o.cover = o.report = o.bill = o.sheetList = o.partList = true;
    o.perPage = 2;
    RecordingTarget target;
    EXPECT_EQ(output::printAll(target, f.context(), o), 6);
    EXPECT_EQ(target.documents, 6);
    const auto pages = target.pages();
    ASSERT_EQ(pages.size(), 6U);
    EXPECT_TRUE(has(pages[1], "REPORT"));
    EXPECT_TRUE(has(pages[2], " PI%="));
    EXPECT_TRUE(has(pages[3], "BILL"));
    EXPECT_TRUE(has(pages[4], "SHEETS") || has(pages[4], "-("));
    EXPECT_TRUE(has(pages[5], "A1"));

    // A text document alone is repeated for its copies.
    output::PrintOptions bill;
    bill.layouts = false;
    bill.bill = true;
    bill.copies = 3;
    RecordingTarget three;
    EXPECT_EQ(output::printAll(three, f.context(), bill), 3);
    EXPECT_EQ(three.documents, 3);
}

} // namespace
