// The commands a new user tries first: every enabled one does something,
// the printer set-up sets up the page, and the statistics, message boxes and
// file dialogs speak the language and the unit of the screens around them.
#include <functional>

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "app/command_check.h"
#include "app/file_dialogs.h"
#include "app/main_form.h"
#include "app/messenger.h"
#include "app/qt_translations.h"
#include "app_fixture.h"

using apptest::AppTest;

namespace {

class Commands : public AppTest {
protected:
    // Every item of the menus (submenus walked, separators and submenu
    // items left out), then every button of the tool bar.
    std::vector<QAction*> menuItems()
    {
        std::vector<QAction*> out;
        std::function<void(QMenu*)> walk = [&](QMenu* menu) {
            for (QAction* a : menu->actions()) {
                if (a->isSeparator())
                    continue;
                if (a->menu())
                    walk(a->menu());
                else
                    out.push_back(a);
            }
        };
        for (QAction* top : main().menuBar()->actions())
            if (top->menu())
                walk(top->menu());
        return out;
    }

    // Enabled items without a handler, by name.
    QStringList idleCommands()
    {
        QStringList idle;
        for (QAction* a : menuItems())
            if (a->isEnabled() && !app::hasCommandHandler(a))
                idle << a->objectName();
        return idle;
    }

    // Runs `action` and, once its modal window is up, says what kind of
    // window it is and closes it.
    struct Modal {
        bool shown = false;
        bool pageSetup = false;
        bool print = false;
        QString cancel;
    };
    Modal modalOf(const std::function<void()>& action)
    {
        Modal seen;
        QTimer::singleShot(0, [&seen] {
            QWidget* w = QApplication::activeModalWidget();
            seen.shown = w != nullptr;
            seen.pageSetup = qobject_cast<QPageSetupDialog*>(w) != nullptr;
            seen.print = qobject_cast<QPrintDialog*>(w) != nullptr;
            if (w)
                for (QDialogButtonBox* box : w->findChildren<QDialogButtonBox*>())
                    if (QPushButton* b = box->button(QDialogButtonBox::Cancel))
                        seen.cancel = b->text();
            if (auto* d = qobject_cast<QDialog*>(w))
                d->reject();
        });
        action();
        return seen;
    }
};

} // namespace

TEST(MenuCommand, CountsOnlyHandlers)
{
    QMenu menu;
    auto* idle = new app::MenuCommand("idle", &menu);
    auto* busy = new app::MenuCommand("busy", &menu);
    menu.addAction(idle);
    menu.addAction(busy);
    QObject::connect(busy, &QAction::triggered, &menu, [] {});
    EXPECT_EQ(idle->handlerCount(), 0);
    EXPECT_EQ(busy->handlerCount(), 1);
    EXPECT_FALSE(app::hasCommandHandler(idle));
    EXPECT_TRUE(app::hasCommandHandler(busy));
    EXPECT_TRUE(app::hasCommandHandler(menu.menuAction()));
}

TEST_F(Commands, EveryEnabledCommandHasAHandler)
{
    writeSettings({"iLang=Finished", "Jezik=English", "autoparam=0"});
    start();
    EXPECT_EQ(idleCommands(), QStringList());
    // The menus hold only items that can tell.
    for (QAction* a : menuItems())
        EXPECT_NE(dynamic_cast<app::MenuCommand*>(a), nullptr) << a->objectName().toStdString();
    // With a result shown, the print command is still one without a handler.
    ASSERT_TRUE(main().openProjectFile(QString(VELMORA_SOURCE_DIR) + "/examples/kitchen.vlp"));
    main().Button4Click();
    ASSERT_FALSE(main().project().result.elements.empty());
    EXPECT_EQ(idleCommands(), QStringList());
    EXPECT_FALSE(main().menus().Print1->isEnabled());
    EXPECT_FALSE(main().menus().ToolButton8->isEnabled());
    // Every tool button is enabled exactly with its item.
    const std::pair<QToolButton*, QAction*> buttons[] = {
        {main().menus().ToolButton1, main().menus().Pocninovo1}, {main().menus().ToolButton2, main().menus().Ucitaj1},
        {main().menus().ToolButton7, main().menus().Dodaj1},     {main().menus().ToolButton4, main().menus().Sacuvaj1},
        {main().menus().ToolButton5, main().menus().SacuvajKao1}, {main().menus().ToolButton8, main().menus().Print1},
        {main().menus().ToolButton13, main().menus().Detalji1},  {main().menus().SpeedButton1, main().menus().fromExcel},
        {main().menus().ToolButton10, main().menus().Settings1},
    };
    for (const auto& [button, item] : buttons)
        EXPECT_EQ(button->isEnabled(), item->isEnabled()) << button->objectName().toStdString();
    // Once printing connects a handler, the command can be enabled.
    QObject::connect(main().menus().Print1, &QAction::triggered, &main(), [] {});
    main().fileCommands().setPrintEnabled(true);
    EXPECT_TRUE(main().menus().Print1->isEnabled());
}

