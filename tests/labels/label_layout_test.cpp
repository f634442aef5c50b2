#include "labels/label_layout.h"

#include <gtest/gtest.h>

#include "tests/labels/label_target.h"

using engine::Msg;
using labels::LabelKind;
using labels::LabelLine;
using labels_test::LabelTarget;

namespace {

// 90 x 100 mm labels, two by two, margins 10 left and 20 top, gutters 5 and 7.
labels::LabelStyle twoByTwo()
{
    labels::LabelStyle s;
    s.name = "Two by two";
    s.sizeLength = "90";
    s.sizeWidth = "100";
    s.marginLeft = "10";
    s.marginTop = "20";
    s.gutterHorizontal = "5";
    s.gutterVertical = "7";
    s.rows = 2;
    s.columns = 2;
    return s;
}

// Every kind framed, with its Size line only (10 points).
labels::LabelDefinitions sizeOnly()
{
    labels::LabelDefinitions d;
    for (LabelKind k : labels::kLabelKinds) {
        d.kind(k).border = true;
        d.kind(k).line(LabelLine::Size) = {true, false, 10, ""};
    }
    return d;
}

engine::Settings millimetres()
{
    engine::Settings s;
    s.JedMere = 0;
    s.Testera = 4;
    s.Visak = 60;
    s.Visak2 = 60;
    return s;
}

// Two part rows of quantities 3 and 2; one 1000 x 800 mm sheet row cut three
// times identically (one group of 3), each with one offcut on its right edge.
engine::Project project()
{
    engine::Project p;
    p.sheets.appendRow({"", "1000", "800", "3", "Birch"});
    std::vector<std::string> a(engine::PartCol::Count), b(engine::PartCol::Count);
    a[engine::PartCol::Len] = "300";
    a[engine::PartCol::Wid] = "200";
    a[engine::PartCol::Qty] = "3";
    a[engine::PartCol::Ini] = "Door";
    b[engine::PartCol::Len] = "150.5";
    b[engine::PartCol::Wid] = "90";
    b[engine::PartCol::Qty] = "2";
    b[engine::PartCol::Ini] = "Shelf";
    p.parts.appendRow(a);
    p.parts.appendRow(b);
    p.input.sheets = {{10000, 8000, 3, 1, 1}, {10000, 8000, 3, 2, 1}, {10000, 8000, 3, 3, 1}};
    p.result.elements = {{1, 0, 0, 3004, 2004, 0, 1}};
    // Right side on the sheet's edge, top side inside: 300 x 196 net.
    p.result.offcuts = {{1, 9700, 0, 10000, 200}};
    p.result.groups = {{1, 3}};
    return p;
}

labels::LabelJob job(const labels::LabelStyle& style, std::array<bool, 3> kinds,
                     const labels::LabelDefinitions& d = sizeOnly())
{
    labels::LabelJob j;
    j.style = style;
    j.definitions = d;
    j.kinds = kinds;
    j.font = "Arial";
    return j;
}

} // namespace

TEST(LabelItems, PartsUsedSheetsAndOffcuts)
{
    const engine::Project p = project();
    const engine::Settings s = millimetres();
    using Items = std::vector<labels::LabelItem>;
    EXPECT_EQ(labels::labelItems(p, s, LabelKind::Part), (Items{{"300 x 200", "Door", 3}, {"150.5 x 90", "Shelf", 2}}));
    // Three identical cut sheets are one group of 3 and still three labels.
    EXPECT_EQ(labels::labelItems(p, s, LabelKind::UsedTable), (Items{{"1000 x 800", "Birch", 3}}));
    EXPECT_EQ(labels::labelItems(p, s, LabelKind::Offcut), (Items{{"30 x 19.6", "", 1}}));
    EXPECT_EQ(labels::labelCounts(p, s, {true, true, true}), (std::array<int, 3>{5, 3, 1}));
    EXPECT_EQ(labels::labelCounts(p, s, {false, true, false}), (std::array<int, 3>{0, 3, 0}));
}

TEST(LabelItems, OffcutNetSizeGivesTheKerfBackOnSheetEdges)
{
    engine::Project p = project();
    labels::NetSize n;
    ASSERT_TRUE(labels::offcutNetSize(p, {1, 9700, 0, 10000, 200}, 4, n));
    EXPECT_EQ(n.length, 300);
    EXPECT_EQ(n.width, 196);
    ASSERT_TRUE(labels::offcutNetSize(p, {1, 0, 7000, 500, 8000}, 4, n));
    EXPECT_EQ(n.length, 496);
    EXPECT_EQ(n.width, 1000);
    EXPECT_FALSE(labels::offcutNetSize(p, {9, 0, 0, 500, 500}, 4, n));
    // Good offcuts only: with Visak = Visak2 = 60 mm, a net 59.6 mm is too small.
    p.result.offcuts = {{1, 0, 7400, 10000, 8000}, {1, 0, 0, 600, 600}, {1, 0, 0, 604, 604}};
    engine::Settings s = millimetres();
    s.Visak = s.Visak2 = 600;
    const auto items = labels::labelItems(p, s, LabelKind::Offcut);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].size, "1000 x 60");
    EXPECT_EQ(items[1].size, "60 x 60");
}

