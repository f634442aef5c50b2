// The engine headers come before Qt's, whose keyword macros they would meet.
#include "engine/log3.h"
#include "engine/manual_session.h"
#include "engine/units.h"

#include <QAction>
#include <QFrame>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QSoundEffect>
#include <QTabWidget>
#include <QTimer>

#include "app/archive_page.h"
#include "app/input_page.h"
#include "app/main_form.h"
#include "app/main_menus.h"
#include "app/manual_page.h"
#include "app_fixture.h"

using apptest::AppTest;

namespace {

const QString kExample = QString(VELMORA_SOURCE_DIR) + "/examples/kitchen.vlp";

class ManualMode : public AppTest {
protected:
    void startWith(const QString& project)
    {
        start();
        ASSERT_TRUE(main().openProjectFile(project));
        messages.shown.clear();
    }

    app::ManualPage& page() { return *main().pag2; }
    engine::Project& project() { return main().project(); }

    bool tabShown(QWidget* w)
    {
        QTabWidget* tabs = main().PageControl1;
        return tabs->isTabVisible(tabs->indexOf(w));
    }

    // Start with the given Alpha, to the end of the search.
    void search(const QString& alpha)
    {
        page().Edit13->setText(alpha);
        page().BitBtn5->click();
        page().waitForSearch();
    }

    bool messageStarts(engine::Msg m)
    {
        const QString t = main().text(m);
        for (const auto& s : messages.shown)
            if (s.text.startsWith(t))
                return true;
        return false;
    }

    // Three sheets 100 x 80 and parts 49.9 x 39.9 (four to a sheet) in the
    // program's unit, typed in.
    void threeSheetProject(int parts)
    {
        start();
        showActive();
        main().pag1->Edit2->setText("100");
        main().pag1->Edit3->setText("80");
        main().pag1->Edit4->setText("3");
        typeEnter(main().pag1->Edit4, {});
        main().pag1->Edit5->setText("p");
        main().pag1->Edit6->setText("49.9");
        main().pag1->Edit7->setText("39.9");
        main().pag1->Edit8->setText(QString::number(parts));
        typeEnter(main().pag1->Edit8, {});
        ASSERT_EQ(project().partRowCount(), 1);
    }
};

} // namespace

TEST_F(ManualMode, EnteringShowsTheFirstSheetAndLocksTheTableCommands)
{
    startWith(kExample);
    app::MainMenus& m = main().menus();
    ASSERT_TRUE(m.Ucitaj1->isEnabled());
    main().pag1->Button1->click();
    ASSERT_TRUE(messages.shown.empty()) << messages.shown[0].text.toStdString();
    ASSERT_TRUE(page().active());
    EXPECT_TRUE(tabShown(&page()));
    EXPECT_FALSE(tabShown(main().pag1));
    EXPECT_EQ(main().PageControl1->currentWidget(), &page());
    // The only page shown.
    for (int i = 0; i < main().PageControl1->count(); ++i)
        EXPECT_EQ(main().PageControl1->isTabVisible(i), main().PageControl1->widget(i) == &page()) << i;

    const engine::ManualSession& s = *page().session();
    const engine::SheetInstance& sheet = s.currentSheetInstance();
    EXPECT_EQ(page().Label37->text(), QString::number(s.currentSheet()));
    EXPECT_EQ(s.currentSheet(), 1);
    const QString size = QString::fromStdString(engine::FormatLength(sheet.len, main().unit()) + " x " +
                                                engine::FormatLength(sheet.wid, main().unit()));
    EXPECT_EQ(page().Label38->text(), size);
    EXPECT_EQ(page().Label36->text(), main().text(59));

    // Nothing may change the tables under the session.
    for (QAction* a : {m.Pocninovo1, m.Ucitaj1, m.Dodaj1, m.fromXML, m.fromExcel, m.Settings1, m.Print1})
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    for (QAction* a : m.recentItems())
        EXPECT_FALSE(a->isEnabled());
    EXPECT_FALSE(main().pag1->Button4->isEnabled());
    EXPECT_TRUE(m.Exit1->isEnabled());
    EXPECT_FALSE(page().BitBtn7->isEnabled());

    page().PrekiniClick();
    EXPECT_FALSE(page().active());
    EXPECT_TRUE(tabShown(main().pag1));
    EXPECT_FALSE(tabShown(&page()));
    EXPECT_TRUE(tabShown(main().Arhiva));
    for (QAction* a : {m.Pocninovo1, m.Ucitaj1, m.Dodaj1, m.fromXML, m.Settings1})
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_TRUE(main().pag1->Button4->isEnabled());
}

