#include "app/main_form.h"

#include <clocale>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QUrl>

#include "app/about_box.h"
#include "app/archive_page.h"
#include "app/band_type_model.h"
#include "app/bands_dialog.h"
#include "app/command_check.h"
#include "app/diagram_page.h"
#include "app/diagram_view.h"
#include "app/dxf_export_dialog.h"
#include "app/import_dialog.h"
#include "app/input_page.h"
#include "app/main_menus.h"
#include "app/label_print_dialog.h"
#include "app/manual_page.h"
#include "app/print_commands.h"
#include "app/print_dialog.h"
#include "app/progress_window.h"
#include "app/qt_text.h"
#include "app/qt_translations.h"
#include "app/report_page.h"
#include "app/settings_dialog.h"
#include "app/settings_store.h"
#include "app/table_panel.h"
#include "app/text_table_model.h"
#include "app/window_placement.h"
#include "engine/band_types.h"
#include "engine/language_choice.h"
#include "engine/paths.h"
#include "engine/settings_edit.h"

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

    m_bandModel = new BandTypeModel(m_bandTypes, this);
    m_menus = std::make_unique<MainMenus>(*this);
    m_files = std::make_unique<FileCommands>(*this);
    m_print = new PrintCommands(*this);
    m_run = std::make_unique<RunCommands>(*this);
    buildPages();
    connectCommands();

    // Numbers are typed and shown with a full stop whatever the locale says.
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::c());

    PageControl1->setTabVisible(PageControl1->indexOf(pag2), false);
    PageControl1->setTabVisible(PageControl1->indexOf(pag3), false);

    m_store = std::make_unique<SettingsStore>(options.settingsFile);
    m_defaults = engine::Settings::defaults(m_programFolder);
    m_settings = m_defaults;

    CaptionTargets targets;
    m_menus->addCaptionTargets(targets);
    targets.add({pag1, pag2, pag3, pag4, Arhiva});
    pag1->addCaptionTargets(targets);
    pag3->addCaptionTargets(targets);
    pag4->addCaptionTargets(targets);
    Arhiva->addCaptionTargets(targets);
    registerCaptionWindow(1, this, std::move(targets));
    chooseLanguageAtStart();
    if (!m_startError.isEmpty())
        return;

    readSettingsAtStart();
    // The language above filled the captions before the settings were read:
    // the units they carry are the settings' ones only now.
    refreshTables();
    refreshUnitCaptions();
    m_files->setCaption(text(engine::Msg::NewProjectName));
    m_project.clearResult();
    pag1->BitBtn15->setEnabled(false);
    pag1->TableMinus->setEnabled(false);
    m_files->setPrintEnabled(false);

    if (!options.arguments.isEmpty() && !options.arguments.first().isEmpty())
        openProjectFile(options.arguments.first());

    LoadBandTypes();
    setSheetEntrySize(qs(engine::FormatLength(m_settings.DefSheetWidth, unit())),
                      qs(engine::FormatLength(m_settings.DefSheetHeight, unit())));
    m_files->RefreshRecentMenu();
    applyBanding();
    Arhiva->layoutArchive();
}

TMainForm::~TMainForm()
{
    // The grids and their models read the project's tables, which are
    // members and go before the child widgets would.
    delete takeCentralWidget();
}

void TMainForm::buildPages()
{
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    setCentralWidget(PageControl1);
    PageControl1->addTab(pag1 = new InputPage(*this), "Unos i statistike");
    PageControl1->addTab(pag2 = new ManualPage, "Manuelni alg.");
    PageControl1->addTab(pag3 = new DiagramPage(m_project, m_settings, m_lang), "Pregled i stampanje");
    PageControl1->addTab(pag4 = new ReportPage, "Izvestaji");
    PageControl1->addTab(Arhiva = new ArchivePage(*this), "Arhiva");
    PageControl1->setCurrentWidget(pag1);
    // Entering the layout page starts without a selection.
    connect(PageControl1, &QTabWidget::currentChanged, this, [this](int index) {
        if (PageControl1->widget(index) == pag3)
            pag3->Image5->clearSelection();
        // Entering the archive lists its folder anew.
        if (PageControl1->widget(index) == Arhiva)
            Arhiva->BitBtn17Click();
    });
}

