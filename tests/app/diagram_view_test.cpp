#include "app/diagram_view.h"

#include <string>
#include <vector>

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextEdit>

#include "app/main_form.h"
#include "app_fixture.h"
#include "engine/auto_run.h"
#include "engine/units.h"

using apptest::AppTest;
using engine::Offcut;
using engine::PlacedElement;

namespace {

// The layout page of a started program, in millimetres and square metres.
class DiagramPage : public AppTest {
protected:
    void startMm(const QStringList& args = {})
    {
        writeSettings({"iLang=Finished", "Jezik=English", "JedMere=0", "AreaStyle=2"});
        start(args);
    }

    [[nodiscard]] app::DiagramView& view() { return *main().findChild<app::DiagramView*>("Image5"); }
    [[nodiscard]] QWidget* page() { return main().findChild<QWidget*>("pag3"); }
    [[nodiscard]] QScrollBar* chooser() { return page()->findChild<QScrollBar*>("ScrollBar2"); }
    [[nodiscard]] QString label(const char* name) { return page()->findChild<QLabel*>(name)->text(); }

    void send(QEvent::Type type, int x, int y, Qt::MouseButton button)
    {
        const QPointF at(x, y);
        QMouseEvent e(type, at, view().mapToGlobal(at), button,
                      type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::MouseButtons(Qt::NoButton),
                      Qt::NoModifier);
        QApplication::sendEvent(&view(), &e);
    }
    void move(int x, int y) { send(QEvent::MouseMove, x, y, Qt::NoButton); }
    void click(int x, int y)
    {
        move(x, y);
        send(QEvent::MouseButtonPress, x, y, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, x, y, Qt::LeftButton);
    }
    [[nodiscard]] QColor pixel(int x, int y) { return view().image().pixelColor(x, y); }
    // Clicks the point of a 1000 x 500 mm sheet given in internal units, at
    // the view's present scale.
    void clickSheetPoint(int x, int y)
    {
        const float s = output::diagramScale(10000, 5000, view().width(), view().height());
        click(output::toPixel(x, s), output::toPixel(y, s));
    }

    // `sheets` stock sheets of 1000 x 500 mm and one part row of 399.6 x 499.6
    // mm (a 400 x 500 mm footprint with the 0.4 mm kerf), with this result;
    // shown as after a run, the drawing box 1000 x 500 pixels (10 internal
    // units, 1 mm, per pixel).
    void showResult(int sheets, const std::vector<PlacedElement>& elements, const std::vector<Offcut>& offcuts)
    {
        engine::Project& p = main().project();
        p.clearTables();
        p.clearResult();
        p.sheets.appendRow({"", "1000", "500", std::to_string(sheets), "board"});
        std::vector<std::string> part(engine::PartCol::Count);
        part[engine::PartCol::Len] = "399.6";
        part[engine::PartCol::Wid] = "499.6";
        part[engine::PartCol::Qty] = std::to_string(elements.size());
        part[engine::PartCol::Ini] = "A1";
        part[engine::PartCol::Rot] = "0";
        p.parts.appendRow(part);
        p.recomputeTotals();
        p.input = {};
        for (int k = 1; k <= sheets; ++k)
            p.input.sheets.push_back({10000, 5000, sheets, k, 1});
        p.input.parts.push_back({4000, 5000, static_cast<std::int32_t>(elements.size()), 1, 0});
        p.input.totalParts = static_cast<std::int64_t>(elements.size());
        p.result.elements = elements;
        p.result.offcuts = offcuts;
        main().ShowResults();
        main().refreshDiagram(true);
        view().resize(1000, 500);
        ASSERT_FALSE(view().image().isNull());
    }

    // One sheet: the part on the left, four offcuts on the right; A and B side
    // by side with the same top, 200 and 300 mm high.
    static constexpr Offcut kA{1, 4000, 0, 7000, 2000};
    static constexpr Offcut kB{1, 7000, 0, 10000, 3000};
    static constexpr Offcut kC{1, 4000, 2000, 7000, 5000};
    static constexpr Offcut kD{1, 7000, 3000, 10000, 5000};
    void showRecutExample() { showResult(1, {{1, 0, 0, 4000, 5000, 0, 1}}, {kA, kB, kC, kD}); }

    [[nodiscard]] std::string reportText() const
    {
        std::string all;
        for (const engine::RichLine& l : forms.main->project().report)
            all += l.text + "\n";
        return all;
    }

