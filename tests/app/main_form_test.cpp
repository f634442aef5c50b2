#include <QAction>
#include <QMenu>
#include <QTabWidget>
#include <QTableView>
#include <QLineEdit>

#include "app/bands_dialog.h"
#include "app/main_form.h"
#include "app/settings_dialog.h"
#include "app_fixture.h"
#include "engine/settings_edit.h"

#include <QLabel>
#include <QRadioButton>

using apptest::AppTest;

namespace {

class MainWindow : public AppTest {
protected:
    bool tabShown(const char* page)
    {
        QTabWidget* tabs = main().PageControl1;
        return tabs->isTabVisible(tabs->indexOf(main().findChild<QWidget*>(page)));
    }
};

} // namespace

TEST_F(MainWindow, FirstStartWritesEveryDefault)
{
    start({}, false);
    EXPECT_EQ(main().languageName(), "Srpski");
    EXPECT_EQ(stored("iLang"), "Finished");
    EXPECT_EQ(stored("Testera"), "4");
    EXPECT_EQ(stored("SoundPath"), home() + "sound.wav");
    EXPECT_EQ(stored("ProjectPath"), home() + "Projects/");
    EXPECT_EQ(main().windowTitle(), "Velmora Pro - " + text(248));
    EXPECT_TRUE(tabShown("pag1"));
    EXPECT_FALSE(tabShown("pag2"));
    EXPECT_FALSE(tabShown("pag3"));
    EXPECT_TRUE(tabShown("pag4"));
    EXPECT_TRUE(tabShown("Arhiva"));
    EXPECT_EQ(main().pos(), QPoint(10, 10));
    EXPECT_EQ(main().size(), QSize(795, 590));
    EXPECT_TRUE(messages.shown.empty());
    // The dialogs exist, in their order after the main window.
    EXPECT_NE(forms.settings, nullptr);
    EXPECT_NE(forms.about, nullptr);
    EXPECT_NE(forms.bands, nullptr);
}

TEST_F(MainWindow, InstallerLanguageIsTakenOnce)
{
    writeSettings({"iLang=U.S. English"});
    start({}, false);
    EXPECT_EQ(main().languageName(), "English");
    EXPECT_EQ(stored("iLang"), "Finished");
    EXPECT_EQ(main().findChild<QMenu*>("File1")->title(), text(74));
}

TEST_F(MainWindow, MissingLanguageFileStopsTheStart)
{
    writeSettings({"iLang=Finished", "Jezik=Klingon"});
    forms = app::createForms({home().toStdString(), settingsFile(), {}});
    EXPECT_TRUE(forms.main->startError().contains(home() + "Lang/Klingon.vll"));
    EXPECT_EQ(forms.settings, nullptr);
}

TEST_F(MainWindow, BrokenStoredValueIsNamedAndDefaulted)
{
    writeSettings({"iLang=Finished", "Jezik=English", "JedMere=abc", "Testera=12", "autoparam=7"});
    start();
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_TRUE(messages.shown[0].text.contains("JedMere"));
    EXPECT_TRUE(messages.shown[1].text.contains("autoparam"));
    EXPECT_EQ(main().settings().JedMere, 1);
    EXPECT_EQ(main().settings().autoparam, 2);
    EXPECT_EQ(main().settings().Testera, 12);
}

TEST_F(MainWindow, CloseWritesTheSettingsAndExitDoesNot)
{
    start();
    main().settings().Testera = 33;
    main().move(50, 60);
    main().Exit1Click();
    EXPECT_EQ(stored("Testera"), "4");
    forms = {};

    start();
    EXPECT_EQ(main().settings().Testera, 4);
    main().settings().Testera = 33;
    main().settings().CompanyName = "Oak & Co";
    main().show();
    main().move(50, 60);
    main().close();
    EXPECT_EQ(stored("Testera"), "33");
    EXPECT_EQ(stored("Jezik"), "English");
    EXPECT_EQ(stored("frmstate"), "0");
    forms = {};

    start();
    EXPECT_EQ(main().settings().Testera, 33);
    EXPECT_EQ(main().settings().CompanyName, "Oak & Co");
}

TEST_F(MainWindow, WindowPlacementIsRestored)
{
    writeSettings({"iLang=Finished", "Jezik=English", "frmleft=30", "frmtop=40", "frmwidth=900", "frmheight=100"});
    start();
    EXPECT_EQ(main().pos(), QPoint(30, 40));
    EXPECT_EQ(main().size(), QSize(900, 590));
    forms = {};
    writeSettings({"iLang=Finished", "Jezik=English", "frmleft=30", "frmtop=40", "frmwidth=900", "frmstate=2"});
    start();
    EXPECT_TRUE(main().windowState() & Qt::WindowMaximized);
    forms = {};
    writeSettings({"iLang=Finished", "Jezik=English", "frmleft=30", "frmtop=40", "frmpos=0"});
    start();
    EXPECT_EQ(main().size(), QSize(795, 590));
}

