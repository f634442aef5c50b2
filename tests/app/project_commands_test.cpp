#include <deque>
#include <optional>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextEdit>

#include "app/command_check.h"
#include "app/file_dialogs.h"
#include "app/main_form.h"
#include "app/project_details_dialog.h"
#include "app_fixture.h"
#include "engine/auto_run.h"

using apptest::AppTest;
using apptest::RecordingFileDialogs;

namespace {

class ProjectCommands : public AppTest {
protected:
    RecordingFileDialogs dialogs;

    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_TRUE(QFile::copy(QString(VELMORA_SOURCE_DIR) + "/data/Config/template.vlp",
                                home() + "Config/template.vlp"));
        QDir().mkpath(home() + "jobs");
        app::FileDialogs::install(&dialogs);
    }

    void TearDown() override
    {
        AppTest::TearDown();
        app::FileDialogs::install(nullptr);
    }

    [[nodiscard]] QString job(const QString& name) const { return home() + "jobs/" + name; }
    [[nodiscard]] engine::Project& project() { return main().project(); }
    [[nodiscard]] QAction* action(const char* name) { return main().findChild<QAction*>(name); }

    // Two sheet rows and two part rows, in centimetres.
    void typeTables()
    {
        project().sheets.appendRow({"", "244", "122", "2", "iverica"});
        project().sheets.appendRow({"", "207", "280", "1", "mdf"});
        project().parts.appendRow({"", "60", "40", "4", "bok", "0"});
        project().parts.appendRow({"", "80", "55", "2", "vrata", "1"});
        main().refreshTables();
    }

    void saveAs(const QString& chosen)
    {
        dialogs.answers.push_back(chosen);
        main().SacuvajKao1Click();
    }

    void open(const QString& chosen)
    {
        dialogs.answers.push_back(chosen);
        main().Ucitaj1Click();
    }

