#include <algorithm>
#include <new>

#include <QAction>
#include <QFontMetricsF>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QScrollBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include "app/command_check.h"
#include "app/main_form.h"
#include "app/progress_window.h"
#include "app_fixture.h"
#include "engine/auto_run.h"
#include "engine/deep_run.h"
#include "engine/rand31.h"
#include "engine/units.h"
#include "output/report_text.h"
#include "project/project_file.h"

using apptest::AppTest;
using Kind = app::Messenger::Kind;

namespace {

class AutomaticRun : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_TRUE(QFile::copy(QString(VELMORA_SOURCE_DIR) + "/data/Config/template.vlp",
                                home() + "Config/template.vlp"));
        // Every test starts like a fresh program run.
        engine::programRand31() = engine::Rand31{};
    }

    // Starts in English with 100 attempts per run.
    void startQuick()
    {
        writeSettings({"iLang=Finished", "Jezik=English", "autoparam=0"});
        start();
        showActive();
    }

    QLineEdit* f(const char* name) { return main().findChild<QLineEdit*>(name); }
    template <class T = QWidget>
    T* widget(const char* name) { return main().findChild<T*>(name); }

    // A row typed into the entry fields, taken with Enter in the quantity field.
    void typeSheet(const QString& len, const QString& wid, const QString& qty, const QString& descr = {})
    {
        f("Edit1")->setText(descr);
        f("Edit2")->setText(len);
        f("Edit3")->setText(wid);
        f("Edit4")->setText(qty);
        typeEnter(f("Edit4"), {});
    }
    void typePart(const QString& ini, const QString& len, const QString& wid, const QString& qty)
    {
        f("Edit5")->setText(ini);
        f("Edit6")->setText(len);
        f("Edit7")->setText(wid);
        f("Edit8")->setText(qty);
        typeEnter(f("Edit8"), {});
    }

    void typeKitchen()
    {
        typeSheet("280", "207", "2", "white");
        typeSheet("207", "122", "3", "oak");
        typePart("side", "72", "56", "9");
        typePart("shelf", "56", "40", "14");
        typePart("door", "71.6", "39.6", "11");
        typePart("rail", "120", "12", "6");
        typePart("top", "180", "60", "1");
    }

    bool tabShown(const char* page)
    {
        QTabWidget* tabs = main().PageControl1;
        return tabs->isTabVisible(tabs->indexOf(widget(page)));
    }

    bool shownText(const QString& t, Kind kind)
    {
        for (const auto& m : messages.shown)
            if (m.text == t && m.kind == kind)
                return true;
        return false;
    }

    engine::Project& project() { return main().project(); }
};

std::vector<std::vector<std::string>> rowsOf(const engine::TextTable& t)
{
    std::vector<std::vector<std::string>> rows;
    for (int r = 1; r <= t.rowCount(); ++r)
        rows.push_back(t.row(r));
    return rows;
}

QJsonArray cliArray(const QJsonObject& o, const char* key) { return o.value(key).toArray(); }

} // namespace

