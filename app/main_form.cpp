#include "app/qt_text.h"
#include "app/main_form.h"

#include <clocale>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>

#include "app/about_box.h"
#include "app/bands_dialog.h"
#include "app/captions.h"
#include "app/settings_dialog.h"
#include "app/settings_store.h"
#include "app/text_table_model.h"
#include "engine/caption_groups.h"
#include "engine/language_choice.h"
#include "engine/paths.h"
#include "engine/settings_edit.h"
#include "project/project_file.h"

// The icons are compiled into the static library, whose resource
// registration the linker would otherwise drop.
static void initIcons() { Q_INIT_RESOURCE(icons); }

namespace app {

namespace {

constexpr int kDesignWidth = 795;
constexpr int kDesignHeight = 590;


} // namespace

StartupOptions defaultStartupOptions(const QStringList& arguments)
{
    return {engine::programFolder(), SettingsStore::defaultFileName(), arguments};
}

TMainForm::TMainForm(const StartupOptions& options, QWidget* parent)
    : QMainWindow(parent)
    , m_options(options)
    , m_programFolder(options.programFolder)
{
    initIcons();
    setObjectName("TMainForm");
    setMinimumSize(kDesignWidth, kDesignHeight);
    resize(kDesignWidth, kDesignHeight);

    buildMenus();
    buildToolBar();
    buildPages();

    // Numbers are typed and shown with a full stop whatever the locale says.
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::c());

    m_pages->setTabVisible(m_pages->indexOf(m_pag2), false);
    m_pages->setTabVisible(m_pages->indexOf(m_pag3), false);

    m_store = std::make_unique<SettingsStore>(options.settingsFile);
    m_defaults = engine::Settings::defaults(m_programFolder);
    m_settings = m_defaults;

    registerCaptionWindow(1, this);
    chooseLanguageAtStart();
    if (!m_startError.isEmpty())
        return;

    readSettingsAtStart();
    setCaption(text(engine::Msg::NewProjectName));
    m_project.clearResult();
    findChild<QWidget*>("BitBtn15")->setEnabled(false);
    findChild<QWidget*>("TableMinus")->setEnabled(false);
    findChild<QAction*>("Print1")->setEnabled(false);

    if (!options.arguments.isEmpty() && !options.arguments.first().isEmpty())
        openProjectFile(options.arguments.first());

    LoadBandTypes();
    setSheetEntrySize(qs(engine::FormatLength(m_settings.DefSheetWidth, unit())),
                      qs(engine::FormatLength(m_settings.DefSheetHeight, unit())));
    RefreshRecentMenu();
    applyBanding();
    layoutArchive();
}

TMainForm::~TMainForm()
{
    // The grids and their models read the project's tables, which are
    // members and go before the child widgets would.
    delete takeCentralWidget();
    delete m_model1;
    delete m_model2;
}

void TMainForm::setDialogs(TFSettings* settings, TAboutBox* about, TBands* bands)
{
    m_fsettings = settings;
    m_aboutBox = about;
    m_bands = bands;
}

engine::LengthUnit TMainForm::unit() const { return engine::lengthUnitFromInt(m_settings.JedMere); }

QString TMainForm::text(int entry) const { return qs(m_lang.text(entry)); }

// ---------------------------------------------------------------------------
// Messages

QPoint TMainForm::messagePlace() const
{
    const QRect g = frameGeometry();
    return {g.left() + g.width() / 2 - 200, g.top() + g.height() / 2 - 100};
}

Messenger::Answer TMainForm::showMessage(engine::Msg msg, Messenger::Kind kind, Messenger::Buttons buttons,
                                         std::optional<QPoint> at)
{
    return showText(text(msg), kind, buttons, at ? at : std::optional<QPoint>(messagePlace()));
}

void TMainForm::showStatus(const engine::Status& status, Messenger::Kind kind)
{
    QString t = text(status.msg);
    // Details (a file name, a row number) follow the message text.
    for (const std::string& arg : status.args)
        t += (t.isEmpty() ? "" : "\n") + qs(arg);
    // The cause, when known (a full disk, a read-only file), closes the box.
    if (status.reason != engine::Msg::Ok)
        t += (t.isEmpty() ? "" : "\n") + text(status.reason);
    showText(t, kind, Messenger::Buttons::Ok, messagePlace());
}