    [[nodiscard]] QString untitled() const { return "Velmora Pro - " + text(248); }
    [[nodiscard]] std::array<std::string, 5> recent()
    {
        const engine::Settings& s = main().settings();
        return {s.rp1, s.rp2, s.rp3, s.rp4, s.rp5};
    }
    // Writes a file that opens as a project: a copy of the example.
    void makeProject(const QString& path)
    {
        QFile::remove(path);
        ASSERT_TRUE(QFile::copy(QString(VELMORA_SOURCE_DIR) + "/examples/kitchen.vlp", path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    }
    [[nodiscard]] static QByteArray contents(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

} // namespace

TEST_F(ProjectCommands, SaveNewOpenRestoresTablesDetailsAndLayouts)
{
    // Layouts are shown on opening only with LoadSema off.
    writeSettings({"iLang=Finished", "Jezik=English", "LoadSema=0"});
    start();
    typeTables();
    project().details.coverTitle = "Kuhinja Petrovic";
    project().details.clientAddress = {"Ulica 1", "", "Beograd"};
    const engine::AutoRunOutcome run = engine::runAutomatic(project(), main().settings());
    ASSERT_TRUE(run.status.ok()) << engine::number(run.status.msg);
    main().ShowResults();
    ASSERT_FALSE(project().result.elements.empty());
    const engine::Project before = project();
    messages.shown.clear();

    saveAs(job("kitchen.vlp"));
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].mode, app::FileDialogRequest::Mode::Save);
    EXPECT_EQ(dialogs.requests[0].title, text(168));
    EXPECT_EQ(dialogs.requests[0].filter, "Velmora (*.vlp)");
    EXPECT_EQ(dialogs.requests[0].defaultSuffix, "vlp");
    EXPECT_EQ(dialogs.requests[0].folder.toStdString(), (home() + "Projects/").toStdString());
    EXPECT_TRUE(messages.shown.empty());
    ASSERT_TRUE(QFile::exists(job("kitchen.vlp")));
    EXPECT_EQ(main().windowTitle(), "Velmora Pro - kitchen.vlp");

    messages.answers.push_back(app::Messenger::Answer::Yes);
    main().Pocninovo1Click();
    EXPECT_EQ(messages.shown.back().text, text(244));
    EXPECT_EQ(messages.shown.back().buttons, app::Messenger::Buttons::YesNo);
    EXPECT_EQ(project().sheets.rowCount(), 0);
    EXPECT_EQ(project().parts.rowCount(), 0);
    EXPECT_TRUE(project().result.elements.empty());
    EXPECT_FALSE(main().resultPageVisible());
    EXPECT_EQ(main().windowTitle(), untitled());
    EXPECT_EQ(project().fileName, "");
    EXPECT_FALSE(action("Print1")->isEnabled());
    // New keeps the details.
    EXPECT_EQ(project().details, before.details);
    project().details = {};

    messages.shown.clear();
    open(job("kitchen.vlp"));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(project().sheets, before.sheets);
    EXPECT_EQ(project().parts, before.parts);
    EXPECT_EQ(project().details, before.details);
    EXPECT_EQ(project().result.elements, before.result.elements);
    EXPECT_EQ(project().result.offcuts, before.result.offcuts);
    EXPECT_TRUE(main().resultPageVisible());
    // Enabled after opening, as far as the print command has a handler.
    EXPECT_EQ(action("Print1")->isEnabled(), app::hasCommandHandler(action("Print1")));
    EXPECT_EQ(main().findChild<QWidget*>("ToolButton8")->isEnabled(), action("Print1")->isEnabled());
    EXPECT_EQ(main().windowTitle(), "Velmora Pro - kitchen");
    EXPECT_EQ(dialogs.requests.back().filter,
              "Velmora (*.vlp *.VLP);;Quillon (*.qln *.QLN);;All Supported File Types (*.vlp *.qln *.VLP *.QLN)");
    EXPECT_EQ(dialogs.requests.back().title, text(167));
    // After New the dialog starts in the last project's folder.
    EXPECT_EQ(dialogs.requests.back().folder.toStdString(), (home() + "jobs/").toStdString());
}

TEST_F(ProjectCommands, NewDeclinedChangesNothing)
{
    start();
    typeTables();
    messages.answers.push_back(app::Messenger::Answer::No);
    main().Pocninovo1Click();
    EXPECT_EQ(project().sheets.rowCount(), 2);
}

TEST_F(ProjectCommands, SaveOnAnUntitledProjectAsksThenWritesWithoutAsking)
{
    start();
    typeTables();
    dialogs.answers.push_back(job("a.vlp"));
    main().Sacuvaj1Click();
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_TRUE(QFile::exists(job("a.vlp")));
    EXPECT_EQ(main().windowTitle(), "Velmora Pro - a.vlp");
    EXPECT_EQ(recent()[0], job("a.vlp").toStdString());

    project().sheets.setCell(1, 4, "changed");
    main().Sacuvaj1Click();
    EXPECT_EQ(dialogs.requests.size(), 1u);
    EXPECT_TRUE(messages.shown.empty());  // no overwrite question for the project's own file
    EXPECT_TRUE(contents(job("a.vlp")).contains("changed"));
}

TEST_F(ProjectCommands, TxtTypedIsSavedAsVlpWhileTheTitleShowsTxt)
{
    start();
    typeTables();
    saveAs(job("b.txt"));
    EXPECT_TRUE(QFile::exists(job("b.vlp")));
    EXPECT_FALSE(QFile::exists(job("b.txt")));
    EXPECT_EQ(main().windowTitle(), "Velmora Pro - b.txt");
    EXPECT_EQ(project().fileName, job("b.vlp").toStdString());
    EXPECT_FALSE(action("Print1")->isEnabled());
}

TEST_F(ProjectCommands, TxtTypedOverAnExistingVlpAsksFirst)
{
    start();
    typeTables();
    QFile f(job("c.vlp"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("keep me");
    f.close();
    messages.answers.push_back(app::Messenger::Answer::No);
    saveAs(job("c.txt"));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, job("c.vlp") + " " + text(27));
    EXPECT_EQ(contents(job("c.vlp")), "keep me");
}

TEST_F(ProjectCommands, OverwriteDeclinedWritesNothing)
{
    start();
    typeTables();
    makeProject(job("d.vlp"));
    const QByteArray original = contents(job("d.vlp"));
    messages.answers.push_back(app::Messenger::Answer::No);
    saveAs(job("d.vlp"));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, job("d.vlp") + " " + text(27));
    EXPECT_EQ(messages.shown[0].kind, app::Messenger::Kind::Confirmation);
    EXPECT_EQ(contents(job("d.vlp")), original);
    EXPECT_EQ(main().windowTitle(), untitled());
    EXPECT_EQ(project().fileName, "");
    EXPECT_EQ(recent()[0], "");

    messages.answers.push_back(app::Messenger::Answer::Yes);
    saveAs(job("d.vlp"));
    EXPECT_NE(contents(job("d.vlp")), original);
}

TEST_F(ProjectCommands, EmptyTablesAreNotSaved)
{
    start();
    main().SacuvajKao1Click();
    ASSERT_EQ(messages.shown.size(), 1u);
    // Message 29 names the one cause that applies.
    EXPECT_EQ(messages.shown[0].text, text(29) + "\n" + text(42));
    EXPECT_TRUE(dialogs.requests.empty());
}

TEST_F(ProjectCommands, FailedSaveKeepsNameTitleAndRecentList)
{
    start();
    typeTables();
    QFile::remove(home() + "Config/template.vlp");
    saveAs(job("g.vlp"));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.startsWith(text(29)));
    EXPECT_FALSE(QFile::exists(job("g.vlp")));
    EXPECT_EQ(main().windowTitle(), untitled());
    EXPECT_EQ(project().fileName, "");
    EXPECT_EQ(recent()[0], "");
}