TEST(LabelPages, QuantitiesThreeAndTwoOnTwoByTwo)
{
    LabelTarget t;
    const auto out = labels::printLabels(t, project(), millimetres(), job(twoByTwo(), {true, false, false}), {});
    ASSERT_TRUE(out.status.ok());
    EXPECT_EQ(out.pages, 2);
    EXPECT_EQ(out.labels, 5);
    const auto frames = t.pages("frame");
    ASSERT_EQ(frames.size(), 2u);
    // Ten pixels to the millimetre: columns at 10 and 10 + 90 + 5 mm, rows at
    // 20 and 20 + 100 + 7 mm.
    EXPECT_EQ(frames[0], (std::vector<std::string>{"frame 100,200,1000,1200 black", "frame 1050,200,1950,1200 black",
                                                    "frame 100,1270,1000,2270 black",
                                                    "frame 1050,1270,1950,2270 black"}));
    EXPECT_EQ(frames[1], (std::vector<std::string>{"frame 100,200,1000,1200 black"}));
    const auto texts = t.pages("text");
    EXPECT_EQ(texts[0], (std::vector<std::string>{"text 110,210 300 x 200", "text 1060,210 300 x 200",
                                                   "text 110,1280 300 x 200", "text 1060,1280 150.5 x 90"}));
    EXPECT_EQ(texts[1], (std::vector<std::string>{"text 110,210 150.5 x 90"}));
    EXPECT_EQ(t.documents, 1);
}

TEST(LabelPages, NextKindFollowsOnTheSamePage)
{
    LabelTarget t;
    const auto out = labels::printLabels(t, project(), millimetres(), job(twoByTwo(), {true, false, true}), {});
    ASSERT_TRUE(out.status.ok());
    EXPECT_EQ(out.pages, 2);
    const auto texts = t.pages("text");
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[1], (std::vector<std::string>{"text 110,210 150.5 x 90", "text 1060,210 30 x 19.6"}));
}

TEST(LabelPages, AllKindsInOrder)
{
    LabelTarget t;
    const auto out = labels::printLabels(t, project(), millimetres(), job(twoByTwo(), {true, true, true}), {});
    ASSERT_TRUE(out.status.ok());
    EXPECT_EQ(out.labels, 9);
    EXPECT_EQ(out.pages, 3);
    std::vector<std::string> all;
    for (const auto& page : t.pages("text"))
        for (const std::string& c : page)
            all.push_back(c.substr(c.find(' ', 5) + 1));
    EXPECT_EQ(all, (std::vector<std::string>{"300 x 200", "300 x 200", "300 x 200", "150.5 x 90", "150.5 x 90",
                                              "1000 x 800", "1000 x 800", "1000 x 800", "30 x 19.6"}));
}

TEST(LabelPages, AllLinesOffWithFramePrintsEmptyFramedLabels)
{
    labels::LabelDefinitions d;
    d.kind(LabelKind::Part).border = true;
    LabelTarget t;
    const auto out = labels::printLabels(t, project(), millimetres(), job(twoByTwo(), {true, false, false}, d), {});
    ASSERT_TRUE(out.status.ok());
    EXPECT_EQ(out.labels, 5);
    EXPECT_EQ(t.recorder.only("frame").size(), 5u);
    EXPECT_TRUE(t.recorder.only("text").empty());
}

TEST(LabelPages, MarginsAgainstThePrinterOffset)
{
    // A margin smaller than the printer's offset prints at the printable
    // area's edge plus that margin; a larger one loses the offset.
    labels::LabelStyle s = twoByTwo();
    s.marginLeft = "3";
    s.marginTop = "10";
    LabelTarget t;
    ASSERT_TRUE(labels::printLabels(t, project(), millimetres(), job(s, {true, false, false}), {0, 0, 4.2, 4.2})
                    .status.ok());
    EXPECT_EQ(t.recorder.only("frame").front(), "frame 30,58,930,1058 black");
    const labels::LabelGeometry g = labels::onPrinter(*labels::labelGeometry(s), {0, 0, 4.2, 4.2});
    EXPECT_DOUBLE_EQ(g.ML, 3);
    EXPECT_DOUBLE_EQ(g.MT, 5.8);
}