Messenger::Answer TMainForm::showText(const QString& text, Messenger::Kind kind, Messenger::Buttons buttons,
                                      std::optional<QPoint> at)
{
    return Messenger::current().show(this, kind, text, buttons, at);
}

// ---------------------------------------------------------------------------
// Menus, tool bar, pages

void TMainForm::buildMenus()
{
    const auto action = [this](QMenu* menu, const char* name, const QString& caption, auto handler,
                               QKeySequence shortcut = {}) {
        auto* a = menu->addAction(caption);
        a->setObjectName(name);
        a->setShortcut(shortcut);
        if constexpr (!std::is_same_v<decltype(handler), std::nullptr_t>)
            connect(a, &QAction::triggered, this, handler);
        else
            a->setEnabled(false);  // its command arrives with the project commands
        return a;
    };
    const auto menu = [](QMenu* parent, const char* name, const QString& caption) {
        QMenu* m = parent->addMenu(caption);
        m->setObjectName(name);
        m->menuAction()->setObjectName(QString(name) + "Action");
        return m;
    };

    QMenu* file = menuBar()->addMenu("File");
    file->setObjectName("File1");
    action(file, "Pocninovo1", "Nov projekat", nullptr, QKeySequence("Ctrl+N"));
    file->addSeparator();
    action(file, "Ucitaj1", "Ucitaj projekat", nullptr, QKeySequence("Ctrl+O"));
    action(file, "Dodaj1", "Dodaj projekat", nullptr);
    action(file, "Sacuvaj1", "Sacuvaj projekat", nullptr, QKeySequence("Ctrl+S"));
    action(file, "SacuvajKao1", "Sacuvaj projekat kao..", nullptr);
    QMenu* exp = menu(file, "Export1", "Export to");
    action(exp, "toXML", "XML file", nullptr);
    action(exp, "toDXF", "DXF file", nullptr);
    QMenu* imp = menu(file, "Import1", "Import from");
    action(imp, "fromExcel", "Excel file", nullptr);
    action(imp, "fromXML", "XML file", nullptr);
    file->addSeparator();
    action(file, "Detalji1", "Detalji o projektu", nullptr);
    file->addSeparator();
    action(file, "Print1", "Print...", nullptr, QKeySequence("Ctrl+P"));
    action(file, "PrinterSetup1", "Printer Setup", &TMainForm::PrinterSetup1Click);
    action(file, "Printlabels1", "Print labels", nullptr);
    m_n6 = file->addSeparator();
    m_n6->setObjectName("N6");
    for (int i = 0; i < 5; ++i) {
        QAction* a = file->addAction(QString());
        a->setObjectName(QString("recent%1").arg(i));
        a->setVisible(false);
        m_recent.push_back(a);
    }
    file->addSeparator();
    action(file, "Exit1", "Exit", &TMainForm::Exit1Click);

    QMenu* options = menuBar()->addMenu("Options");
    options->setObjectName("Options1");
    action(options, "Settings1", "Settings", &TMainForm::Settings1Click);
    action(options, "Kantiranje1", "Kantiranje", &TMainForm::Kantiranje1Click);

    QMenu* help = menuBar()->addMenu("Help");
    help->setObjectName("Help1");
    action(help, "Ref1", "Velmora reference", &TMainForm::Ref1Click, QKeySequence(Qt::Key_F1));
    help->addSeparator();
    action(help, "Homepage1", "Velmora homepage", &TMainForm::Homepage1Click);
    help->addSeparator();
    action(help, "About1", "About", &TMainForm::About1Click);
    connectProjectCommands();
}