TEST_F(Commands, PrinterSetupSetsUpThePageAndPrintsNothing)
{
    writeSettings({"iLang=Finished", "Jezik=Srpski"});
    start({}, false);
    showActive();
    const Modal shown = modalOf([this] { main().menus().PrinterSetup1->trigger(); });
    EXPECT_TRUE(shown.shown);
    EXPECT_TRUE(shown.pageSetup);
    EXPECT_FALSE(shown.print);
    EXPECT_EQ(shown.cancel, QString("Otkaži"));
    // The page layout chosen stays with the main window's printer.
    EXPECT_EQ(&main().printer(), &main().printer());
}

TEST_F(Commands, StatisticsCaptionsCarryTheStoredUnitFromTheStart)
{
    writeSettings({"iLang=Finished", "Jezik=English", "JedMere=0", "AreaStyle=0"});
    start();
    const auto caption = [this](const char* name) { return main().findChild<QLabel*>(name)->text(); };
    for (const char* name : {"Label40", "Label54"}) {
        EXPECT_TRUE(caption(name).contains("(mm)")) << caption(name).toStdString();
        EXPECT_FALSE(caption(name).contains("cm")) << caption(name).toStdString();
    }
    EXPECT_TRUE(caption("Label26").contains("mm")) << caption("Label26").toStdString();
    EXPECT_FALSE(caption("Label26").contains("cm")) << caption("Label26").toStdString();
}

TEST_F(Commands, MessageBoxButtonsSpeakTheLanguageFile)
{
    writeSettings({"iLang=Finished", "Jezik=Srpski"});
    start({}, false);
    app::BoxMessenger boxes;
    QStringList texts;
    const auto readAndPress = [&texts](QMessageBox::StandardButton press) {
        return [&texts, press] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            for (QAbstractButton* b : box->buttons())
                texts << b->text();
            box->button(press)->click();
        };
    };
    QTimer::singleShot(0, readAndPress(QMessageBox::No));
    EXPECT_EQ(boxes.show(&main(), app::Messenger::Kind::Confirmation, "?", app::Messenger::Buttons::YesNoCancel,
                         std::nullopt),
              app::Messenger::Answer::No);
    texts.sort();
    EXPECT_EQ(texts, (QStringList{"Da", "Ne", "Otkaži"}));
    texts.clear();
    QTimer::singleShot(0, readAndPress(QMessageBox::Discard));
    EXPECT_EQ(boxes.show(&main(), app::Messenger::Kind::Confirmation, text(406),
                         app::Messenger::Buttons::SaveDiscardCancel, std::nullopt),
              app::Messenger::Answer::Discard);
    texts.sort();
    EXPECT_EQ(texts, (QStringList{"Odbaci", "Otkaži", "Sačuvaj"}));
    EXPECT_EQ(text(406), QString("Projekat ima izmene koje nisu sačuvane. Da li želite da ih sačuvate?"));
    // Back in English, the English file's words.
    main().changeLanguage("English");
    texts.clear();
    QTimer::singleShot(0, readAndPress(QMessageBox::Yes));
    EXPECT_EQ(boxes.show(&main(), app::Messenger::Kind::Confirmation, "?", app::Messenger::Buttons::YesNo,
                         std::nullopt),
              app::Messenger::Answer::Yes);
    texts.sort();
    EXPECT_EQ(texts, (QStringList{"No", "Yes"}));
}

TEST_F(Commands, FileDialogsSpeakTheLanguageAndStartInTheFolderAsked)
{
    writeSettings({"iLang=Finished", "Jezik=Srpski"});
    start({}, false);
    QDir().mkpath(home() + "jobs");
    app::QtFileDialogs dialogs;
    app::FileDialogRequest request;
    request.title = text(167);
    request.filter = "Velmora (*.vlp)";
    request.folder = home() + "jobs";
    QString accept, lookIn, folder, detailView;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        accept = d->labelText(QFileDialog::Accept);
        lookIn = d->labelText(QFileDialog::LookIn);
        folder = d->directory().absolutePath();
        detailView = QCoreApplication::translate("QFileDialog", "Detail View");
        d->reject();
    });
    EXPECT_FALSE(dialogs.choose(&main(), request).has_value());
    EXPECT_EQ(accept, "Otvori");
    EXPECT_EQ(lookIn, "Traži u:");
    EXPECT_EQ(folder, QDir(home() + "jobs").absolutePath());
    // Qt's own words come from the nearest translation Debian has.
    if (QFile::exists(app::qtTranslationFolders("").last() + "/qtbase_hr.qm")) {
        EXPECT_NE(detailView, "Detail View");
    }
    main().changeLanguage("English");
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Detail View"), "Detail View");
}