TEST(LabelPages, InchStylesDoNotDrift)
{
    labels::LabelStyle s;
    s.name = "Letter";
    s.sizeUnit = s.marginUnit = s.gutterUnit = 2;
    s.sizeLength = "2.625";
    s.sizeWidth = "1";
    s.marginLeft = "0.188";
    s.marginTop = "0.5";
    s.gutterHorizontal = "0.125";
    s.rows = 10;
    s.columns = 3;
    const labels::LabelGeometry g = *labels::labelGeometry(s);
    const labels::LabelSpot last = labels::labelSpot(g, 9, 2);
    EXPECT_NEAR(last.xMm, 4.775 + 2 * (66.675 + 3.175), 1e-9);
    EXPECT_NEAR(last.yMm, 12.7 + 9 * 25.4, 1e-9);
}

TEST(LabelPages, LinesValuesAndHeights)
{
    engine::Project p = project();
    p.details.coverTitle = "Kitchen";
    p.details.author = "Ana";
    p.details.clientName = "Ivo";
    p.details.clientSurname = "Kos";
    p.details.clientAddress = {"Street 1", "", "Town"};
    p.details.clientPhone = "555";
    p.details.clientNote = "Fragile";
    engine::Settings s = millimetres();
    s.CompanyName = "Shop";
    s.DateFormat = "dd/mm/yyyy";
    std::tm now{};
    now.tm_year = 126;
    now.tm_mon = 11;
    now.tm_mday = 9;
    now.tm_hour = 7;
    now.tm_min = 5;
    labels::LabelDefinitions d;
    for (int i = 0; i < labels::kLabelLineCount; ++i)
        d.kind(LabelKind::Part).lines[static_cast<size_t>(i)] = {true, i == 0, 5 + i, i == 9 ? "" : "T" + std::to_string(i) + ":"};
    labels::LabelJob j = job(twoByTwo(), {true, false, false}, d);
    j.values = labels::labelValues(p, s, now);
    LabelTarget t;
    ASSERT_TRUE(labels::printLabels(t, p, s, j, {}).status.ok());
    // The first label's calls (the kind has no frame).
    const auto pages = t.pages();
    ASSERT_GE(pages.at(0).size(), 24u);
    const std::vector<std::string> first(pages[0].begin(), pages[0].begin() + 24);
    // The recording canvas makes every line 13 pixels high.
    EXPECT_EQ(first, (std::vector<std::string>{
                          "font Arial 5",  "text 110,210 T0:300 x 200", "font Arial 6",  "text 110,223 T1:Door",
                          "font Arial 7",  "text 110,236 T2:Shop",      "font Arial 8",  "text 110,249 T3:Kitchen",
                          "font Arial 9",  "text 110,262 T4:Ana",       "font Arial 10", "text 110,275 T5:Ivo Kos",
                          "font Arial 11", "text 110,288 T6:Street 1",  "font Arial 11", "text 110,301  ",
                          "font Arial 11", "text 110,314  Town",        "font Arial 12", "text 110,327 T7:555",
                          "font Arial 13", "text 110,340 T8:Fragile",   "font Arial 14", "text 110,353 09/12/2026  -  07:05 ",
                      }));
}

TEST(LabelPages, TextStaysInsideItsLabel)
{
    labels::LabelStyle s = twoByTwo();
    s.sizeLength = "20";  // 200 pixels: 1 mm inside, 0.5 mm kept at the right
    s.sizeWidth = "5";    // 50 pixels: three 13-pixel lines after the 1 mm start
    labels::LabelDefinitions d;
    for (int i = 0; i < labels::kLabelLineCount; ++i)
        d.kind(LabelKind::Part).lines[static_cast<size_t>(i)] = {true, false, 8, "A long leading text, longer: "};
    LabelTarget t;
    ASSERT_TRUE(labels::printLabels(t, project(), millimetres(), job(s, {true, false, false}, d), {}).status.ok());
    const auto pages = t.pages("text");
    const auto& texts = pages.at(0);
    // Three lines fit the first label (10 + 3 x 13 <= 50).
    // 185 pixels: the recording canvas's 30 characters of 6 pixels.
    EXPECT_EQ(texts.at(0), "text 110,210 A long leading text, longer: 3");
    EXPECT_EQ(texts.at(2).substr(0, 13), "text 110,236 ");
    EXPECT_EQ(texts.at(3).substr(0, 13), "text 360,210 ");
}

TEST(LabelPagesMends, NoRowsOrNoColumnsIsRefused)
{
    for (auto [rows, columns] : {std::pair{0, 3}, std::pair{2, 0}, std::pair{-1, 1}}) {
        labels::LabelStyle s = twoByTwo();
        s.rows = rows;
        s.columns = columns;
        LabelTarget t;
        const auto out = labels::printLabels(t, project(), millimetres(), job(s, {true, true, true}), {});
        EXPECT_EQ(out.status.msg, Msg::LabelStyleEmpty);
        EXPECT_EQ(out.status.args, (std::vector<std::string>{"Two by two"}));
        EXPECT_EQ(out.pages, 0);
        EXPECT_EQ(t.documents, 0);
    }
}