TEST_F(MainWindow, LanguageChangeRewritesCaptions)
{
    start();
    const QString englishFile = main().findChild<QMenu*>("File1")->title();
    main().changeLanguage("Srpski");
    EXPECT_EQ(main().languageName(), "Srpski");
    EXPECT_EQ(main().findChild<QMenu*>("File1")->title(), text(74));
    EXPECT_NE(main().findChild<QMenu*>("File1")->title(), englishFile);
    QTabWidget* tabs = main().PageControl1;
    EXPECT_EQ(tabs->tabText(0), text(97));
    EXPECT_EQ(main().pag1->StringGrid1->model()->headerData(1, Qt::Horizontal).toString(), text(102));
    EXPECT_EQ(main().findChild<QLabel*>("Label15")->text(), text(130) + " (0)");
    EXPECT_EQ(forms.bands->windowTitle(), text(304));
    EXPECT_EQ(forms.bands->StringGrid1->model()->headerData(1, Qt::Horizontal).toString(), text(191));
    EXPECT_EQ(forms.settings->findChild<QWidget*>("RadioGroup2")->findChildren<QRadioButton*>()[0]->text(),
              text(297));
    EXPECT_TRUE(main().findChild<QLabel*>("Label40")->text().startsWith(text(56)));
    main().close();
    EXPECT_EQ(stored("Jezik"), "Srpski");
}

TEST_F(MainWindow, HelpDocumentFollowsTheLanguage)
{
    start();
    EXPECT_EQ(engine::helpDocumentPath("/p/", "Espa\xC3\xB1ol"), "/p/Help/velm_help_esp.html");
    EXPECT_EQ(engine::helpDocumentPath("/p/", "Espanol"), "/p/Help/velm_help_eng.html");
    EXPECT_TRUE(QFile::exists(QString(VELMORA_SOURCE_DIR) + "/data/Help/velm_help_eng.html"));
    EXPECT_TRUE(QFile::exists(QString(VELMORA_SOURCE_DIR) + "/data/Help/velm_help_esp.html"));
}

TEST_F(MainWindow, EmptyProjectPathBecomesTheProjectsFolder)
{
    writeSettings({"iLang=Finished", "Jezik=English", "ProjectPath=", "LoadReport=0", "DefSheetWidth=3000",
                   "JedMere=0"});
    start();
    EXPECT_EQ(main().settings().ProjectPath, (home() + "Projects/").toStdString());
    EXPECT_FALSE(main().settings().LoadReport);
    EXPECT_EQ(main().pag1->Edit2->text(), "300");
    EXPECT_EQ(main().pag1->Edit3->text(), "19");
}

TEST_F(MainWindow, RecentProjectsFillTheFileMenu)
{
    writeSettings({"iLang=Finished", "Jezik=English", "rp1=/data/jobs/kitchen.vlp", "rp2=/data/jobs/bath.vlp"});
    start();
    auto* first = main().findChild<QAction*>("recent0");
    auto* third = main().findChild<QAction*>("recent2");
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->text(), "&1 /data/jobs/kitchen");
    EXPECT_FALSE(third->isVisible());
    EXPECT_TRUE(main().findChild<QAction*>("N6")->isVisible());
}

TEST_F(MainWindow, ProjectNamedOnTheCommandLineIsOpened)
{
    start({QString(VELMORA_SOURCE_DIR) + "/examples/kitchen.vlp"});
    EXPECT_EQ(main().windowTitle(), "Velmora Pro - kitchen");
    EXPECT_GT(main().project().sheets.rowCount(), 0);
    EXPECT_GT(main().project().parts.rowCount(), 0);
    EXPECT_EQ(main().pag1->StringGrid1->model()->rowCount(), main().project().sheets.rowCount());
    EXPECT_TRUE(main().findChild<QLabel*>("Label21")->text().endsWith(
        QString(" (%1)").arg(main().project().partQtyTotal)));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(MainWindow, UnreadableProjectOnTheCommandLineIsReported)
{
    start({home() + "nothing.vlp"});
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.startsWith(text(31)));
    EXPECT_EQ(main().windowTitle(), "Velmora Pro - " + text(248));
}