TEST_F(ManualMode, SearchOffersTheCandidatesOfTheCoreSession)
{
    startWith(kExample);
    engine::Project copy = project();
    main().pag1->Button1->click();
    search("0.01");
    ASSERT_TRUE(messages.shown.empty()) << messages.shown[0].text.toStdString();

    engine::log3 engineCopy;
    engine::ManualSession core(copy, engineCopy);
    ASSERT_TRUE(core.enter(main().settings()).ok());
    ASSERT_TRUE(core.start("0.01", "92", main().settings().manparam).ok());

    const engine::ManualSession& s = *page().session();
    ASSERT_EQ(s.candidates(), core.candidates());
    ASSERT_GT(s.sliderMax(), 0);
    EXPECT_EQ(page().ScrollBar1->maximum(), s.sliderMax());
    for (int k = 0; k <= s.sliderMax(); ++k)
        EXPECT_EQ(s.candidatePieces(k), core.candidatePieces(k)) << k;
    EXPECT_EQ(s.lastSearch().known, core.lastSearch().known);

    // The status bar: known blocks, time, the end of the search.
    EXPECT_EQ(page().statusText(2), main().text(engine::Msg::ManualKnownPrefix) + QString::number(s.lastSearch().known));
    EXPECT_TRUE(page().statusText(3).startsWith("T(0:0:")) << page().statusText(3).toStdString();
    EXPECT_EQ(page().statusText(4), main().text(engine::Msg::ManualSheetDone));
    EXPECT_TRUE(page().BitBtn7->isEnabled());
    EXPECT_TRUE(page().Panel3->isVisibleTo(&page()));

    // The preview paints the candidate and fills the first two panels.
    page().Image3->resize(400, 300);
    (void)page().Image3->grab();
    EXPECT_FALSE(page().statusText(0).isEmpty());
    EXPECT_TRUE(page().statusText(1).contains(QString::number(s.candidates()[0].parts)));
    // A slider move hides the notice and shows its position.
    page().ScrollBar1->setValue(1);
    EXPECT_FALSE(page().Panel3->isVisibleTo(&page()));
    EXPECT_EQ(page().Edit14->text(), "1");
}

TEST_F(ManualMode, AcceptingPositionZeroToTheEndGivesTheCommandLineResult)
{
    startWith(kExample);
    main().pag1->Button1->click();
    int sheets = 0;
    while (page().active() && sheets < 50) {
        search("0.01");
        ASSERT_TRUE(page().BitBtn7->isEnabled());
        page().BitBtn7->click();
        ++sheets;
    }
    ASSERT_FALSE(page().active());
    EXPECT_TRUE(tabShown(main().pag1));
    EXPECT_FALSE(tabShown(&page()));
    EXPECT_TRUE(main().resultPageVisible());
    const engine::CuttingResult& result = project().result;
    ASSERT_FALSE(result.elements.empty());

    const QString exe = QString(VELMORA_BIN_DIR) + "/velmora-cli";
    ASSERT_TRUE(QFile::exists(exe));
    QProcess p;
    p.start(exe, {"manual", kExample, "--alpha", "0.01", "--pick", "0", "--json", "-"});
    ASSERT_TRUE(p.waitForFinished(120000));
    const QJsonObject j = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    const QJsonArray elements = j.value("elements").toArray();
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
    }
    const QJsonArray offcuts = j.value("offcuts").toArray();
    ASSERT_EQ(offcuts.size(), static_cast<qsizetype>(result.offcuts.size()));
    for (qsizetype i = 0; i < offcuts.size(); ++i) {
        const QJsonObject o = offcuts[i].toObject();
        const engine::Offcut& w = result.offcuts[static_cast<size_t>(i)];
        EXPECT_EQ(o["tnb"].toInt(), w.tnb);
        EXPECT_EQ(o["x"].toInt(), w.x);
        EXPECT_EQ(o["y"].toInt(), w.y);
        EXPECT_EQ(o["x1"].toInt(), w.x1);
        EXPECT_EQ(o["y1"].toInt(), w.y1);
    }
}