TEST_F(AutomaticRun, TypedProjectGivesTheCommandLineResult)
{
    startQuick();
    typeKitchen();
    ASSERT_EQ(project().partRowCount(), 5);
    const QString file = home() + "kitchen.vlp";
    ASSERT_TRUE(project_io::SaveProject(file.toStdString(), project(), main().settings(), home().toStdString()).ok());

    main().Button4Click();
    ASSERT_EQ(messages.shown.size(), 0u) << messages.shown[0].text.toStdString();
    const engine::CuttingResult& result = project().result;
    ASSERT_EQ(result.elements.size(), 41u);

    // The same input through the command line's own core calls: a fresh
    // generator, the default thread count.
    engine::Project cli;
    ASSERT_TRUE(project_io::OpenProject(file.toStdString(), false, cli, main().settings()).status.ok());
    engine::Rand31 rng;
    engine::AutoRunOptions options;
    options.rng = &rng;
    ASSERT_TRUE(engine::runAutomatic(cli, main().settings(), options).status.ok());
    EXPECT_EQ(result.elements, cli.result.elements);
    EXPECT_EQ(result.offcuts, cli.result.offcuts);
    EXPECT_EQ(rowsOf(project().sheets), rowsOf(cli.sheets));
    EXPECT_EQ(rowsOf(project().parts), rowsOf(cli.parts));
    // The program's generator went on where the run stopped.
    EXPECT_EQ(engine::programRand31(), rng);

    // And through the program itself.
    // The test program is built after velmora-cli (tests/CMakeLists.txt).
    const QString exe = QString(VELMORA_BIN_DIR) + "/velmora-cli";
    ASSERT_TRUE(QFile::exists(exe)) << exe.toStdString();
    {
        QProcess p;
        p.start(exe, {"optimize", file, "--json", "-", "--set", "autoparam=0"});
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        const QJsonObject j = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
        const QJsonArray elements = cliArray(j, "elements");
        ASSERT_EQ(elements.size(), static_cast<qsizetype>(result.elements.size()));
        for (qsizetype i = 0; i < elements.size(); ++i) {
            const QJsonObject e = elements[i].toObject();
            const engine::PlacedElement& w = result.elements[static_cast<size_t>(i)];
            EXPECT_EQ(e["tnb"].toInt(), w.tnb);
            EXPECT_EQ(e["x"].toInt(), w.x);
            EXPECT_EQ(e["y"].toInt(), w.y);
            EXPECT_EQ(e["x1"].toInt(), w.x1);
            EXPECT_EQ(e["y1"].toInt(), w.y1);
            EXPECT_EQ(e["rot"].toInt(), w.rot);
            EXPECT_EQ(e["enb"].toInt(), w.enb);
        }
        const QJsonArray offcuts = cliArray(j, "offcuts");
        ASSERT_EQ(offcuts.size(), static_cast<qsizetype>(result.offcuts.size()));
        for (qsizetype i = 0; i < offcuts.size(); ++i) {
            const QJsonObject o = offcuts[i].toObject();
            const engine::Offcut& w = result.offcuts[static_cast<size_t>(i)];
            EXPECT_EQ(QList<int>({o["tnb"].toInt(), o["x"].toInt(), o["y"].toInt(), o["x1"].toInt(), o["y1"].toInt()}),
                      QList<int>({w.tnb, w.x, w.y, w.x1, w.y1}));
        }
    }

    // A second run continues the sequence, as a second run of the core does.
    main().Button4Click();
    ASSERT_TRUE(engine::runAutomatic(cli, main().settings(), options).status.ok());
    EXPECT_EQ(project().result.elements, cli.result.elements);
    EXPECT_EQ(engine::programRand31(), rng);
}

TEST_F(AutomaticRun, CompleteResultSwitchesPagesAndCommands)
{
    startQuick();
    EXPECT_FALSE(widget<QAction>("Print1")->isEnabled());
    EXPECT_FALSE(widget("ToolButton8")->isEnabled());
    for (const char* value : {"Label34", "Label33", "Label32", "Label31", "Label30", "Label29", "Label41", "Label55"})
        EXPECT_EQ(widget<QLabel>(value)->text(), "---") << value;
    typeKitchen();
    main().Button4Click();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(tabShown("pag1"));
    EXPECT_TRUE(tabShown("pag3"));
    EXPECT_TRUE(tabShown("pag4"));
    EXPECT_FALSE(tabShown("pag2"));
    EXPECT_TRUE(widget("BitBtn15")->isEnabled());
    EXPECT_TRUE(widget("TableMinus")->isEnabled());
    // The print command has its handler and is enabled with a result.
    ASSERT_TRUE(app::hasCommandHandler(widget<QAction>("Print1")));
    EXPECT_TRUE(widget<QAction>("Print1")->isEnabled());
    EXPECT_TRUE(widget("ToolButton8")->isEnabled());
    EXPECT_TRUE(widget("BitBtn8")->isEnabled());
    // The report and bill boxes can be printed.
    EXPECT_TRUE(widget("Stampaj")->isEnabled());
    EXPECT_TRUE(widget("StampajCene")->isEnabled());
    EXPECT_EQ(widget<QLabel>("Label34")->text(), "41");
    EXPECT_EQ(widget<QLabel>("Label33")->text(), "41");
    EXPECT_TRUE(widget<QLabel>("Label26")->text().startsWith(text(53) + " ("));
    EXPECT_TRUE(widget<QLabel>("Label40")->text().startsWith(text(56) + " ("));
    // The tables show the order the run used: sheets by ascending area,
    // parts by descending area.
    EXPECT_EQ(project().sheets.cell(1, engine::SheetCol::Descr), "oak");
    EXPECT_EQ(project().parts.cell(1, engine::PartCol::Ini), "top");
    EXPECT_EQ(main().pag1->StringGrid1->model()->index(0, engine::SheetCol::Descr).data().toString(), "oak");
}