    [[nodiscard]] QString sizeLine(const char* w, const char* h, engine::Area area) const
    {
        return text(36) + w + "mm " + text(37) + h + "mm " + text(38) + "="
            + QString::fromStdString(engine::FormatArea(area, engine::AreaUnit::SquareMetre, true));
    }
};

const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kBlack(0, 0, 0);

} // namespace

TEST_F(DiagramPage, ControlStripAsDesigned)
{
    startMm();
    EXPECT_EQ(label("Label44"), "Duz: Vis: P:");
    EXPECT_EQ(label("Label39"), "1");
    EXPECT_EQ(chooser()->pageStep(), 10);
    auto* print = page()->findChild<QPushButton*>("BitBtn8");
    ASSERT_NE(print, nullptr);
    EXPECT_FALSE(print->isEnabled());
    EXPECT_EQ(print->text(), text(68));
}

TEST_F(DiagramPage, ExampleProjectGroupsFollowTheScrollBar)
{
    startMm({QString(VELMORA_SOURCE_DIR) + "/examples/kitchen.vlp"});
    const engine::AutoRunOutcome run = engine::runAutomatic(main().project(), main().settings());
    ASSERT_TRUE(run.status.ok());
    chooser()->setValue(0);
    main().refreshDiagram(true);
    main().ShowResults();
    const auto& groups = main().project().result.groups;
    const int count = static_cast<int>(groups.size());
    ASSERT_GE(count, 2);
    EXPECT_EQ(chooser()->minimum(), 0);
    EXPECT_EQ(chooser()->maximum(), count - 1);
    EXPECT_EQ(chooser()->value(), 0);
    EXPECT_EQ(label("Label39"), "1");
    EXPECT_TRUE(label("Label7").startsWith(text(70) + " "));
    EXPECT_TRUE(label("Label7").endsWith(QString("(x%1)").arg(groups[0].multiplicity)));

    const int before = view().fullPaints();
    chooser()->setValue(count - 1);
    EXPECT_EQ(view().group(), count - 1);
    EXPECT_EQ(label("Label39"), QString::number(count));
    EXPECT_TRUE(label("Label7").endsWith(QString("(x%1)").arg(groups.back().multiplicity)));
    view().ensureDrawn();
    EXPECT_EQ(view().fullPaints(), before + 1);

    // A new result goes back to the first group.
    main().refreshDiagram(true);
    EXPECT_EQ(chooser()->value(), 0);
    EXPECT_EQ(label("Label39"), "1");
}

TEST_F(DiagramPage, PointerOverAnOffcutOrAPart)
{
    startMm();
    showRecutExample();
    const int paints = view().fullPaints();
    EXPECT_EQ(pixel(400, 100), kBlack);

    move(550, 100);  // inside offcut A
    EXPECT_EQ(label("Label44"), sizeLine("299.6", "199.6", 2996 * 1996));
    EXPECT_EQ(view().state().pieceUnderPointer, 0);
    EXPECT_EQ(pixel(400, 100), kRed);   // its left side
    EXPECT_EQ(pixel(550, 199), kRed);   // its bottom
    EXPECT_EQ(pixel(700, 100), kBlack); // B's left side stays black

    move(850, 100);  // B reaches the right edge of the sheet: its full width
    EXPECT_EQ(label("Label44"), sizeLine("300", "299.6", 3000 * 2996));
    EXPECT_EQ(pixel(400, 100), kBlack);
    EXPECT_EQ(pixel(700, 100), kRed);

    move(200, 250);  // the part: its rectangle less one kerf
    EXPECT_EQ(label("Label44"), sizeLine("399.6", "499.6", std::int64_t{3996} * 4996));
    EXPECT_EQ(view().state().pieceUnderPointer, -1);
    EXPECT_EQ(pixel(399, 250), kRed);
    EXPECT_EQ(pixel(700, 100), kBlack);

    move(400, 100);  // on a frame line: inside no piece, the text stays
    EXPECT_EQ(label("Label44"), sizeLine("399.6", "499.6", std::int64_t{3996} * 4996));

    // Moving reframes on the kept image; nothing is drawn in full.
    EXPECT_EQ(view().fullPaints(), paints);
}

TEST_F(DiagramPage, TheSelectedOffcutIsFramedBlue)
{
    startMm();
    showRecutExample();
    click(550, 100);
    EXPECT_EQ(view().state().selectedOffcut, 0);
    move(850, 100);
    move(560, 110);
    EXPECT_EQ(pixel(400, 100), kBlue);
}

