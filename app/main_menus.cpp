#include "app/main_menus.h"

#include <QAction>
#include <QFontMetrics>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include "app/captions.h"
#include "app/command_check.h"
#include "app/qt_text.h"

namespace app {

namespace {

QAction* item(QMenu* menu, const char* name, const QString& caption, QKeySequence shortcut = {})
{
    auto* a = new MenuCommand(caption, menu);
    menu->addAction(a);
    a->setObjectName(name);
    a->setShortcut(shortcut);
    // Enabled by the main window when it connects the command.
    a->setEnabled(false);
    return a;
}

QMenu* submenu(QMenu* parent, const char* name, const QString& caption)
{
    QMenu* m = parent->addMenu(caption);
    m->setObjectName(name);
    m->menuAction()->setObjectName(QString(name) + "Action");
    return m;
}

QMenu* topMenu(QMainWindow& window, const char* name, const QString& caption)
{
    QMenu* m = window.menuBar()->addMenu(caption);
    m->setObjectName(name);
    return m;
}

} // namespace

MainMenus::MainMenus(QMainWindow& window)
{
    buildMenus(window);
    buildToolBar(window);
}

void MainMenus::buildMenus(QMainWindow& window)
{
    File1 = topMenu(window, "File1", "File");
    Pocninovo1 = item(File1, "Pocninovo1", "Nov projekat", QKeySequence("Ctrl+N"));
    File1->addSeparator();
    Ucitaj1 = item(File1, "Ucitaj1", "Ucitaj projekat", QKeySequence("Ctrl+O"));
    Dodaj1 = item(File1, "Dodaj1", "Dodaj projekat");
    Sacuvaj1 = item(File1, "Sacuvaj1", "Sacuvaj projekat", QKeySequence("Ctrl+S"));
    SacuvajKao1 = item(File1, "SacuvajKao1", "Sacuvaj projekat kao..");
    Export1 = submenu(File1, "Export1", "Export to");
    toXML = item(Export1, "toXML", "XML file");
    toDXF = item(Export1, "toDXF", "DXF file");
    Import1 = submenu(File1, "Import1", "Import from");
    fromExcel = item(Import1, "fromExcel", "Excel file");
    fromXML = item(Import1, "fromXML", "XML file");
    File1->addSeparator();
    Detalji1 = item(File1, "Detalji1", "Detalji o projektu");
    File1->addSeparator();
    Print1 = item(File1, "Print1", "Print...", QKeySequence("Ctrl+P"));
    PrinterSetup1 = item(File1, "PrinterSetup1", "Printer Setup");
    Printlabels1 = item(File1, "Printlabels1", "Print labels");
    N6 = File1->addSeparator();
    N6->setObjectName("N6");
    QAction** recent[] = {&recent0, &recent1, &recent2, &recent3, &recent4};
    for (int i = 0; i < 5; ++i) {
        *recent[i] = new MenuCommand(File1);
        File1->addAction(*recent[i]);
        (*recent[i])->setObjectName(QString("recent%1").arg(i));
        (*recent[i])->setVisible(false);
    }
    File1->addSeparator();
    Exit1 = item(File1, "Exit1", "Exit");

    Options1 = topMenu(window, "Options1", "Options");
    Settings1 = item(Options1, "Settings1", "Settings");
    Kantiranje1 = item(Options1, "Kantiranje1", "Kantiranje");

    Help1 = topMenu(window, "Help1", "Help");
    Ref1 = item(Help1, "Ref1", "Velmora reference", QKeySequence(Qt::Key_F1));
    Help1->addSeparator();
    Homepage1 = item(Help1, "Homepage1", "Velmora homepage");
    Help1->addSeparator();
    About1 = item(Help1, "About1", "About");
}

void MainMenus::buildToolBar(QMainWindow& window)
{
    ToolBar1 = window.addToolBar("Tools");
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->setMovable(false);
    ToolBar1->setIconSize(QSize(22, 22));
    const auto button = [this](const char* name, QAction* source, const QIcon& icon) {
        auto* b = new QToolButton(ToolBar1);
        b->setObjectName(name);
        b->setIcon(icon);
        b->setAutoRaise(true);
        b->setEnabled(source->isEnabled());
        QObject::connect(b, &QToolButton::clicked, source, &QAction::trigger);
        QObject::connect(source, &QAction::changed, b, [b, source] { b->setEnabled(source->isEnabled()); });
        ToolBar1->addWidget(b);
        return b;
    };
    QStyle* st = window.style();
    ToolButton1 = button("ToolButton1", Pocninovo1, st->standardIcon(QStyle::SP_FileIcon));
    ToolBar1->addSeparator();
    ToolButton2 = button("ToolButton2", Ucitaj1, st->standardIcon(QStyle::SP_DialogOpenButton));
    ToolButton7 = button("ToolButton7", Dodaj1, QIcon(":/icons/add.svg"));
    ToolBar1->addSeparator();
    ToolButton4 = button("ToolButton4", Sacuvaj1, st->standardIcon(QStyle::SP_DialogSaveButton));
    ToolButton5 = button("ToolButton5", SacuvajKao1, QIcon(":/icons/save_as.svg"));
    ToolBar1->addSeparator();
    ToolButton8 = button("ToolButton8", Print1, QIcon(":/icons/print.svg"));
    ToolButton13 = button("ToolButton13", Detalji1, QIcon(":/icons/details.svg"));
    ToolBar1->addSeparator();
    SpeedButton1 = button("SpeedButton1", fromExcel, QIcon(":/icons/spreadsheet.svg"));
    SpeedButton1->setFixedWidth(45);
    ToolBar1->addSeparator();
    ToolButton10 = button("ToolButton10", Settings1, QIcon(":/icons/settings.svg"));
}

void MainMenus::showRecent(const project_io::RecentList& list, const QFont& font)
{
    const QFontMetrics metrics(font);
    const auto items = recentItems();
    for (size_t k = 0; k < list.size(); ++k) {
        items[k]->setVisible(!list[k].empty());
        if (list[k].empty())
            continue;
        const QString shortened = qs(project_io::ShortenRecentName(
            list[k], [&metrics](const std::string& s) { return metrics.horizontalAdvance(qs(s)); }));
        items[k]->setText(QString("&%1 ").arg(k + 1) + QString(shortened).replace("&", "&&"));
    }
    N6->setVisible(!list[0].empty());
}

void MainMenus::addCaptionTargets(CaptionTargets& targets) const
{
    targets.add({File1,        Pocninovo1,  Ucitaj1,     Dodaj1,      Sacuvaj1,    SacuvajKao1, Export1,
                 toXML,        toDXF,       Import1,     fromExcel,   fromXML,     Detalji1,    Print1,
                 PrinterSetup1, Printlabels1, Exit1,     Options1,    Settings1,   Kantiranje1, Help1,
                 Ref1,         Homepage1,   About1,      ToolButton1, ToolButton2, ToolButton7, ToolButton4,
                 ToolButton5,  ToolButton8, ToolButton13, SpeedButton1, ToolButton10});
}

} // namespace app