TEST_F(ProjectCommands, StoredFolderWithoutSeparatorCountsAsUntitled)
{
    QDir().mkpath(home() + "Projects");
    writeSettings({"iLang=Finished", "Jezik=English", "ProjectPath=" + home() + "Projects"});
    start();
    typeTables();
    main().Sacuvaj1Click();
    EXPECT_EQ(dialogs.requests.size(), 1u);
    EXPECT_TRUE(QDir(home()).entryList(QDir::Files).filter("vlp").isEmpty());
}

TEST_F(ProjectCommands, AmpersandInARecentNameIsShownAsItIs)
{
    writeSettings({"iLang=Finished", "Jezik=English", "rp1=/jobs/R&D.vlp"});
    start();
    EXPECT_EQ(main().findChild<QAction*>("recent0")->text(), "&1 /jobs/R&&D");
}

TEST_F(ProjectCommands, CancelledSaveDialogWritesNothing)
{
    start();
    typeTables();
    main().Sacuvaj1Click();
    EXPECT_EQ(dialogs.requests.size(), 1u);
    EXPECT_TRUE(QDir(job("")).isEmpty());
    EXPECT_EQ(recent()[0], "");
}

TEST_F(ProjectCommands, XmlExportKeepsNameTitleAndRecentListAndReimports)
{
    start();
    typeTables();
    saveAs(job("e.vlp"));
    const QString title = main().windowTitle();
    const auto recentBefore = recent();

    dialogs.answers.push_back(job("e-export.xml"));
    main().toXMLClick();
    EXPECT_EQ(dialogs.requests.back().filter, "Velmora XML (*.xml)");
    EXPECT_EQ(dialogs.requests.back().defaultSuffix, "xml");
    EXPECT_TRUE(QFile::exists(job("e-export.xml")));
    EXPECT_EQ(project().fileName, job("e.vlp").toStdString());
    EXPECT_EQ(main().windowTitle(), title);
    EXPECT_EQ(recent(), recentBefore);

    const engine::Project before = project();
    messages.answers.push_back(app::Messenger::Answer::Yes);
    main().Pocninovo1Click();
    dialogs.answers.push_back(job("e-export.xml"));
    main().fromXMLClick();
    EXPECT_EQ(dialogs.requests.back().filter, "Velmora XML file (*.xml)");
    EXPECT_EQ(project().sheets, before.sheets);
    EXPECT_EQ(project().parts, before.parts);
    EXPECT_EQ(main().windowTitle(), "Velmora Pro - e-export");
    EXPECT_EQ(project().fileName, job("e-export.xml").toStdString());
    EXPECT_EQ(recent(), recentBefore);
}

