// What a new user meets first: the program starts untitled, changes are not
// dropped without a question, and a recent file that cannot be read does not
// become the target of the next Save.
#include <atomic>
#include <deque>
#include <optional>
#include <thread>

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTimer>

#include "app/file_dialogs.h"
#include "app/main_form.h"
#include "app/progress_window.h"
#include "app/project_details_dialog.h"
#include "app/unsaved_changes.h"
#include "app_fixture.h"

using apptest::AppTest;
using apptest::RecordingFileDialogs;
using Answer = app::Messenger::Answer;
using Buttons = app::Messenger::Buttons;

namespace {

class UnsavedWork : public AppTest {
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

    // A row typed into the sheet entry fields and taken with Enter.
    void typeSheetRow()
    {
        if (!main().isVisible())
            showActive();
        auto f = [this](const char* n) { return main().findChild<QLineEdit*>(n); };
        f("Edit2")->setText("244");
        f("Edit3")->setText("122");
        f("Edit4")->setText("1");
        typeEnter(f("Edit4"), {});
        ASSERT_EQ(project().sheetRowCount(), 1);
    }

    // How many times the save-changes question was asked.
    [[nodiscard]] int questionsAsked() const
    {
        int n = 0;
        for (const auto& s : messages.shown)
            if (s.buttons == Buttons::SaveDiscardCancel)
                ++n;
        return n;
    }
};

} // namespace

TEST(UnsavedChangesDecision, AsksOnlyWithChangesAndSaveMustSucceed)
{
    using app::UnsavedAnswer;
    int asked = 0;
    int saved = 0;
    const auto answer = [&](UnsavedAnswer a) {
        return [&asked, a] {
            ++asked;
            return a;
        };
    };
    const auto save = [&](bool ok) {
        return [&saved, ok] {
            ++saved;
            return ok;
        };
    };
    EXPECT_TRUE(app::mayLeaveProject(false, answer(UnsavedAnswer::Cancel), save(false)));
    EXPECT_EQ(asked, 0);
    EXPECT_TRUE(app::mayLeaveProject(true, answer(UnsavedAnswer::Discard), save(false)));
    EXPECT_EQ(saved, 0);
    EXPECT_FALSE(app::mayLeaveProject(true, answer(UnsavedAnswer::Cancel), save(true)));
    EXPECT_EQ(saved, 0);
    EXPECT_TRUE(app::mayLeaveProject(true, answer(UnsavedAnswer::Save), save(true)));
    EXPECT_FALSE(app::mayLeaveProject(true, answer(UnsavedAnswer::Save), save(false)));
    EXPECT_EQ(asked, 4);
    EXPECT_EQ(saved, 2);
}

TEST_F(UnsavedWork, StartsUntitledAndTheLastProjectIsOnlyAFolder)
{
    makeProject(job("last.vlp"));
    const QByteArray before = contents(job("last.vlp"));
    writeSettings({"iLang=Finished", "Jezik=English", "ProjectPath=" + job("last.vlp")});
    start();
    EXPECT_TRUE(project().fileName.empty());
    EXPECT_EQ(main().windowTitle(), "Velmora Pro - " + text(248));
    typeSheetRow();
    // A plain Save asks for a name, in the last project's folder; cancelled,
    // nothing is written anywhere.
    main().Sacuvaj1Click();
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].mode, app::FileDialogRequest::Mode::Save);
    EXPECT_EQ(dialogs.requests[0].folder, home() + "jobs/");
    EXPECT_EQ(contents(job("last.vlp")), before);
    // Closed untitled, the folder is what the setting keeps.
    main().close();
    EXPECT_EQ(stored("ProjectPath"), home() + "jobs/");
}

TEST_F(UnsavedWork, FirstUseMakesTheProjectsFolder)
{
    start();
    ASSERT_FALSE(QFileInfo::exists(home() + "Projects"));
    main().Ucitaj1Click();
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].folder, home() + "Projects/");
    EXPECT_TRUE(QFileInfo(home() + "Projects").isDir());
}

TEST_F(UnsavedWork, NothingChangedNothingAsked)
{
    makeProject(job("a.vlp"));
    start();
    dialogs.answers.push_back(job("a.vlp"));
    main().Ucitaj1Click();
    EXPECT_FALSE(main().projectChanged());
    dialogs.answers.push_back(job("a.vlp"));
    main().Ucitaj1Click();
    EXPECT_EQ(questionsAsked(), 0);
    EXPECT_EQ(dialogs.requests.size(), 2u);
}