void TMainForm::buildToolBar()
{
    QToolBar* bar = addToolBar("Tools");
    bar->setObjectName("ToolBar1");
    bar->setMovable(false);
    bar->setIconSize(QSize(22, 22));
    const auto button = [this, bar](const char* name, const char* actionName, const QIcon& icon) {
        auto* source = findChild<QAction*>(actionName);
        auto* b = new QToolButton(bar);
        b->setObjectName(name);
        b->setIcon(icon);
        b->setAutoRaise(true);
        b->setEnabled(source->isEnabled());
        connect(b, &QToolButton::clicked, source, &QAction::trigger);
        connect(source, &QAction::changed, b, [b, source] { b->setEnabled(source->isEnabled()); });
        bar->addWidget(b);
        return b;
    };
    QStyle* st = style();
    button("ToolButton1", "Pocninovo1", st->standardIcon(QStyle::SP_FileIcon));
    bar->addSeparator();
    button("ToolButton2", "Ucitaj1", st->standardIcon(QStyle::SP_DialogOpenButton));
    button("ToolButton7", "Dodaj1", QIcon(":/icons/add.svg"));
    bar->addSeparator();
    button("ToolButton4", "Sacuvaj1", st->standardIcon(QStyle::SP_DialogSaveButton));
    button("ToolButton5", "SacuvajKao1", QIcon(":/icons/save_as.svg"));
    bar->addSeparator();
    button("ToolButton8", "Print1", QIcon(":/icons/print.svg"));
    button("ToolButton13", "Detalji1", QIcon(":/icons/details.svg"));
    bar->addSeparator();
    QToolButton* excel = button("SpeedButton1", "fromExcel", QIcon(":/icons/spreadsheet.svg"));
    excel->setFixedWidth(45);
    bar->addSeparator();
    button("ToolButton10", "Settings1", QIcon(":/icons/settings.svg"));
}

void TMainForm::buildPages()
{
    m_pages = new QTabWidget(this);
    m_pages->setObjectName("PageControl1");
    setCentralWidget(m_pages);

    m_pag1 = buildInputPage();
    m_pag1->setObjectName("pag1");
    m_pages->addTab(m_pag1, "Unos i statistike");

    // The manual mode's preview with its control column, filled by the
    // manual optimisation commands.
    m_pag2 = new QWidget;
    m_pag2->setObjectName("pag2");
    {
        auto* lay = new QHBoxLayout(m_pag2);
        auto* preview = new QWidget;
        preview->setObjectName("Image3");
        auto* column = new QWidget;
        column->setObjectName("panManual");
        column->setFixedWidth(99);
        lay->addWidget(preview, 1);
        lay->addWidget(column);
    }
    m_pages->addTab(m_pag2, "Manuelni alg.");

    m_pag3 = buildDiagramPage();
    m_pag3->setObjectName("pag3");
    m_pages->addTab(m_pag3, "Pregled i stampanje");

    m_pag4 = buildReportPage();
    m_pag4->setObjectName("pag4");
    m_pages->addTab(m_pag4, "Izvestaji");

    m_arhiva = buildArchivePage();
    m_arhiva->setObjectName("Arhiva");
    m_pages->addTab(m_arhiva, "Arhiva");
    m_pages->setCurrentWidget(m_pag1);
}

QWidget* TMainForm::buildArchivePage()
{
    auto* page = new QWidget;
    auto* lay = new QHBoxLayout(page);
    auto* browse = new QTreeView;
    browse->setObjectName("panArchiveBrowse");
    browse->setFixedWidth(172);
    m_archiveMain = new QWidget;
    m_archiveMain->setObjectName("panArchiveMain");
    m_archiveMain->installEventFilter(this);
    auto* v = new QVBoxLayout(m_archiveMain);
    v->setContentsMargins(0, 0, 0, 0);
    auto* headings = new QWidget;
    headings->setObjectName("panArchiveHeadings");
    headings->setFixedHeight(20);
    for (const auto& [name, caption] : {std::pair{"Label62", "IME ARHIVE"}, std::pair{"Label63", "POVRSINA"},
                                        std::pair{"Label64", "CENA"}, std::pair{"Label65", "UKUPNO"}}) {
        auto* l = new QLabel(caption, headings);
        l->setObjectName(name);
    }
    m_archiveGrid = new QTableWidget(0, 4);
    m_archiveGrid->setObjectName("StringGrid3");
    m_archiveGrid->horizontalHeader()->hide();
    m_archiveGrid->verticalHeader()->hide();
    m_archiveGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    v->addWidget(headings);
    v->addWidget(m_archiveGrid, 1);
    lay->addWidget(browse);
    lay->addWidget(m_archiveMain, 1);
    return page;
}

void TMainForm::layoutArchive()
{
    const int w = m_archiveGrid->width() - 22;
    const int widths[4] = {static_cast<int>(0.6 * w), static_cast<int>(0.15 * w), static_cast<int>(0.1 * w),
                           static_cast<int>(0.15 * w)};
    int left = 0;
    for (int c = 0; c < 4; ++c) {
        m_archiveGrid->setColumnWidth(c, qMax(0, widths[c]));
        if (c > 0) {
            auto* label = m_archiveMain->findChild<QLabel*>(QString("Label%1").arg(62 + c));
            const int textWidth = label->fontMetrics().horizontalAdvance(label->text());
            label->adjustSize();
            label->move(left + textWidth / 2, 2);
        }
        left += qMax(0, widths[c]);
    }
    m_archiveMain->findChild<QLabel*>("Label62")->move(4, 2);
}