TEST_F(ManualMode, StopEndsTheSearchAfterItsGeneration)
{
    startWith(kExample);
    engine::Project copy = project();
    main().pag1->Button1->click();
    page().Edit13->setText("0.05");
    page().BitBtn5->click();
    ASSERT_TRUE(page().searching());
    // No second search while one runs, and the sheet cannot be left.
    EXPECT_FALSE(page().BitBtn5->isEnabled());
    EXPECT_FALSE(page().Prekini->isEnabled());
    EXPECT_TRUE(page().BitBtn6->isEnabled());
    page().BitBtn5Click();
    page().BitBtn6->click();
    page().waitForSearch();
    const engine::ManualSearchStats& stopped = page().session()->lastSearch();

    engine::log3 engineCopy;
    engine::ManualSession core(copy, engineCopy);
    ASSERT_TRUE(core.enter(main().settings()).ok());
    ASSERT_TRUE(core.start("0.05", "92", main().settings().manparam).ok());
    ASSERT_GT(core.lastSearch().generations, 3u);

    EXPECT_EQ(stopped.end, engine::SearchEnd::Stopped);
    EXPECT_LT(stopped.generations, core.lastSearch().generations);
    EXPECT_EQ(page().statusText(4), main().text(engine::Msg::ManualSheetStopped));
    EXPECT_TRUE(page().BitBtn7->isEnabled());
    EXPECT_TRUE(page().BitBtn5->isEnabled());
    // A new search runs to its end again.
    search("0.05");
    EXPECT_EQ(page().session()->lastSearch().generations, core.lastSearch().generations);
}

TEST_F(ManualMode, AcceptedLayoutIsRepeatedOnIdenticalSheets)
{
    threeSheetProject(12);
    main().pag1->Button1->click();
    ASSERT_TRUE(page().active()) << (messages.shown.empty() ? "" : messages.shown[0].text.toStdString());
    search("0.01");
    ASSERT_EQ(page().session()->candidates()[0].parts, 4u);
    page().BitBtn7->click();
    EXPECT_FALSE(page().active());
    EXPECT_TRUE(messageStarts(engine::Msg::ManualLastSheet));
    const engine::CuttingResult& r = project().result;
    ASSERT_EQ(r.elements.size(), 12u);
    for (int sheet = 2; sheet <= 3; ++sheet)
        for (std::size_t i = 0; i < 4; ++i) {
            engine::PlacedElement e = r.elements[i];
            e.tnb = sheet;
            EXPECT_EQ(r.elements[static_cast<std::size_t>(sheet - 1) * 4 + i], e);
        }
}

TEST_F(ManualMode, WithoutDuplicationEachSheetGetsItsOwnSearch)
{
    threeSheetProject(12);
    main().settings().ManualDuplicate = false;
    main().pag1->Button1->click();
    search("0.01");
    page().BitBtn7->click();
    ASSERT_TRUE(page().active());
    EXPECT_EQ(page().session()->currentSheet(), 2);
    EXPECT_EQ(page().Label37->text(), "2");
    EXPECT_FALSE(page().BitBtn7->isEnabled());
    EXPECT_EQ(project().result.elements.size(), 4u);
}

TEST_F(ManualMode, AbandonedSheetsAreNotActedUpon)
{
    threeSheetProject(12);
    main().settings().ManualDuplicate = false;
    main().pag1->Button1->click();
    search("0.01");
    page().BitBtn7->click();
    ASSERT_TRUE(page().active());
    page().Prekini->click();
    EXPECT_FALSE(page().active());
    EXPECT_FALSE(main().resultPageVisible());
    EXPECT_EQ(page().Edit13->text(), "0.001");
    // No print, offcuts or subtraction of the hidden sheets, and nothing of
    // them is saved.
    EXPECT_TRUE(project().result.elements.empty());
    EXPECT_TRUE(project().result.offcuts.empty());
    EXPECT_FALSE(main().menus().Print1->isEnabled());
    EXPECT_FALSE(main().pag1->BitBtn15->isEnabled());
    EXPECT_FALSE(main().pag1->TableMinus->isEnabled());
}