TEST_F(AutomaticRun, ANewRunShowsItsFirstLayout)
{
    startQuick();
    typeKitchen();
    main().Button4Click();
    auto* chooser = widget<QScrollBar>("ScrollBar2");
    ASSERT_GE(chooser->maximum(), 1);
    chooser->setValue(chooser->maximum());
    EXPECT_EQ(widget<QLabel>("Label39")->text(), QString::number(chooser->maximum() + 1));
    main().Button4Click();
    EXPECT_EQ(chooser->value(), 0);
    EXPECT_EQ(widget<QLabel>("Label39")->text(), "1");
    EXPECT_TRUE(widget<QLabel>("Label7")->text().startsWith(text(70) + " "));
}

TEST_F(AutomaticRun, EmptyTableGivesMessage19AndNothingMoves)
{
    startQuick();
    typeSheet("100", "100", "1", "big");
    typeSheet("50", "50", "1", "small");
    const engine::TextTable before = project().sheets;
    main().Button4Click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, text(19));
    EXPECT_EQ(messages.shown[0].kind, Kind::Error);
    EXPECT_EQ(messages.shown[0].at, main().messagePlace());
    EXPECT_EQ(rowsOf(project().sheets), rowsOf(before));
    EXPECT_EQ(main().pag1->StringGrid1->model()->index(0, engine::SheetCol::Descr).data().toString(), "big");
    EXPECT_FALSE(widget<QProgressBar>("Bar1") && widget<QProgressBar>("Bar1")->isVisible());
}

TEST_F(AutomaticRun, UnreadableRowNamesTheRow)
{
    startQuick();
    typeSheet("100", "100", "1");
    typeSheet("50", "50", "1");
    typePart("a", "10", "10", "1");
    project().sheets.setCell(2, engine::SheetCol::Qty, "x");
    main().Button4Click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, main().text(engine::Msg::SheetRowQtyUnreadable) + "\n2");
    EXPECT_TRUE(project().result.elements.empty());
}

TEST_F(AutomaticRun, PartLargerThanEverySheetGivesMessage20)
{
    startQuick();
    typeSheet("100", "80", "2");
    typePart("small", "20", "20", "2");
    typePart("huge", "300", "300", "1");
    const int current = main().PageControl1->currentIndex();
    main().Button4Click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, text(20));
    EXPECT_EQ(messages.shown[0].kind, Kind::Plain);
    EXPECT_FALSE(tabShown("pag3"));
    EXPECT_EQ(main().PageControl1->currentIndex(), current);
    EXPECT_FALSE(widget("BitBtn15")->isEnabled());
    EXPECT_FALSE(widget("TableMinus")->isEnabled());
    EXPECT_FALSE(widget<QAction>("Print1")->isEnabled());
    // The result is stored and reported all the same.
    EXPECT_EQ(project().result.elements.size(), 2u);
    EXPECT_EQ(widget<QLabel>("Label33")->text(), "2");
    EXPECT_GT(main().reportLineCount(), 1);
}