TEST_F(DiagramPage, TwoClicksRecutSideBySideOffcuts)
{
    startMm();
    showRecutExample();
    const std::string before = reportText();
    EXPECT_NE(before.find("300 x 200"), std::string::npos);
    EXPECT_EQ(before.find("600 x 200"), std::string::npos);
    const int paints = view().fullPaints();

    click(550, 100);
    EXPECT_EQ(view().state().selectedOffcut, 0);
    EXPECT_EQ(main().project().result.offcuts[0], kA);
    click(850, 100);

    // One offcut across both widths, 200 high, and one below it on the right, 100 high.
    const auto& offcuts = main().project().result.offcuts;
    ASSERT_EQ(offcuts.size(), 4U);
    EXPECT_EQ(offcuts[0], (Offcut{1, 4000, 0, 10000, 2000}));
    EXPECT_EQ(offcuts[1], (Offcut{1, 7000, 2000, 10000, 3000}));
    EXPECT_EQ(offcuts[2], kC);
    EXPECT_EQ(offcuts[3], kD);
    EXPECT_EQ(view().state().selectedOffcut, output::kNoSelection);

    const std::string after = reportText();
    EXPECT_NE(after.find("600 x 200"), std::string::npos);
    EXPECT_NE(after.find("300 x 100"), std::string::npos);
    // The report page shows the new list too.
    EXPECT_TRUE(main().pag4->RichEdit1->toPlainText().contains("600 x 200"));
    EXPECT_TRUE(main().pag4->RichEdit1->toPlainText().contains("300 x 100"));

    // Drawn again: the new offcut's bottom runs under the old B.
    move(850, 250);
    EXPECT_GT(view().fullPaints(), paints);
    EXPECT_EQ(label("Label44"), sizeLine("300", "99.6", 3000 * 996));
    EXPECT_EQ(pixel(850, 200), kRed);
}

TEST_F(DiagramPage, ClickingTheSameOffcutTwiceDeselects)
{
    startMm();
    showRecutExample();
    click(550, 100);
    EXPECT_EQ(view().state().selectedOffcut, 0);
    click(560, 120);
    EXPECT_EQ(view().state().selectedOffcut, output::kNoSelection);
    EXPECT_EQ(main().project().result.offcuts, (std::vector<Offcut>{kA, kB, kC, kD}));
}

TEST_F(DiagramPage, OffcutsTouchingAtACornerStayAsTheyAre)
{
    startMm();
    const Offcut a{1, 4000, 0, 7000, 2000};
    const Offcut corner{1, 7000, 2000, 10000, 5000};
    const Offcut below{1, 4000, 2000, 7000, 5000};
    const Offcut right{1, 7000, 0, 10000, 2000};
    showResult(1, {{1, 0, 0, 4000, 5000, 0, 1}}, {a, corner, below, right});
    const std::string report = reportText();
    click(550, 100);
    click(850, 350);
    EXPECT_EQ(main().project().result.offcuts, (std::vector<Offcut>{a, corner, below, right}));
    // Nothing happened, so the first click still counts.
    EXPECT_EQ(view().state().selectedOffcut, 0);
    EXPECT_EQ(reportText(), report);
}

TEST_F(DiagramPage, APartAndAnOffcutAreNotRecut)
{
    startMm();
    showRecutExample();
    click(200, 250);
    EXPECT_EQ(view().state().selectedOffcut, -1);
    click(550, 100);
    EXPECT_EQ(main().project().result.offcuts, (std::vector<Offcut>{kA, kB, kC, kD}));
}

TEST_F(DiagramPage, PrintDuplicateStepsThroughGroups)
{
    startMm();
    main().settings().PrintDuplicate = true;
    // Sheets 1 and 2 carry one part each (in other places), sheet 3 two parts.
    showResult(3,
               {{1, 0, 0, 4000, 5000, 0, 1}, {2, 6000, 0, 10000, 5000, 0, 1}, {3, 0, 0, 4000, 5000, 0, 1},
                {3, 4000, 0, 8000, 5000, 0, 1}},
               {});
    EXPECT_EQ(chooser()->maximum(), 1);
    EXPECT_TRUE(label("Label7").endsWith("(x2)"));
    chooser()->setValue(1);
    EXPECT_EQ(label("Label39"), "2");
    EXPECT_TRUE(label("Label7").endsWith("(x1)"));

    // Turning the setting off is seen at the next drawing: one group per sheet.
    main().settings().PrintDuplicate = false;
    view().ensureDrawn();
    EXPECT_EQ(chooser()->maximum(), 2);
    EXPECT_EQ(label("Label39"), "2");
    chooser()->setValue(0);
    EXPECT_TRUE(label("Label7").endsWith("(x1)"));
}

