#include "output/diagram_painter.h"

#include <gtest/gtest.h>

#include "example_project.h"
#include "recording_canvas.h"

namespace {

using output::DiagramPainter;
using output::DiagramState;
using output::PieceHit;
using output::PieceKind;
using output_test::RecordingCanvas;
using Calls = std::vector<std::string>;

struct PainterFixture {
    engine::Project project = output_test::exampleProject();
    engine::Settings settings = output_test::exampleSettings();
    engine::LanguageTable language = output_test::exampleLanguage();
    [[nodiscard]] DiagramPainter painter() const { return DiagramPainter(project, settings, language); }
};

TEST(DiagramScale, HeightDecidesForAWideBox)
{
    const float s = output::diagramScale(28000, 20700, 777, 434);
    EXPECT_NEAR(s, 47.7, 0.01);
    EXPECT_EQ(output::toPixel(28000, s), 587);
    // The float scale is a hair above 20700 / 434, so the height truncates to 433.
    EXPECT_EQ(output::toPixel(20700, s), 433);
    EXPECT_FLOAT_EQ(output::diagramScale(28000, 20700, 200, 1000), 140.0F);  // width decides
    EXPECT_EQ(output::diagramScale(28000, 20700, 0, 434), 0.0F);
}

TEST(DiagramPaint, WorkedExample)
{
    PainterFixture f;
    RecordingCanvas c;
    DiagramState state;
    state.selectedOffcut = 1;
    const auto out = f.painter().paint(c, 0, 777, 434, state);
    EXPECT_TRUE(out.drawn);
    EXPECT_EQ(out.groupCount, 2);
    EXPECT_EQ(out.groupNumber, "1");
    EXPECT_EQ(out.caption, "Sheet 2800mm x 2070mm A=5.796 m\u00B2 (x1)");
    EXPECT_EQ(state.selectedOffcut, output::kNoSelection);

    EXPECT_EQ(Calls(c.calls.begin(), c.calls.begin() + 3),
              (Calls{"font Arial 8", "fill 0,0,777,434 white", "frame 0,0,777,434 black"}));
    // The part: sizes across the top and down the left side, label in the middle, then its frame.
    EXPECT_EQ(Calls(c.calls.begin() + 3, c.calls.begin() + 7),
              (Calls{"text 54,1 600", "text 1,42 400", "text 63,42 A1", "frame 0,0,126,84 black"}));
    // Offcuts: the one on the right edge shows its full width, the one below the
    // part its rectangle less a kerf.
    EXPECT_EQ(c.only("text"), (Calls{"text 54,1 600", "text 1,42 400", "text 63,42 A1", "text 346,4 2196",
                                     "text 130,216 2070", "text 53,88 600", "text 4,259 1666"}));
    EXPECT_EQ(c.only("frame"), (Calls{"frame 0,0,777,434 black", "frame 0,0,126,84 black",
                                      "frame 126,0,587,433 black", "frame 0,84,126,433 black"}));
}

TEST(DiagramPaint, RotatedPartSwapsSizesAndMarks)
{
    PainterFixture f;
    f.project.parts.setCell(1, engine::PartCol::Thickness + 0, "1");
    f.project.parts.setCell(1, engine::PartCol::Thickness + 1, "x");  // unreadable: counts 0
    f.project.parts.setCell(1, engine::PartCol::Sign + 0, "=");
    f.project.parts.setCell(1, engine::PartCol::Sign + 1, "-");
    f.project.parts.setCell(1, engine::PartCol::Sign + 2, "+");
    RecordingCanvas c;
    DiagramState state;
    f.painter().paint(c, 1, 777, 434, state);
    const Calls texts = c.only("text");
    ASSERT_GE(texts.size(), 6U);
    EXPECT_EQ(texts[0], "text 48,1 600=-");
    EXPECT_EQ(texts[1], "text 1,42 399+");
    EXPECT_EQ(texts[3], "text 156,1 399+");  // the turned part: width across
    EXPECT_EQ(texts[4], "text 127,63 600=-");
}

TEST(DiagramPaint, OffcutSizeTextThreshold)
{
    PainterFixture f;
    f.project.result.elements.clear();
    f.project.result.groups = {{1, 1}};
    f.project.result.offcuts = {{1, 0, 0, 5000, 90}, {1, 0, 1000, 101, 1101}, {1, 0, 2000, 100, 2100}};
    RecordingCanvas c;
    DiagramState state;
    f.painter().paint(c, 0, 777, 434, state);
    // Only the one 10.1 mm wide and high gets its sizes (6.1 mm each: a kerf less).
    EXPECT_EQ(c.only("text"), (Calls{"text -8,24 6.1", "text 4,22 6.1"}));
}

TEST(DiagramPaint, NothingWithoutRowsOrGroups)
{
    PainterFixture f;
    f.project.result.groups.clear();
    RecordingCanvas c;
    DiagramState state;
    const auto out = f.painter().paint(c, 0, 100, 100, state);
    EXPECT_FALSE(out.drawn);
    EXPECT_EQ(c.calls, (Calls{"font Arial 8", "fill 0,0,100,100 white", "frame 0,0,100,100 black"}));

    f.project.sheets.clear();
    RecordingCanvas empty;
    f.painter().paint(empty, 0, 100, 100, state);
    EXPECT_TRUE(empty.calls.empty());
}

TEST(DiagramPaint, GroupKeptInRange)
{
    PainterFixture f;
    f.project.result.groups = {{1, 1}, {2, 3}};
    RecordingCanvas c;
    DiagramState state;
    const auto out = f.painter().paint(c, 7, 777, 434, state);
    EXPECT_EQ(out.group, 1);
    EXPECT_EQ(out.groupNumber, "2");
    EXPECT_EQ(out.caption, "Sheet 2800mm x 2070mm A=5.796 m\u00B2 (x3)");
    EXPECT_EQ(f.painter().paint(c, -3, 777, 434, state).group, 0);
}

TEST(DiagramHatch, LinesRiseFromLowerLeft)
{
    RecordingCanvas c;
    output::hatchRect(c, {10, 20, 40, 30}, 10);
    EXPECT_EQ(c.calls, (Calls{"pen black dotted", "line 10,20,10,20", "line 20,20,10,30", "line 30,20,20,30",
                              "line 40,20,30,30", "line 40,30,40,30", "pen black solid"}));
    RecordingCanvas zero;
    output::hatchRect(zero, {0, 0, 30, 30}, 0);  // would never end; taken as 30
    EXPECT_EQ(zero.only("line").size(), 3U);
}

TEST(DiagramPointer, PieceUnderThePointer)
{
    PainterFixture f;
    const engine::Project& p = f.project;
    EXPECT_EQ(output::pieceAt(p, 0, 777, 434, 300, 200), (PieceHit{PieceKind::Offcut, 0}));
    EXPECT_EQ(output::pieceAt(p, 0, 777, 434, 50, 50), (PieceHit{PieceKind::Part, 0}));
    EXPECT_EQ(output::pieceAt(p, 0, 777, 434, 126, 50), PieceHit{});  // on the shared edge
    EXPECT_EQ(output::pieceAt(p, 0, 777, 434, 700, 50), PieceHit{});  // beyond the sheet
    EXPECT_EQ(output::pieceAt(p, 1, 777, 434, 150, 300), (PieceHit{PieceKind::Offcut, 4}));
    EXPECT_EQ(output::pieceAt(p, 1, 777, 434, 150, 50), (PieceHit{PieceKind::Part, 2}));
}

TEST(DiagramPointer, MouseMoveHighlightsAndDescribes)
{
    PainterFixture f;
    const DiagramPainter p = f.painter();
    DiagramState state;
    RecordingCanvas c;
    auto text = p.mouseMove(c, 0, 777, 434, 300, 200, state);
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, "L:2196mm W:2070mm A=4.546 m\u00B2");
    EXPECT_EQ(state.pieceUnderPointer, 0);
    EXPECT_EQ(c.only("frame"),
              (Calls{"frame 126,0,587,433 red", "frame 0,84,126,433 black", "frame 0,0,126,84 black"}));