void TMainForm::connectCommands()
{
    MainMenus& m = *m_menus;
    const std::pair<QAction*, void (TMainForm::*)()> commands[] = {
        {m.Pocninovo1, &TMainForm::Pocninovo1Click},   {m.Ucitaj1, &TMainForm::Ucitaj1Click},
        {m.Dodaj1, &TMainForm::Dodaj1Click},           {m.Sacuvaj1, &TMainForm::Sacuvaj1Click},
        {m.SacuvajKao1, &TMainForm::SacuvajKao1Click}, {m.toXML, &TMainForm::toXMLClick},
        {m.fromXML, &TMainForm::fromXMLClick},         {m.Detalji1, &TMainForm::Detalji1Click},
        {m.PrinterSetup1, &TMainForm::PrinterSetup1Click}, {m.Exit1, &TMainForm::Exit1Click},
        {m.Settings1, &TMainForm::Settings1Click},     {m.Kantiranje1, &TMainForm::Kantiranje1Click},
        {m.fromExcel, &TMainForm::fromExcelClick},
        {m.Ref1, &TMainForm::Ref1Click},               {m.Homepage1, &TMainForm::Homepage1Click},
        {m.About1, &TMainForm::About1Click},
    };
    // The DXF export is enabled with a shown result (setResultPageVisible).
    connect(m.toDXF, &QAction::triggered, this, &TMainForm::toDXFClick);
    for (const auto& [action, handler] : commands) {
        connect(action, &QAction::triggered, this, handler);
        action->setEnabled(true);
    }
    const auto recent = m.recentItems();
    for (int i = 0; i < static_cast<int>(recent.size()); ++i)
        connect(recent[static_cast<size_t>(i)], &QAction::triggered, this, [this, i] { m_files->recentClick(i); });
    connect(pag1->Button4, &QPushButton::clicked, this, &TMainForm::Button4Click);
    pag2->setMainForm(this);
    connect(pag1->Button1, &QPushButton::clicked, pag2, &ManualPage::Button1Click);
    connect(pag1->BitBtn15, &QPushButton::clicked, this, &TMainForm::BitBtn15Click);
    connect(pag1->TableMinus, &QPushButton::clicked, this, &TMainForm::TableMinusClick);
    // Print1 stays as the result leaves it (enabled after a shown result).
    connect(m.Print1, &QAction::triggered, m_print, &PrintCommands::Print1Click);
    connect(pag3->BitBtn8, &QPushButton::clicked, m_print, &PrintCommands::BitBtn8Click);
    connect(pag4->Stampaj, &QToolButton::clicked, m_print, &PrintCommands::StampajClick);
    connect(pag4->StampajCene, &QToolButton::clicked, m_print, &PrintCommands::StampajCeneClick);
    connect(pag1->BitBtn1, &QToolButton::clicked, m_print, &PrintCommands::BitBtn1Click);
    connect(pag1->BitBtn2, &QToolButton::clicked, m_print, &PrintCommands::BitBtn2Click);
    connect(pag3->Image5, &DiagramView::recut, this, [this] {
        ShowResults();
        markProjectChanged();
    });
    watchTableEdits();
}

void TMainForm::watchTableEdits()
{
    const auto edited = [this] {
        if (m_showingTables == 0)
            m_changed = true;
    };
    for (TablePanel* panel : {pag1->panMainSheet, pag1->panMainPart}) {
        const TextTableModel* model = panel->model();
        connect(model, &QAbstractItemModel::dataChanged, this, edited);
        connect(model, &QAbstractItemModel::modelReset, this, edited);
        connect(model, &QAbstractItemModel::rowsInserted, this, edited);
        connect(model, &QAbstractItemModel::rowsRemoved, this, edited);
    }
}

engine::LengthUnit TMainForm::unit() const { return engine::lengthUnitFromInt(m_settings.JedMere); }

QString TMainForm::text(int entry) const { return qs(m_lang.text(entry)); }

engine::HeadingValues TMainForm::headingValues() const
{
    return {engine::areaUnitFromInt(m_settings.AreaStyle), unit(), m_project.sheetQtyTotal, m_project.partQtyTotal};
}

void TMainForm::setDialogs(TFSettings* settings, TAboutBox* about, TBands* bands)
{
    m_fsettings = settings;
    m_aboutBox = about;
    m_bands = bands;
}

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
    showText(statusText(status), kind, Messenger::Buttons::Ok, messagePlace());
}

QString TMainForm::statusText(const engine::Status& status) const
{
    QString t = text(status.msg);
    // Details (a file name, a row number) follow the message text.
    for (const std::string& arg : status.args)
        t += (t.isEmpty() ? "" : "\n") + qs(arg);
    // The cause, when known (a full disk, a read-only file), closes the box.
    if (status.reason != engine::Msg::Ok)
        t += (t.isEmpty() ? "" : "\n") + text(status.reason);
    return t;
}