TEST_F(DiagramPage, SelectionOutlivesAResizeButNotAnotherDrawing)
{
    startMm();
    showResult(2, {{1, 0, 0, 4000, 5000, 0, 1}, {2, 0, 0, 4000, 5000, 0, 1}, {2, 4000, 0, 8000, 5000, 0, 1}},
               {kA, kB, kC, kD});
    click(550, 100);
    ASSERT_EQ(view().state().selectedOffcut, 0);

    // A new size draws everything at the new scale and keeps the first click.
    const int paints = view().fullPaints();
    view().resize(800, 400);
    view().ensureDrawn();
    EXPECT_EQ(view().fullPaints(), paints + 1);
    EXPECT_EQ(view().state().selectedOffcut, 0);

    // Other drawing settings: another drawing, no selection.
    main().settings().LayoutSrafura = 10;
    view().ensureDrawn();
    EXPECT_EQ(view().state().selectedOffcut, output::kNoSelection);

    // Entering the page clears it.
    clickSheetPoint(5500, 1000);
    ASSERT_EQ(view().state().selectedOffcut, 0);
    main().PageControl1->setCurrentWidget(main().findChild<QWidget*>("pag1"));
    main().PageControl1->setCurrentWidget(page());
    EXPECT_EQ(view().state().selectedOffcut, output::kNoSelection);

    // Another group clears it.
    clickSheetPoint(5500, 1000);
    ASSERT_EQ(view().state().selectedOffcut, 0);
    chooser()->setValue(1);
    EXPECT_EQ(view().state().selectedOffcut, output::kNoSelection);
}

TEST_F(DiagramPage, HatchSpacingComesFromTheSettings)
{
    startMm();
    showRecutExample();
    const auto blackInRow = [this](int y) {
        int n = 0;
        for (int x = 702; x < 998; ++x)
            n += pixel(x, y) == kBlack ? 1 : 0;
        return n;
    };
    main().settings().LayoutSrafura = 50;
    const int sparse = blackInRow(150);
    main().settings().LayoutSrafura = 5;
    const int dense = blackInRow(150);
    EXPECT_GT(dense, 3 * sparse);
}

TEST_F(DiagramPage, TwoHundredPartsOnOneSheet)
{
    startMm({QString(TEST_DATA_DIR) + "/app/many_parts.vlp"});
    ASSERT_TRUE(engine::runAutomatic(main().project(), main().settings()).status.ok());
    main().refreshDiagram(true);
    main().ShowResults();
    view().resize(1200, 900);
    const engine::Project& p = main().project();
    ASSERT_EQ(p.result.groups.size(), 1U);
    ASSERT_EQ(p.result.elements.size(), 200U);
    const float s = output::diagramScale(28000, 20700, 1200, 900);

    // Walking over all of them reframes on the kept image only.
    view().ensureDrawn();
    const int paints = view().fullPaints();
    for (const PlacedElement& e : p.result.elements) {
        const int x = output::toPixel((e.x + e.x1) / 2, s);
        const int y = output::toPixel(e.y + 5, s) + 1;
        move(x, y);
        ASSERT_EQ(view().state().pieceUnderPointer, -1);
        ASSERT_EQ(pixel(output::toPixel(e.x, s), y), kRed);
    }
    EXPECT_EQ(view().fullPaints(), paints);
    EXPECT_TRUE(label("Label44").startsWith(text(36)));
    // Every other part is framed black again, over any text that covered its corners.
    for (size_t i = 0; i + 1 < p.result.elements.size(); ++i) {
        const PlacedElement& e = p.result.elements[i];
        ASSERT_EQ(pixel(output::toPixel(e.x, s), output::toPixel(e.y, s)), kBlack) << e.x << "," << e.y;
        ASSERT_EQ(pixel(output::toPixel(e.x1, s) - 1, output::toPixel(e.y1, s) - 1), kBlack) << e.x << "," << e.y;
    }
}

TEST_F(DiagramPage, AnExposeCopiesUntilTheTablesChange)
{
    startMm();
    showRecutExample();
    (void)view().grab();  // the page's layout gives the view its size
    const int paints = view().fullPaints();
    (void)view().grab();
    EXPECT_EQ(view().fullPaints(), paints);
    // A label typed after the run is written on the next showing.
    main().project().parts.setCell(1, engine::PartCol::Ini, "B7");
    (void)view().grab();
    EXPECT_EQ(view().fullPaints(), paints + 1);
}