TEST_F(UnsavedWork, OpenAsksAndCancelKeepsTheTables)
{
    makeProject(job("a.vlp"));
    start();
    typeSheetRow();
    EXPECT_TRUE(main().projectChanged());
    messages.answers.push_back(Answer::Cancel);
    main().Ucitaj1Click();
    ASSERT_EQ(questionsAsked(), 1);
    EXPECT_EQ(messages.shown.back().text, text(406));
    EXPECT_EQ(messages.shown.back().kind, app::Messenger::Kind::Confirmation);
    EXPECT_TRUE(dialogs.requests.empty());  // no open dialog
    EXPECT_EQ(project().sheetRowCount(), 1);
    EXPECT_TRUE(main().projectChanged());

    // Discard: the file is opened, the flag goes with the typed row.
    messages.answers.push_back(Answer::Discard);
    dialogs.answers.push_back(job("a.vlp"));
    main().Ucitaj1Click();
    EXPECT_EQ(questionsAsked(), 2);
    EXPECT_EQ(project().fileName, job("a.vlp").toStdString());
    EXPECT_FALSE(main().projectChanged());
}

TEST_F(UnsavedWork, SaveAnswerSavesUntitledUnderANameFirst)
{
    makeProject(job("a.vlp"));
    start();
    typeSheetRow();
    // Save on an untitled project is Save As; cancelling its dialog cancels
    // the open as well.
    messages.answers.push_back(Answer::Save);
    main().Ucitaj1Click();
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].mode, app::FileDialogRequest::Mode::Save);
    EXPECT_EQ(project().sheetRowCount(), 1);
    EXPECT_TRUE(main().projectChanged());

    messages.answers.push_back(Answer::Save);
    dialogs.answers.push_back(job("typed.vlp"));
    dialogs.answers.push_back(job("a.vlp"));
    main().Ucitaj1Click();
    ASSERT_EQ(dialogs.requests.size(), 3u);
    EXPECT_EQ(dialogs.requests[2].mode, app::FileDialogRequest::Mode::Open);
    EXPECT_TRUE(QFile::exists(job("typed.vlp")));
    EXPECT_EQ(project().fileName, job("a.vlp").toStdString());
    EXPECT_EQ(main().settings().rp2, job("typed.vlp").toStdString());
    EXPECT_FALSE(main().projectChanged());
}

TEST_F(UnsavedWork, AFailedSaveStopsTheCommand)
{
    start();
    typeSheetRow();
    // Written into a folder that does not exist: the save fails.
    messages.answers.push_back(Answer::Save);
    dialogs.answers.push_back(home() + "missing/x.vlp");
    main().fromXMLClick();
    EXPECT_EQ(dialogs.requests.size(), 1u);  // no import dialog after the failure
    EXPECT_EQ(project().sheetRowCount(), 1);
    EXPECT_TRUE(main().projectChanged());
}

TEST_F(UnsavedWork, NewAsksItsOwnQuestionThenAboutChanges)
{
    start();
    typeSheetRow();
    messages.answers = {Answer::Yes, Answer::Cancel};
    main().Pocninovo1Click();
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0].text, text(244));
    EXPECT_EQ(messages.shown[1].text, text(406));
    EXPECT_EQ(project().sheetRowCount(), 1);

    messages.answers = {Answer::Yes, Answer::Discard};
    main().Pocninovo1Click();
    EXPECT_EQ(project().sheetRowCount(), 0);
    EXPECT_FALSE(main().projectChanged());
    // With nothing changed only the command's own question is asked.
    messages.shown.clear();
    main().Pocninovo1Click();
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(UnsavedWork, SaveClearsAndEveryEditSetsTheFlag)
{
    start();
    typeSheetRow();
    dialogs.answers.push_back(job("b.vlp"));
    main().Sacuvaj1Click();
    EXPECT_FALSE(main().projectChanged());
    // A cell edited in place.
    QAbstractItemModel* sheets = main().pag1->StringGrid1->model();
    ASSERT_TRUE(sheets->setData(sheets->index(0, engine::SheetCol::Qty), "3", Qt::EditRole));
    EXPECT_TRUE(main().projectChanged());
    main().Sacuvaj1Click();
    EXPECT_FALSE(main().projectChanged());
    // A new result.
    auto f = [this](const char* n) { return main().findChild<QLineEdit*>(n); };
    f("Edit6")->setText("60");
    f("Edit7")->setText("40");
    f("Edit8")->setText("2");
    typeEnter(f("Edit8"), {});
    main().Sacuvaj1Click();
    ASSERT_FALSE(main().projectChanged());
    main().Button4Click();
    ASSERT_FALSE(project().result.elements.empty());
    EXPECT_TRUE(main().projectChanged());
    // Switching the language shows the tables again but changes nothing.
    main().Sacuvaj1Click();
    main().changeLanguage("Srpski");
    EXPECT_FALSE(main().projectChanged());
}