// ---------------------------------------------------------------------------
// Start-up

void TMainForm::chooseLanguageAtStart()
{
    const auto stored = [this](const char* name) -> std::optional<std::string> {
        if (!m_store->contains(name))
            return std::nullopt;
        return m_store->ensureText(name, "");
    };
    const engine::StartupLanguage choice = engine::chooseStartupLanguage(stored("iLang"), stored("Jezik"));
    m_store->writeText("iLang", choice.iLang);
    if (!choice.createJezik.empty())
        m_store->writeText("Jezik", choice.createJezik);
    const std::string& name = choice.name;
    if (!LoadLanguage(name, 1)) {
        m_startError = QString("The language file %1 cannot be opened.")
                           .arg(qs(engine::LanguageTable::pathFor(m_programFolder, name)));
        return;
    }
    m_languageName = name;
}

void TMainForm::readSettingsAtStart()
{
    const std::vector<std::string> broken = m_store->readAll(m_settings, m_defaults);
    // The language chosen above stays; Jezik only names it for the next start.
    m_settings.Jezik = m_languageName;
    if (m_settings.ProjectPath.empty())
        m_settings.ProjectPath = m_programFolder + "Projects/";
    m_project.fileName = m_settings.ProjectPath;
    for (const std::string& name : broken)
        showText(text(engine::Msg::CannotConvertValue) + ": " + qs(name), Messenger::Kind::Warning,
                 Messenger::Buttons::Ok, std::nullopt);
    applyReportFont();
    applyWindowPlacement();
}

void TMainForm::applyWindowPlacement()
{
    if (!m_settings.frmpos)
        return;
    if (m_settings.frmstate != 2) {
        move(m_settings.frmleft, m_settings.frmtop);
        resize(qMax(m_settings.frmwidth, kDesignWidth), qMax(m_settings.frmheight, kDesignHeight));
    }
    if (m_settings.frmstate == 2)
        setWindowState(Qt::WindowMaximized);
    else if (m_settings.frmstate == 1)
        setWindowState(Qt::WindowMinimized);
}

// ---------------------------------------------------------------------------
// Language

void TMainForm::registerCaptionWindow(int group, QWidget* window) { m_captionWindows[group] = window; }

bool TMainForm::LoadLanguage(const std::string& name, int group)
{
    switch (m_lang.load(engine::LanguageTable::pathFor(m_programFolder, name))) {
    case engine::LanguageTable::LoadResult::CannotOpen: return false;
    case engine::LanguageTable::LoadResult::FileHasError:
        // The one text that cannot come from the language file.
        showText(engine::kLanguageFileHasError, Messenger::Kind::Error, Messenger::Buttons::Ok, std::nullopt);
        return true;
    case engine::LanguageTable::LoadResult::Ok: break;
    }
    applyCaptions(group);
    return true;
}

void TMainForm::applyCaptions(int group)
{
    const auto it = m_captionWindows.find(group);
    if (it == m_captionWindows.end() || !it->second)
        return;
    applyCaptionGroup(it->second, group, m_lang);
    if (group == 1) {
        // The pop-up menus are not under the main window's widgets.
        for (const char* name : {"Deleterow1", "Deleterow2"})
            if (auto* a = qobject_cast<QAction*>(findInWindow(this, name)))
                a->setText(text(291));
        refreshTables();
        refreshUnitCaptions();
    }
}

void TMainForm::changeLanguage(const std::string& name)
{
    if (!LoadLanguage(name, 1)) {
        showText(QString("The language file %1 cannot be opened.")
                     .arg(qs(engine::LanguageTable::pathFor(m_programFolder, name))),
                 Messenger::Kind::Error, Messenger::Buttons::Ok, std::nullopt);
        return;
    }
    refreshUnitCaptions();
    refreshTables();
    LoadLanguage(name, 2);
    if (m_fsettings)
        m_fsettings->languageChanged();
    LoadLanguage(name, 3);
    for (int g = 5; g <= 13; ++g)
        LoadLanguage(name, g);
    m_languageName = name;
    m_settings.Jezik = name;
}