Messenger::Answer TMainForm::showText(const QString& text, Messenger::Kind kind, Messenger::Buttons buttons,
                                      std::optional<QPoint> at)
{
    return Messenger::current().show(this, kind, text, buttons, at);
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
        m_settings.ProjectPath = engine::programDataPath(m_programFolder, "Projects/");
    // A shared program folder keeps no user's projects: the user's own
    // Projects folder is made for the save dialogs to open in.
    (void)engine::programDataPath(m_programFolder, "Projects/", engine::DataUse::Write);
    // The program starts untitled; the last project's folder is only where
    // the file dialogs open, so a plain Save cannot replace that project.
    m_files->setLastFolder(m_settings.ProjectPath);
    for (const std::string& name : broken)
        showText(text(engine::Msg::CannotConvertValue) + ": " + qs(name), Messenger::Kind::Warning,
                 Messenger::Buttons::Ok, std::nullopt);
    applyReportFont();
    restoreWindowPlacement(*this, m_settings, QSize(kDesignWidth, kDesignHeight));
}

// ---------------------------------------------------------------------------
// Language, captions, tables

void TMainForm::registerCaptionWindow(int group, QWidget* window, CaptionTargets targets)
{
    m_captionWindows.add(group, window, std::move(targets));
}

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
    m_captionWindows.apply(group, m_lang);
    if (group == 1) {
        // Qt's own texts and the buttons of message boxes and file dialogs.
        installQtTranslation(name, qtTranslationFolders(m_programFolder));
        applyDialogTexts(m_lang);
        refreshTables();
        refreshUnitCaptions();
    }
    return true;
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

void TMainForm::refreshUnitCaptions() { pag1->showUnitCaptions(); }

void TMainForm::refreshTables()
{
    // Showing the tables again changes nothing in them.
    ++m_showingTables;
    pag1->refreshTables();
    --m_showingTables;
}

void TMainForm::setSheetEntrySize(const QString& len, const QString& wid) { pag1->setSheetEntrySize(len, wid); }

void TMainForm::applyBanding() { pag1->applyBanding(m_settings.Kantiranje); }

void TMainForm::LoadBandTypes()
{
    // A file that cannot be read leaves the table as it was; a damaged one
    // gives its whole records.
    const engine::Status read = m_bandTypes.load(engine::bandTypesPath(m_programFolder));
    if (!read.ok())
        showStatus(read, Messenger::Kind::Error);
    m_bandModel->refresh();
    pag1->bandTypesChanged();
}

// ---------------------------------------------------------------------------
// Pages

bool TMainForm::resultPageVisible() const { return PageControl1->isTabVisible(PageControl1->indexOf(pag3)); }

void TMainForm::setResultPageVisible(bool visible)
{
    PageControl1->setTabVisible(PageControl1->indexOf(pag3), visible);
    QAction* dxf = m_menus->toDXF;
    dxf->setEnabled(visible && !m_project.result.elements.empty() && hasCommandHandler(dxf));
}

bool TMainForm::manualPageVisible() const { return PageControl1->isTabVisible(PageControl1->indexOf(pag2)); }

// ---------------------------------------------------------------------------
// Commands

void TMainForm::toDXFClick()
{
    if (m_dxf)
        m_dxf->exec();
}

void TMainForm::Exit1Click()
{
    // Ends the program without the close handler: nothing is written.
    m_writeAtClose = false;
    if (!close())
        m_writeAtClose = true;  // the close was cancelled: the program goes on
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    // A run in progress would be cut off with its result: it is asked to
    // stop, and the window stays.
    if (m_run->cancelRunning()) {
        event->ignore();
        return;
    }
    if (m_startError.isEmpty() && !m_files->mayLeaveProject()) {
        event->ignore();
        return;
    }
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
    m_settings.ProjectPath = m_files->projectPathSetting();
    storeWindowPlacement(*this, m_settings);
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

void TMainForm::fromExcelClick()
{
    if (m_import)
        m_import->exec();
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

void TMainForm::setLabelDialogs(TcstLabel* designer, TfrmLabelPrint* print, TfrmLabelItemSetup* itemSetup)
{
    m_labelDesigner = designer;
    m_labelPrint = print;
    m_labelItemSetup = itemSetup;
    print->setDialogs(designer, itemSetup);
    connect(m_menus->Printlabels1, &QAction::triggered, this, &TMainForm::Printlabels1Click);
    m_menus->Printlabels1->setEnabled(true);
}

void TMainForm::Printlabels1Click()
{
    if (m_labelPrint)
        TPrintDialogEx::run(*m_labelPrint);
}

void TMainForm::setPrintOptions(TPrnEx* panel)
{
    m_prnEx = panel;
    m_print->setOptionsPanel(panel);
}

void TMainForm::PrinterSetup1Click()
{
    // Chooses the printer and the page layout of the printouts; prints nothing.
    QPageSetupDialog dialog(&printer(), this);
    dialog.setObjectName("PageSetupDialog");
    // Cancel in the words of the program's other dialogs.
    for (QDialogButtonBox* box : dialog.findChildren<QDialogButtonBox*>())
        if (QPushButton* cancel = box->button(QDialogButtonBox::Cancel))
            cancel->setText(Messenger::buttonTexts().cancel);
    dialog.exec();
}

} // namespace app