TEST_F(UnsavedWork, RecentFileAndImportAsk)
{
    makeProject(job("r.vlp"));
    writeSettings({"iLang=Finished", "Jezik=English", "rp1=" + job("r.vlp")});
    start();
    typeSheetRow();
    messages.answers.push_back(Answer::Cancel);
    main().fileCommands().recentClick(0);
    EXPECT_EQ(questionsAsked(), 1);
    EXPECT_TRUE(project().fileName.empty());
    EXPECT_EQ(project().sheetRowCount(), 1);
    messages.answers.push_back(Answer::Cancel);
    main().fromXMLClick();
    EXPECT_EQ(questionsAsked(), 2);
    EXPECT_TRUE(dialogs.requests.empty());
    // Adding a project asks nothing: nothing is replaced, and the added rows
    // are a change.
    dialogs.answers.push_back(job("r.vlp"));
    main().Dodaj1Click();
    EXPECT_EQ(questionsAsked(), 2);
    EXPECT_TRUE(main().projectChanged());
}

TEST_F(UnsavedWork, ClosingAsksAndCancelKeepsTheWindow)
{
    start();
    showActive();
    typeSheetRow();
    messages.answers.push_back(Answer::Cancel);
    EXPECT_FALSE(main().close());
    EXPECT_TRUE(main().isVisible());
    // Exit asks too; cancelled, the program goes on and a later close still
    // writes the settings.
    messages.answers.push_back(Answer::Cancel);
    main().Exit1Click();
    EXPECT_TRUE(main().isVisible());
    EXPECT_EQ(questionsAsked(), 2);
    main().settings().CompanyName = "Stolarija Jovanovic";
    messages.answers.push_back(Answer::Discard);
    EXPECT_TRUE(main().close());
    EXPECT_EQ(stored("CompanyName"), "Stolarija Jovanovic");
}

TEST_F(UnsavedWork, ARecentFileThatCannotBeReadDoesNotBecomeTheSaveTarget)
{
    // Too large to be a project: it cannot be opened, and it is not the
    // place where the tables on screen belong.
    QFile big(job("big.vlp"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    big.write("precious");
    ASSERT_TRUE(big.resize((qint64(256) << 20) + 1));
    big.close();
    writeSettings({"iLang=Finished", "Jezik=English", "rp1=" + job("big.vlp")});
    start();
    typeSheetRow();
    messages.answers.push_back(Answer::Discard);
    main().fileCommands().recentClick(0);
    EXPECT_EQ(messages.shown.back().kind, app::Messenger::Kind::Error);
    EXPECT_TRUE(project().fileName.empty());
    EXPECT_FALSE(main().menus().Print1->isEnabled());
    main().Sacuvaj1Click();
    ASSERT_EQ(dialogs.requests.size(), 1u);  // asks for a name
    EXPECT_EQ(QFileInfo(job("big.vlp")).size(), (qint64(256) << 20) + 1);
}

TEST_F(UnsavedWork, ClosingDuringARunStopsTheRunNotTheProgram)
{
    start();
    showActive();
    app::TwndProgress* window = main().progressWindow();
    bool closed = true;
    QTimer::singleShot(0, &main(), [&] { closed = main().close(); });
    // The work goes on until it is asked to stop.
    const bool done = window->run(&main(), "run", "Cancel", [](const std::atomic<bool>& cancel, const auto&) {
        while (!cancel)
            std::this_thread::yield();
    });
    EXPECT_FALSE(closed);
    EXPECT_FALSE(done);  // cancelled by the close
    EXPECT_TRUE(main().isVisible());
}

TEST_F(UnsavedWork, DetailsAndBandChoicesAreChanges)
{
    writeSettings({"iLang=Finished", "Jezik=English", "Kantiranje=1"});
    start();
    showActive();
    // The details dialog confirmed unchanged is no change; a new title is.
    const auto details = [this](const QString& title) {
        QTimer::singleShot(0, &main(), [this, title] {
            if (!title.isEmpty())
                forms.details->cover_title->setText(title);
            forms.details->Button1->click();
        });
        main().Detalji1Click();
    };
    details({});
    EXPECT_FALSE(main().projectChanged());
    details("Kuhinja Jovanovic");
    EXPECT_EQ(project().details.coverTitle, "Kuhinja Jovanovic");
    EXPECT_TRUE(main().projectChanged());

    // A band type chosen in a part's band cell.
    auto f = [this](const char* n) { return main().findChild<QLineEdit*>(n); };
    f("Edit6")->setText("50");
    f("Edit7")->setText("40");
    typeEnter(f("Edit8"), "");
    dialogs.answers.push_back(job("bands.vlp"));
    main().Sacuvaj1Click();
    ASSERT_FALSE(main().projectChanged());
    QTableView* grid = main().pag1->StringGrid2;
    const QModelIndex cell = grid->model()->index(0, engine::PartCol::Band + 2);
    grid->setCurrentIndex(cell);
    grid->edit(cell);
    auto* chooser = grid->findChild<QComboBox*>("ComboBox1");
    ASSERT_NE(chooser, nullptr);
    chooser->setCurrentIndex(2);
    emit chooser->activated(2);
    ASSERT_FALSE(project().parts.cell(1, engine::PartCol::Band + 2).empty());
    EXPECT_TRUE(main().projectChanged());
}