engine::HeadingValues TMainForm::headingValues() const
{
    return {engine::areaUnitFromInt(m_settings.AreaStyle), unit(), m_project.sheetQtyTotal, m_project.partQtyTotal};
}

void TMainForm::refreshUnitCaptions()
{
    for (const engine::ComponentText& h : engine::rebuiltHeadings(m_lang, headingValues()))
        if (auto* l = qobject_cast<QLabel*>(findInWindow(this, h.component.c_str())))
            l->setText(qs(h.text));
}

// ---------------------------------------------------------------------------
// Pages

bool TMainForm::resultPageVisible() const { return m_pages->isTabVisible(m_pages->indexOf(m_pag3)); }

void TMainForm::setResultPageVisible(bool visible) { m_pages->setTabVisible(m_pages->indexOf(m_pag3), visible); }

bool TMainForm::manualPageVisible() const { return m_pages->isTabVisible(m_pages->indexOf(m_pag2)); }

int TMainForm::reportLineCount() const { return m_report->document()->blockCount(); }

// ---------------------------------------------------------------------------
// Commands

void TMainForm::Exit1Click()
{
    // Ends the program without the close handler: nothing is written.
    m_writeAtClose = false;
    close();
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    if (m_writeAtClose)
        writeSettings();
    if (m_store)
        m_store->close();
    event->accept();
    QApplication::quit();
}

void TMainForm::writeSettings()
{
    if (!m_store)
        return;
    m_settings.Jezik = m_languageName;
    m_settings.ProjectPath = m_project.fileName;
    const bool maximised = windowState() & Qt::WindowMaximized;
    const bool minimised = windowState() & Qt::WindowMinimized;
    m_settings.frmtop = pos().y();
    m_settings.frmleft = pos().x();
    m_settings.frmwidth = width();
    m_settings.frmheight = height();
    m_settings.frmstate = maximised ? 2 : minimised ? 1 : 0;
    m_store->writeAll(m_settings);
}

void TMainForm::Settings1Click()
{
    if (m_fsettings)
        m_fsettings->exec();
}

void TMainForm::Kantiranje1Click()
{
    if (m_bands)
        m_bands->exec();
    LoadBandTypes();
}

void TMainForm::Ref1Click()
{
    const QString doc = qs(engine::helpDocumentPath(m_programFolder, m_languageName));
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(doc)))
        showMessage(engine::Msg::CannotOpenDocument, Messenger::Kind::Plain);
}

void TMainForm::Homepage1Click()
{
    if (!QDesktopServices::openUrl(QUrl(qs(engine::homePageAddress()))))
        showMessage(engine::Msg::CannotOpenDocument, Messenger::Kind::Plain);
}

void TMainForm::About1Click()
{
    if (m_aboutBox)
        m_aboutBox->exec();
}

QPrinter& TMainForm::printer()
{
    // Made on first use: looking for printers takes time the start does not need.
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

void TMainForm::PrinterSetup1Click()
{
    QPrintDialog dialog(&printer(), this);
    dialog.exec();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_archiveMain && event->type() == QEvent::Resize)
        layoutArchive();
    // The column widths follow the grid's visible width, which also changes
    // when its scroll bar comes or goes.
    if ((watched == m_partPanel || (m_grid2Viewport && watched == m_grid2Viewport)) && event->type() == QEvent::Resize)
        layoutPartArea();
    if (auto* edit = qobject_cast<QLineEdit*>(watched)) {
        if (event->type() == QEvent::KeyPress && entryKey(edit, static_cast<QKeyEvent*>(event)))
            return true;
        if (event->type() == QEvent::FocusOut) {
            if (edit->objectName() == "Edit2")
                Edit2Exit();
            else if (edit->objectName() == "Edit3")
                Edit3Exit();
            else if (edit->objectName() == "Edit6")
                Edit6Exit();
            else if (edit->objectName() == "Edit7")
                Edit7Exit();
        }
    }
    if (event->type() == QEvent::MouseButtonPress) {
        for (QTableView* grid : {m_grid1, m_grid2}) {
            if (grid && watched == grid->viewport()) {
                const auto* me = static_cast<QMouseEvent*>(event);
                if (!grid->indexAt(me->position().toPoint()).isValid() && me->button() == Qt::LeftButton) {
                    gridEmptyClick(grid);
                    return true;
                }
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace app