TEST(LabelPagesMends, LabelsThatDoNotFitAreRefused)
{
    struct Case {
        const char* length;
        const char* width;
        const char* left;
        const char* top;
    };
    for (const Case c : {Case{"211", "10", "0", "0"}, Case{"10", "298", "0", "0"}, Case{"150", "10", "61", "0"},
                         Case{"10", "100", "0", "198"}, Case{"10", "10", "-5", "0"}}) {
        labels::LabelStyle s = twoByTwo();
        s.sizeLength = c.length;
        s.sizeWidth = c.width;
        s.marginLeft = c.left;
        s.marginTop = c.top;
        LabelTarget t;
        const auto out = labels::printLabels(t, project(), millimetres(), job(s, {true, false, false}), {});
        EXPECT_EQ(out.status.msg, Msg::LabelStyleTooLarge) << c.length << " " << c.width << " " << c.left;
        EXPECT_EQ(t.documents, 0);
    }
    // Exactly the page fits.
    labels::LabelStyle s = twoByTwo();
    s.sizeLength = "210";
    s.sizeWidth = "297";
    s.marginLeft = s.marginTop = "0";
    LabelTarget t;
    EXPECT_TRUE(labels::printLabels(t, project(), millimetres(), job(s, {true, false, false}), {}).status.ok());
}

TEST(LabelPagesMends, SizesThatAreNoNumbersAreNamed)
{
    labels::LabelStyle s = twoByTwo();
    s.gutterVertical = "7,5";
    LabelTarget t;
    auto out = labels::printLabels(t, project(), millimetres(), job(s, {true, false, false}), {});
    EXPECT_EQ(out.status.msg, Msg::LabelStyleNotANumber);
    EXPECT_EQ(out.status.args, (std::vector<std::string>{"Two by two", "GutterVertical"}));
    s = twoByTwo();
    s.sizeUnit = 3;
    out = labels::printLabels(t, project(), millimetres(), job(s, {true, false, false}), {});
    EXPECT_EQ(out.status.args, (std::vector<std::string>{"Two by two", "SizeLength"}));
    EXPECT_EQ(t.documents, 0);
}

TEST(LabelPages, NothingToPrint)
{
    LabelTarget t;
    EXPECT_EQ(labels::printLabels(t, project(), millimetres(), job(twoByTwo(), {false, false, false}), {}).status.msg,
              Msg::NoLabelsToPrint);
    engine::Project p = project();
    p.result = {};
    EXPECT_EQ(labels::printLabels(t, p, millimetres(), job(twoByTwo(), {false, true, true}), {}).status.msg,
              Msg::NoLabelsToPrint);
    EXPECT_EQ(t.documents, 0);
}

TEST(LabelSample, RowsFramedAndMarginsMasked)
{
    // Three rows of 70 mm labels (two of 100 mm across) with 5 mm margins and
    // 60 mm between rows: the third row overruns the bottom margin and is
    // covered by its mask and the one below the page.
    labels::LabelStyle s;
    s.name = "Sample";
    s.sizeLength = "100";
    s.sizeWidth = "70";
    s.marginLeft = s.marginRight = s.marginTop = s.marginBottom = "5";
    s.gutterHorizontal = "2";
    s.gutterVertical = "60";
    s.rows = 3;
    s.columns = 2;
    output_test::RecordingCanvas c;
    labels::drawLabelSample(c, *labels::labelGeometry(s), 242, 314);
    EXPECT_EQ(c.only("frame"), (std::vector<std::string>{
                                   "frame 0,0,242,314 black", "frame 23,8,233,305 black",
                                   "frame 29,14,129,84 black", "frame 131,14,231,84 black",
                                   "frame 29,144,129,214 black", "frame 131,144,231,214 black",
                                   "frame 29,274,129,344 black", "frame 131,274,231,344 black"}));
    const auto fills = c.only("fill");
    ASSERT_EQ(fills.size(), 7u);
    EXPECT_EQ(fills[3], "fill 228,9,232,304 white");
    EXPECT_EQ(fills[4], "fill 24,300,232,304 white");
    EXPECT_EQ(fills[6], "fill 1,307,241,313 white");
    // The printable area, dotted.
    EXPECT_EQ(c.only("line"), (std::vector<std::string>{"line 28,13,228,13", "line 228,13,228,300",
                                                         "line 228,300,28,300", "line 28,300,28,13"}));
    EXPECT_EQ(c.only("pen"), (std::vector<std::string>{"pen black dotted"}));
}