TEST_F(AutomaticRun, CancelLeavesProjectAndGeneratorAsTheyWere)
{
    startQuick();
    typeKitchen();
    main().Button4Click();
    ASSERT_TRUE(messages.shown.empty());
    // A larger part at the end leaves the part table unsorted again.
    typePart("big", "200", "100", "1");
    const engine::Project before = project();
    const engine::Rand31 rng = engine::programRand31();
    const QString report = main().pag4->RichEdit1->toPlainText();
    const QString bill = main().pag4->RichEdit2->toPlainText();

    app::TwndProgress* progress = main().progressWindow();
    int values = 0;
    bool modal = false;
    QString caption;
    QSize size;
    QPoint centre;
    int barMax = 0;
    QMetaObject::Connection c = QObject::connect(progress, &app::TwndProgress::barChanged, [&](int) {
        if (++values == 1) {
            modal = progress->isVisible() && progress->windowModality() == Qt::WindowModal
                && QApplication::activeModalWidget() == progress;
            caption = progress->windowTitle();
            size = progress->size();
            centre = progress->frameGeometry().center();
            barMax = progress->findChild<QProgressBar*>("Bar1")->maximum();
            progress->findChild<QPushButton*>("btnCancel")->click();
        }
    });
    main().Button4Click();
    QObject::disconnect(c);
    EXPECT_GE(values, 1);
    EXPECT_TRUE(modal);
    EXPECT_EQ(caption, text(17));
    EXPECT_EQ(size, QSize(235, 46));
    EXPECT_LE((centre - main().frameGeometry().center()).manhattanLength(), 2);
    EXPECT_EQ(barMax, 100);
    EXPECT_TRUE(progress->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(progress->isVisible());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(rowsOf(project().sheets), rowsOf(before.sheets));
    EXPECT_EQ(rowsOf(project().parts), rowsOf(before.parts));
    EXPECT_EQ(project().parts.cell(project().partRowCount(), engine::PartCol::Ini), "big");
    EXPECT_EQ(project().result.elements, before.result.elements);
    EXPECT_EQ(project().result.offcuts, before.result.offcuts);
    EXPECT_EQ(project().result.stats, before.result.stats);
    EXPECT_EQ(project().input.parts, before.input.parts);
    EXPECT_EQ(project().report, before.report);
    EXPECT_EQ(project().bill, before.bill);
    EXPECT_EQ(main().pag4->RichEdit1->toPlainText(), report);
    EXPECT_EQ(main().pag4->RichEdit2->toPlainText(), bill);
    EXPECT_EQ(engine::programRand31(), rng);

    // The next run is the run the cancelled one would have been.
    engine::Project core = project();
    engine::Rand31 coreRng = rng;
    engine::AutoRunOptions options;
    options.rng = &coreRng;
    ASSERT_TRUE(engine::runAutomatic(core, main().settings(), options).status.ok());
    main().Button4Click();
    EXPECT_EQ(project().result.elements, core.result.elements);
    EXPECT_EQ(engine::programRand31(), coreRng);
}

TEST_F(AutomaticRun, TenThousandPartsKeepTheWindowAlive)
{
    startQuick();
    typeSheet("280", "207", "400");
    typePart("a", "30", "20", "5000");
    typePart("b", "25", "15", "3000");
    typePart("c", "12", "10", "2000");
    app::TwndProgress* progress = main().progressWindow();
    std::vector<int> values;
    QObject::connect(progress, &app::TwndProgress::barChanged, progress, [&](int v) { values.push_back(v); });
    // A timer of the window's thread that fires only if events go on.
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ticks += progress->running() ? 1 : 0; });
    timer.start(1);
    main().Button4Click();
    timer.stop();
    EXPECT_TRUE(messages.shown.empty());
    ASSERT_GT(values.size(), 1u);
    EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
    EXPECT_EQ(values.back(), 99);
    EXPECT_GT(ticks, 0);
    EXPECT_EQ(project().result.elements.size(), 10000u);
}