TEST_F(ManualMode, FieldsThatAreNotNumbersAreNamedAndNothingRuns)
{
    startWith(kExample);
    main().pag1->Button1->click();
    page().Edit13->setText("0,0x1");
    page().BitBtn5->click();
    EXPECT_FALSE(page().searching());
    EXPECT_TRUE(messageStarts(engine::Msg::ManualAlphaNotANumber));
    EXPECT_TRUE(page().session()->candidates().empty());
    messages.shown.clear();
    page().Edit13->setText("0.01");
    page().Edit15->setText("9.2");
    page().BitBtn5->click();
    EXPECT_FALSE(page().searching());
    EXPECT_TRUE(messageStarts(engine::Msg::ManualPiNotAPercent));
    EXPECT_TRUE(page().session()->candidates().empty());
    // The Alpha steps.
    page().Edit13->setText("0.001");
    page().BitBtn14->click();
    page().BitBtn13->click();
    page().BitBtn12->click();
    EXPECT_EQ(page().Edit13->text(), "0.017");
}

TEST_F(ManualMode, NoticeGoesOnTheSecondTickOrAClick)
{
    startWith(kExample);
    main().pag1->Button1->click();
    search("0.01");
    ASSERT_TRUE(page().Panel3->isVisibleTo(&page()));
    EXPECT_TRUE(page().Timer1->isActive());
    page().Timer1Timer();
    EXPECT_TRUE(page().Panel3->isVisibleTo(&page()));
    page().Timer1Timer();
    EXPECT_FALSE(page().Panel3->isVisibleTo(&page()));
    EXPECT_FALSE(page().Timer1->isActive());

    search("0.01");
    ASSERT_TRUE(page().Panel3->isVisibleTo(&page()));
    QTest::mouseClick(page().Panel3, Qt::LeftButton);
    EXPECT_FALSE(page().Panel3->isVisibleTo(&page()));
}

// The tests run with no sound device: playing must neither hang nor crash,
// and a file that cannot be played switches the sound off with message 8.
TEST_F(ManualMode, MissingSoundFileSwitchesTheSoundOff)
{
    start();
    main().settings().Zvuk = true;
    main().settings().SoundPath = (home() + "none.wav").toStdString();  // and no sound.wav in the program folder
    page().playFinishedSound();
    EXPECT_FALSE(main().settings().Zvuk);
    EXPECT_TRUE(messageStarts(engine::Msg::SoundCannotPlay));
}

TEST_F(ManualMode, SoundFileThatIsNoWaveIsReported)
{
    start();
    QFile bad(home() + "bad.wav");
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("this is not a wave file\n");
    bad.close();
    main().settings().Zvuk = true;
    main().settings().SoundPath = bad.fileName().toStdString();
    page().playFinishedSound();
    QTRY_VERIFY_WITH_TIMEOUT(!main().settings().Zvuk, 10000);
    EXPECT_TRUE(messageStarts(engine::Msg::SoundCannotPlay));
}

TEST_F(ManualMode, ShippedSoundLoadsAndPlaysWithoutADevice)
{
    start();
    main().settings().Zvuk = true;
    main().settings().SoundPath = (home() + "none.wav").toStdString();
    // The program folder's own sound.wav is the fallback.
    ASSERT_TRUE(QFile::copy(QString(VELMORA_SOURCE_DIR) + "/data/sound.wav", home() + "sound.wav"));
    page().playFinishedSound();
    ASSERT_NE(page().soundEffect(), nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(page().soundEffect()->status() == QSoundEffect::Ready ||
                                 page().soundEffect()->status() == QSoundEffect::Error,
                             10000);
    EXPECT_EQ(page().soundEffect()->status(), QSoundEffect::Ready);
    EXPECT_TRUE(main().settings().Zvuk);
    EXPECT_TRUE(messages.shown.empty());
    // Again, now from the loaded sound.
    page().playFinishedSound();
    QTest::qWait(200);
    EXPECT_EQ(page().soundAttempts(), 2);
}

TEST_F(ManualMode, SearchLimitFromTheSettingsEndsWhenTheListIsFull)
{
    startWith(kExample);
    main().settings().manparam = 0;  // 20000 blocks
    main().pag1->Button1->click();
    search("0.05");
    const engine::ManualSession& s = *page().session();
    EXPECT_EQ(s.lastSearch().end, engine::SearchEnd::KnownListFull);
    EXPECT_EQ(s.lastSearch().known, 20000u);
    EXPECT_EQ(page().statusText(4), main().text(engine::Msg::ManualKnownListFull));
    EXPECT_TRUE(page().BitBtn7->isEnabled());
    // With the larger limit the same search goes on past it.
    main().settings().manparam = 2;
    search("0.05");
    EXPECT_GT(page().session()->lastSearch().known, 20000u);
}