TEST_F(ProjectCommands, PlainSaveAfterXmlImportAsksBeforeReplacingTheVlpBesideIt)
{
    start();
    typeTables();
    saveAs(job("f.vlp"));
    dialogs.answers.push_back(job("f.xml"));
    main().toXMLClick();
    dialogs.answers.push_back(job("f.xml"));
    main().fromXMLClick();
    const QByteArray vlp = contents(job("f.vlp"));
    messages.shown.clear();
    messages.answers.push_back(app::Messenger::Answer::No);
    main().Sacuvaj1Click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, job("f.vlp") + " " + text(27));
    EXPECT_EQ(contents(job("f.vlp")), vlp);
}

TEST_F(ProjectCommands, RecentListPushReorderAndSixthFile)
{
    start();
    for (const char* n : {"1", "2", "3", "4", "5", "6"})
        makeProject(job(QString("p%1.vlp").arg(n)));
    for (const char* n : {"1", "2", "3", "4", "5"})
        open(job(QString("p%1.vlp").arg(n)));
    EXPECT_EQ(recent()[0], job("p5.vlp").toStdString());
    EXPECT_EQ(recent()[4], job("p1.vlp").toStdString());

    // Reopening from the menu does not reorder.
    action("recent2")->trigger();
    EXPECT_EQ(project().fileName, job("p3.vlp").toStdString());
    EXPECT_EQ(main().windowTitle(), "Velmora Pro - p3");
    EXPECT_EQ(recent()[0], job("p5.vlp").toStdString());
    EXPECT_EQ(recent()[2], job("p3.vlp").toStdString());

    // Open moves a known file up.
    open(job("p2.vlp"));
    EXPECT_EQ(recent(), (std::array<std::string, 5>{job("p2.vlp").toStdString(), job("p5.vlp").toStdString(),
                                                    job("p4.vlp").toStdString(), job("p3.vlp").toStdString(),
                                                    job("p1.vlp").toStdString()}));
    // A sixth file pushes the oldest out.
    open(job("p6.vlp"));
    EXPECT_EQ(recent()[0], job("p6.vlp").toStdString());
    EXPECT_EQ(recent()[4], job("p3.vlp").toStdString());
    EXPECT_EQ(action("recent0")->text(), "&1 " + job("p6"));
    EXPECT_EQ(action("recent4")->text(), "&5 " + job("p3"));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ProjectCommands, MissingRecentFileIsReportedAndKept)
{
    writeSettings({"iLang=Finished", "Jezik=English", "rp1=/nowhere/gone.vlp"});
    start();
    action("recent0")->trigger();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, text(206));
    EXPECT_EQ(messages.shown[0].kind, app::Messenger::Kind::Information);
    EXPECT_EQ(recent()[0], "/nowhere/gone.vlp");
    EXPECT_TRUE(action("recent0")->isVisible());
    EXPECT_EQ(main().windowTitle(), untitled());
}

TEST_F(ProjectCommands, LongRecentNamesAreShortened)
{
    const QString deep = "/srv/velmora/customers/2024/petrovic-family/kitchen-and-living-room/final.vlp";
    writeSettings({"iLang=Finished", "Jezik=English", "rp1=" + deep, "rp2=/a/b.vlp"});
    start();
    const QString shown = action("recent0")->text();
    EXPECT_TRUE(shown.startsWith("&1 /.../")) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith("/final"));
    EXPECT_EQ(action("recent1")->text(), "&2 /a/b");
    EXPECT_FALSE(action("recent2")->isVisible());
}

TEST_F(ProjectCommands, TitleAfterOpenHasNoExtension)
{
    start();
    EXPECT_EQ(main().windowTitle(), untitled());
    makeProject(job("living room.vlp"));
    open(job("living room.vlp"));
    EXPECT_EQ(main().windowTitle(), "Velmora Pro - living room");
}