TEST_F(AutomaticRun, ReportBoxesShowBoldAndSizes)
{
    startQuick();
    typeKitchen();
    main().Button4Click();
    QTextEdit* box = main().pag4->RichEdit1;
    const engine::RichText& report = project().report;
    ASSERT_EQ(box->document()->blockCount(), static_cast<int>(report.size()));
    const QFontMetricsF metrics(box->font());
    EXPECT_EQ(metrics.horizontalAdvance('i'), metrics.horizontalAdvance('W'));
    const double base = box->document()->defaultFont().pointSizeF();
    EXPECT_EQ(base, main().settings().StatFontSize);
    int boldLines = 0;
    QTextBlock b = box->document()->begin();
    for (size_t i = 0; i < report.size(); ++i, b = b.next()) {
        ASSERT_TRUE(b.isValid());
        EXPECT_EQ(b.text().toStdString(), report[i].text);
        if (b.text().isEmpty())
            continue;
        const QTextCharFormat fmt = b.begin().fragment().charFormat();
        EXPECT_EQ(fmt.fontWeight() == QFont::Bold, output::boldInEffect(report, i)) << i;
        EXPECT_EQ(fmt.fontPointSize(), base + report[i].sizeDelta) << i;
        boldLines += fmt.fontWeight() == QFont::Bold ? 1 : 0;
    }
    EXPECT_GT(boldLines, 0);
    EXPECT_EQ(report[0].sizeDelta, 3);
    EXPECT_EQ(main().pag4->RichEdit2->toPlainText().toStdString() + "\n", output::toPlainText(project().bill));

    // The clear buttons empty their box until the next refresh.
    widget<QToolButton>("ObrisiIzvestaj")->click();
    EXPECT_TRUE(box->document()->isEmpty());
    EXPECT_EQ(main().reportLineCount(), 1);
    EXPECT_FALSE(main().pag4->RichEdit2->document()->isEmpty());
    widget<QToolButton>("BitBtn19")->click();
    EXPECT_TRUE(main().pag4->RichEdit2->document()->isEmpty());
    main().applyReportFont();
    EXPECT_TRUE(box->document()->isEmpty());
    main().ShowResults();
    EXPECT_EQ(box->document()->blockCount(), static_cast<int>(report.size()));
    EXPECT_FALSE(main().pag4->RichEdit2->document()->isEmpty());
}

TEST_F(AutomaticRun, GoodOffcutsOncePerResult)
{
    startQuick();
    typeSheet("100.04", "80", "1");
    typePart("a", "60", "50", "1");
    main().Button4Click();
    ASSERT_TRUE(messages.shown.empty());
    ASSERT_TRUE(widget("BitBtn15")->isEnabled());
    // The rows an offcut gives: its size less one kerf on each side that
    // still needs a cut, kept when both reach the minimum (6 mm).
    std::vector<std::vector<std::string>> expected = rowsOf(project().sheets);
    for (const engine::Offcut& o : project().result.offcuts) {
        const int len = o.x1 - o.x - (o.x1 == 10004 ? 0 : 4);
        const int wid = o.y1 - o.y - (o.y1 == 8000 ? 0 : 4);
        if (len >= 60 && wid >= 60)
            expected.push_back({"", engine::FormatLength(len, main().unit()), engine::FormatLength(wid, main().unit()),
                                "1", main().language().text(21)});
    }
    ASSERT_EQ(project().result.offcuts.size(), 2u);
    ASSERT_GT(expected.size(), 1u);
    QTest::mouseClick(widget("BitBtn15"), Qt::LeftButton);
    EXPECT_EQ(rowsOf(project().sheets), expected);
    EXPECT_EQ(main().pag1->StringGrid1->model()->rowCount(), static_cast<int>(expected.size()));
    EXPECT_FALSE(widget("BitBtn15")->isEnabled());
    // Run again by hand: refused, nothing added.
    main().BitBtn15Click();
    EXPECT_EQ(rowsOf(project().sheets), expected);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, main().text(engine::Msg::ResultCommandUsed));
    // A new result offers it again.
    messages.shown.clear();
    main().Button4Click();
    EXPECT_TRUE(widget("BitBtn15")->isEnabled());
}