    // Still over the same offcut: its frame is left alone.
    RecordingCanvas again;
    p.mouseMove(again, 0, 777, 434, 301, 200, state);
    EXPECT_EQ(again.only("frame"), (Calls{"frame 0,84,126,433 black", "frame 0,0,126,84 black"}));

    // The selected offcut is shown blue.
    state.selectedOffcut = 1;
    RecordingCanvas blue;
    text = p.mouseMove(blue, 0, 777, 434, 50, 200, state);
    EXPECT_EQ(*text, "L:600mm W:1666mm A=1 m\u00B2");
    EXPECT_EQ(blue.only("frame")[1], "frame 0,84,126,433 blue");

    // Over a part: its size less the kerf; the piece under the pointer becomes -1.
    RecordingCanvas part;
    text = p.mouseMove(part, 0, 777, 434, 50, 50, state);
    EXPECT_EQ(*text, "L:600mm W:400mm A=0.24 m\u00B2");
    EXPECT_EQ(state.pieceUnderPointer, -1);
    EXPECT_EQ(part.only("frame").back(), "frame 0,0,126,84 red");
    state.selectedOffcut = -1;
    RecordingCanvas selectedPart;
    p.mouseMove(selectedPart, 0, 777, 434, 50, 50, state);
    EXPECT_EQ(selectedPart.only("frame").back(), "frame 0,0,126,84 blue");

    // Over nothing: no text.
    RecordingCanvas none;
    EXPECT_FALSE(p.mouseMove(none, 0, 777, 434, 700, 50, state));
}

} // namespace

namespace {

TEST(DiagramManualPreview, SheetPiecesAndStatus)
{
    engine::LanguageTable lang;
    lang.setText(34, "Yield: ");
    lang.setText(35, "Pieces: ");
    lang.setText(9, " of ");
    RecordingCanvas c;
    const std::vector<output::PreviewPiece> pieces = {{0, 0, 6040, 4040, 0}, {6040, 0, 4040, 6040, 1}};
    const auto status = output::paintManualPreview(c, "Arial", 28000, 20700, 777, 434, pieces,
                                                   28000LL * 20700 - 6040LL * 4040 * 2, 5, lang);
    EXPECT_EQ(c.calls, (Calls{"font Arial 8", "fill 0,0,587,433 white", "frame 0,0,587,433 black",
                              "fill 0,0,126,84 white", "frame 0,0,126,84 black", "text 5,5 1",
                              "fill 126,0,211,126 white", "frame 126,0,211,126 black", "text 131,5 2"}));
    EXPECT_EQ(status.yield, "Yield: 9 %");  // 100 - 530,796,800 / 5,796,000 in whole numbers
    EXPECT_EQ(status.pieces, "Pieces: 2 of 5");
}

} // namespace