TEST_F(ProjectCommands, UnreadableFileIsNotReplacedByAPlainSave)
{
    start();
    QFile f(job("broken.vlp"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<velm_root><job><measure>1</measure><data><tab_sheets count=\"3\"><sheet><len>1</len></sheet>");
    f.close();
    const QByteArray original = contents(job("broken.vlp"));
    open(job("broken.vlp"));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.startsWith(text(288)));
    EXPECT_EQ(main().windowTitle(), "Velmora Pro - broken");
    project().sheets.appendRow({"", "244", "122", "1"});
    main().Sacuvaj1Click();
    // The save asks for a name in the file's folder instead of replacing it.
    ASSERT_FALSE(dialogs.requests.empty());
    EXPECT_EQ(dialogs.requests.back().mode, app::FileDialogRequest::Mode::Save);
    EXPECT_EQ(dialogs.requests.back().folder, job(""));
    EXPECT_EQ(contents(job("broken.vlp")), original);
}

TEST_F(ProjectCommands, ReadOnlyProjectOpensAndSaveAsksForAName)
{
    start();
    makeProject(job("shared.vlp"));
    QFile::setPermissions(job("shared.vlp"), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const QByteArray original = contents(job("shared.vlp"));
    open(job("shared.vlp"));
    // On this system a read-only file is not a locked one: it opens.
    EXPECT_TRUE(messages.shown.empty()) << messages.shown[0].text.toStdString();
    EXPECT_GT(project().sheets.rowCount(), 0);
    EXPECT_EQ(main().windowTitle(), "Velmora Pro - shared");
    // A plain Save asks for a name, as for an untitled project.
    main().Sacuvaj1Click();
    ASSERT_EQ(dialogs.requests.size(), 2u);
    EXPECT_EQ(dialogs.requests.back().mode, app::FileDialogRequest::Mode::Save);
    EXPECT_EQ(contents(job("shared.vlp")), original);
}

TEST_F(ProjectCommands, FileOfNoKnownKindChangesNothing)
{
    start();
    typeTables();
    {
        QFile f(job("notes.vlp.bak"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("a shopping list\n");
    }
    open(job("notes.vlp.bak"));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.startsWith(text(43)));
    EXPECT_EQ(project().sheets.rowCount(), 2);
    EXPECT_EQ(main().windowTitle(), untitled());
    EXPECT_EQ(recent()[0], "");
}

TEST_F(ProjectCommands, MissingFileChangesNothing)
{
    start();
    typeTables();
    open(job("missing.vlp"));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.startsWith(text(31)));
    EXPECT_EQ(project().sheets.rowCount(), 2);
    EXPECT_EQ(main().windowTitle(), untitled());
    EXPECT_EQ(recent()[0], "");
    EXPECT_FALSE(action("Print1")->isEnabled());
}

TEST_F(ProjectCommands, OpeningWithoutLayoutsHidesThoseOfTheProjectBefore)
{
    writeSettings({"iLang=Finished", "Jezik=English", "LoadSema=0"});
    start();
    typeTables();
    saveAs(job("plain.vlp"));
    ASSERT_TRUE(engine::runAutomatic(project(), main().settings()).status.ok());
    main().ShowResults();
    ASSERT_TRUE(main().resultPageVisible());
    open(job("plain.vlp"));
    EXPECT_FALSE(main().resultPageVisible());
    EXPECT_FALSE(main().findChild<QWidget*>("BitBtn15")->isEnabled());
    EXPECT_FALSE(main().findChild<QWidget*>("TableMinus")->isEnabled());
}

TEST_F(ProjectCommands, AddProjectAppendsRows)
{
    start();
    makeProject(job("k.vlp"));
    open(job("k.vlp"));
    const int sheets = project().sheets.rowCount();
    dialogs.answers.push_back(job("k.vlp"));
    main().Dodaj1Click();
    EXPECT_EQ(project().sheets.rowCount(), 2 * sheets);
    EXPECT_EQ(recent()[1], "");
}

TEST_F(ProjectCommands, FileMenuCommandsAreEnabled)
{
    start();
    for (const char* name : {"Pocninovo1", "Ucitaj1", "Dodaj1", "Sacuvaj1", "SacuvajKao1", "toXML", "fromXML",
                             "Detalji1"})
        EXPECT_TRUE(action(name)->isEnabled()) << name;
    EXPECT_FALSE(action("Print1")->isEnabled());
}

// ---------------------------------------------------------------------------
// Project details

namespace {

class ProjectDetailsDialog : public ProjectCommands {
protected:
    app::TPrProp& dialog() { return *forms.details; }
    template <typename T>
    T* control(const char* name)
    {
        return dialog().findChild<T*>(name);
    }
};

} // namespace

TEST_F(ProjectDetailsDialog, CaptionsComeFromTheLanguageFile)
{
    start();
    EXPECT_EQ(dialog().windowTitle(), text(253));
    EXPECT_EQ(control<QLabel>("lbl_title")->text(), text(254) + ":");
    EXPECT_EQ(control<QLabel>("cl3")->text(), text(259) + ":");
    EXPECT_EQ(control<QPushButton>("Button1")->text(), text(247));
    auto* tabs = control<QTabWidget>("PageControl1");
    EXPECT_EQ(tabs->tabText(0), text(269));
}

TEST_F(ProjectDetailsDialog, AddressLinesCloseUpAndAreStoredFromTheTop)
{
    start();
    project().details.clientAddress = {"", "Njegoseva 12", ""};
    project().details.clientName = "Ana";
    dialog().FormActivate();
    EXPECT_EQ(control<QPlainTextEdit>("cl_address")->toPlainText(), "Njegoseva 12");
    EXPECT_EQ(control<QLineEdit>("cl_name")->text(), "Ana");
    control<QLineEdit>("cl_phone")->setText("011 123");
    dialog().Button1Click();
    EXPECT_EQ(project().details.clientAddress, (std::array<std::string, 3>{"Njegoseva 12", "", ""}));
    EXPECT_EQ(project().details.clientPhone, "011 123");
}

TEST_F(ProjectDetailsDialog, LengthLimits)
{
    start();
    dialog().show();
    auto* title = control<QLineEdit>("cover_title");
    title->setFocus();
    QTest::keyClicks(title, QString(61, 'x'));
    EXPECT_EQ(title->text().size(), 60);
    EXPECT_EQ(control<QLineEdit>("author")->maxLength(), 60);
    EXPECT_EQ(control<QLineEdit>("cl_name")->maxLength(), 25);
    EXPECT_EQ(control<QLineEdit>("cl_surname")->maxLength(), 35);
    EXPECT_EQ(control<QLineEdit>("cl_phone")->maxLength(), 30);
    EXPECT_EQ(control<QLineEdit>("cl_note")->maxLength(), 100);
    dialog().hide();
}

TEST_F(ProjectDetailsDialog, FourthAddressLineMovesOnToThePhone)
{
    start();
    showActive();
    dialog().show();
    QApplication::setActiveWindow(&dialog());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog()));
    auto* address = control<QPlainTextEdit>("cl_address");
    address->setFocus();
    QTest::keyClicks(address, "a");
    QTest::keyClick(address, Qt::Key_Return);
    QTest::keyClicks(address, "b");
    QTest::keyClick(address, Qt::Key_Return);
    QTest::keyClicks(address, "c");
    QTest::keyClick(address, Qt::Key_Return);
    EXPECT_EQ(address->toPlainText(), "a\nb\nc");
    EXPECT_TRUE(control<QLineEdit>("cl_phone")->hasFocus());
    dialog().Button1Click();
    EXPECT_EQ(project().details.clientAddress, (std::array<std::string, 3>{"a", "b", "c"}));
}

TEST_F(ProjectDetailsDialog, CloseBoxKeepsTheDetails)
{
    start();
    project().details.author = "Marko";
    dialog().show();
    control<QLineEdit>("author")->setText("Someone else");
    dialog().close();
    EXPECT_EQ(project().details.author, "Marko");
    // Shown again, it loads from the project.
    dialog().show();
    EXPECT_EQ(control<QLineEdit>("author")->text(), "Marko");
    dialog().hide();
}