TEST_F(AutomaticRun, SheetSubtractionOncePerResult)
{
    startQuick();
    typeSheet("50", "50", "2", "unused");
    typeSheet("100.04", "80", "1", "first");
    typeSheet("100.04", "80", "5", "second");
    typePart("a", "100", "50", "3");
    main().Button4Click();
    ASSERT_TRUE(messages.shown.empty());
    // Three sheets used: the first row goes to 0 and away, the second 5 -> 3.
    QTest::mouseClick(widget("TableMinus"), Qt::LeftButton);
    ASSERT_EQ(project().sheetRowCount(), 2);
    EXPECT_EQ(project().sheets.row(1), (std::vector<std::string>{"", "50", "50", "2", "unused"}));
    EXPECT_EQ(project().sheets.row(2), (std::vector<std::string>{"", "100.04", "80", "3", "second"}));
    EXPECT_EQ(main().pag1->StringGrid1->model()->rowCount(), 2);
    // The caption counts the sheets the table holds now, not the ones cut.
    EXPECT_EQ(widget<QLabel>("Label15")->text(), text(130) + " (5)");
    EXPECT_FALSE(widget("TableMinus")->isEnabled());
    main().TableMinusClick();
    EXPECT_EQ(project().sheets.row(2)[engine::SheetCol::Qty], "3");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, main().text(engine::Msg::ResultCommandUsed));
}

TEST_F(AutomaticRun, WorkThatFailsIsReportedNotTakenAsDone)
{
    startQuick();
    app::TwndProgress* window = main().progressWindow();
    const bool done = window->run(&main(), "run", "Cancel", [](const std::atomic<bool>&, const auto&) {
        throw std::bad_alloc();
    });
    EXPECT_FALSE(done);
    EXPECT_TRUE(window->failed());
    EXPECT_FALSE(window->running());
    EXPECT_TRUE(window->run(&main(), "run", "Cancel", [](const std::atomic<bool>&, const auto& progress) {
        progress(50);
    }));
    EXPECT_FALSE(window->failed());
    EXPECT_FALSE(text(182).isEmpty());
}

TEST_F(AutomaticRun, DeepSettingAddsTheDeepPhase)
{
    startQuick();
    typeKitchen();
    main().settings().DeepOpt = true;
    engine::Project core = project();
    engine::Rand31 coreRng = engine::programRand31();

    app::TwndProgress* progress = main().progressWindow();
    QStringList captions;
    QMetaObject::Connection c = QObject::connect(progress, &app::TwndProgress::barChanged, [&](int) {
        if (!captions.contains(progress->windowTitle()))
            captions.push_back(progress->windowTitle());
    });
    main().Button4Click();
    QObject::disconnect(c);
    ASSERT_TRUE(messages.shown.empty());
    EXPECT_EQ(captions, QStringList({text(17), text(525)}));

    // The same plan as the core's deep run from the same generator.
    engine::DeepRunOptions options;
    options.automatic.rng = &coreRng;
    const engine::DeepRunOutcome o = engine::runDeep(core, main().settings(), options);
    ASSERT_TRUE(o.automatic.status.ok());
    EXPECT_EQ(project().result.elements, core.result.elements);
    EXPECT_EQ(project().result.offcuts, core.result.offcuts);
    EXPECT_EQ(project().result.method, core.result.method);
    EXPECT_NE(project().result.method, engine::ResultMethod::Automatic);
    EXPECT_TRUE(main().pag4->RichEdit1->toPlainText().contains(text(521)));
}

TEST_F(AutomaticRun, CancelInTheDeepPhaseKeepsTheAutomaticResult)
{
    startQuick();
    typeKitchen();
    main().settings().DeepOpt = true;
    engine::Project core = project();
    engine::Rand31 coreRng = engine::programRand31();
    engine::AutoRunOptions options;
    options.rng = &coreRng;
    ASSERT_TRUE(engine::runAutomatic(core, main().settings(), options).status.ok());

    app::TwndProgress* progress = main().progressWindow();
    bool clicked = false;
    QMetaObject::Connection c = QObject::connect(progress, &app::TwndProgress::barChanged, [&](int) {
        if (!clicked && progress->windowTitle() == text(525)) {
            clicked = true;
            progress->findChild<QPushButton*>("btnCancel")->click();
        }
    });
    main().Button4Click();
    QObject::disconnect(c);
    EXPECT_TRUE(clicked);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(project().result.elements, core.result.elements);
    EXPECT_EQ(project().result.offcuts, core.result.offcuts);
    EXPECT_EQ(project().result.method, engine::ResultMethod::Automatic);
    EXPECT_EQ(engine::programRand31(), coreRng);
    EXPECT_FALSE(main().pag4->RichEdit1->toPlainText().contains(text(521)));
}
