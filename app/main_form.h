#pragma once

#include <memory>
#include <optional>
#include <string>

#include <QMainWindow>
#include <QStringList>

#include "app/captions.h"
#include "app/file_commands.h"
#include "app/messenger.h"
#include "app/run_commands.h"
#include "engine/language_table.h"
#include "engine/msg.h"
#include "engine/project.h"
#include "engine/settings.h"
#include "engine/statistics_captions.h"
#include "engine/band_type_table.h"
#include "engine/text_table.h"

class QPrinter;
class QTabWidget;

namespace app {

class ArchivePage;
class DiagramPage;
class FileCommands;
class InputPage;
class MainMenus;
class ManualPage;
class PrintCommands;
class TPrnEx;
class ReportPage;
class SettingsStore;
class TAboutBox;
class BandTypeModel;
class TBands;
class TFSettings;
class TImportExcel;
class TPrProp;
class TwndProgress;
class TExportDXF;
class TcstLabel;
class TfrmLabelItemSetup;
class TfrmLabelPrint;

// Where the program finds its files and keeps its settings; the tests give
// temporary ones.
struct StartupOptions {
    std::string programFolder;  // ends in '/'
    QString settingsFile;
    QStringList arguments;      // without the program name
};
[[nodiscard]] StartupOptions defaultStartupOptions(const QStringList& arguments);

// The one top-level window: owns the open project, the language table, the
// running settings and the band type table, and the pages that show them. It
// runs the commands of the menus and the tool bar, switches the pages and
// refreshes them when the project changes; each page builds its own controls.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(const StartupOptions& options, QWidget* parent = nullptr);
    ~TMainForm() override;

    // Empty when the start went through; else the reason the program must end.
    [[nodiscard]] const QString& startError() const { return m_startError; }

    // The dialogs, created after the main window in their fixed order.
    void setDialogs(TFSettings* settings, TAboutBox* about, TBands* bands);
    void setDetailsDialog(TPrProp* details) { m_details = details; }
    void setDxfDialog(TExportDXF* dxf) { m_dxf = dxf; }
    [[nodiscard]] TExportDXF* dxfDialog() const { return m_dxf; }
    void setImportDialog(TImportExcel* import) { m_import = import; }
    [[nodiscard]] TImportExcel* importDialog() const { return m_import; }
    // The store of the persistent values (the import dialog keeps its own
    // remembered values there).
    [[nodiscard]] SettingsStore& settingsStore() { return *m_store; }
    [[nodiscard]] TFSettings* settingsDialog() const { return m_fsettings; }
    [[nodiscard]] TAboutBox* aboutBox() const { return m_aboutBox; }
    [[nodiscard]] TBands* bandsDialog() const { return m_bands; }
    [[nodiscard]] TPrProp* detailsDialog() const { return m_details; }
    // The label dialogs; File → Print labels works from then on.
    void setLabelDialogs(TcstLabel* designer, TfrmLabelPrint* print, TfrmLabelItemSetup* itemSetup);
    [[nodiscard]] TfrmLabelPrint* labelPrintDialog() const { return m_labelPrint; }
    [[nodiscard]] TcstLabel* labelDesigner() const { return m_labelDesigner; }
    [[nodiscard]] TfrmLabelItemSetup* labelItemSetup() const { return m_labelItemSetup; }
    // File → Print labels: the label printing dialog, modally.
    void Printlabels1Click();

    [[nodiscard]] engine::Project& project() { return m_project; }
    [[nodiscard]] engine::Settings& settings() { return m_settings; }
    [[nodiscard]] const engine::LanguageTable& language() const { return m_lang; }
    [[nodiscard]] const std::string& languageName() const { return m_languageName; }
    [[nodiscard]] const std::string& programFolder() const { return m_programFolder; }
    [[nodiscard]] engine::LengthUnit unit() const;
    [[nodiscard]] QString text(int entry) const;
    [[nodiscard]] QString text(engine::Msg m) const { return text(engine::number(m)); }
    // Units and totals that the table and statistics captions show.
    [[nodiscard]] engine::HeadingValues headingValues() const;

    // A message box with a language-table entry; `at` places it (the
    // main-window place when omitted).
    Messenger::Answer showMessage(engine::Msg msg, Messenger::Kind kind = Messenger::Kind::Error,
                                  Messenger::Buttons buttons = Messenger::Buttons::Ok,
                                  std::optional<QPoint> at = std::nullopt);
    // A message with its detail texts (a file name, a row number) below it.
    void showStatus(const engine::Status& status, Messenger::Kind kind);
    // The text showStatus shows.
    [[nodiscard]] QString statusText(const engine::Status& status) const;
    Messenger::Answer showText(const QString& text, Messenger::Kind kind, Messenger::Buttons buttons,
                               std::optional<QPoint> at);
    // Top-left corner of the main window's message boxes.
    [[nodiscard]] QPoint messagePlace() const;

    // Reads Lang/<name>.vll into the table and fills the captions of caption
    // group `group`. False when the file cannot be opened.
    bool LoadLanguage(const std::string& name, int group);
    // The settings dialog's language change: every group, unit captions.
    void changeLanguage(const std::string& name);
    // A window whose captions a caption group fills, with its controls.
    void registerCaptionWindow(int group, QWidget* window, CaptionTargets targets);
    [[nodiscard]] const CaptionWindows& captionWindows() const { return m_captionWindows; }

    // The band types of Config/bands.vlb into the band choosers.
    void LoadBandTypes();
    [[nodiscard]] const engine::BandTypeTable& bandTypes() const { return m_bandTypes; }
    // The band types as the part table's band choosers list them.
    [[nodiscard]] BandTypeModel* bandModel() const { return m_bandModel; }

    // Banding switch: entry fields, grid columns.
    void applyBanding();
    // The default sheet size into the sheet entry fields.
    void setSheetEntrySize(const QString& len, const QString& wid);
    // Table captions, headings with units, grids after the tables changed.
    void refreshTables();
    void refreshUnitCaptions();

    // --- automatic run, result refresh (main_form_results.cpp) ---
    // Builds the report, the bill and the statistics from the result and
    // switches the pages and commands to "a result is shown".
    void ShowResults();
    [[nodiscard]] bool resultPageVisible() const;
    // Shows or hides the layout page; the DXF export goes with it (it needs
    // a shown result).
    void setResultPageVisible(bool visible);
    [[nodiscard]] bool manualPageVisible() const;
    [[nodiscard]] int reportLineCount() const;
    void applyReportFont();
    // The runs and the stock commands (RunCommands).
    void Button4Click() { m_run->Button4Click(); }
    void BitBtn15Click() { m_run->BitBtn15Click(); }
    void TableMinusClick() { m_run->TableMinusClick(); }
    [[nodiscard]] TwndProgress* progressWindow() { return m_run->progressWindow(); }
    // Draws the layout page again from the result, regrouping the cut
    // sheets; toFirstGroup shows the first group (after a new result).
    void refreshDiagram(bool toFirstGroup);
    // A new result: the next refresh (ShowResults) shows the first group.
    void firstDiagramGroup();

    // Whether the project has changes that are in no file: set by every
    // edit of the tables, the details and by a new result; cleared by Save,
    // Open and New.
    [[nodiscard]] bool projectChanged() const { return m_changed; }
    void markProjectChanged() { m_changed = true; }
    void setProjectChanged(bool changed) { m_changed = changed; }

    // --- the File menu's project commands (FileCommands) ---
    [[nodiscard]] FileCommands& fileCommands() { return *m_files; }
    bool openProjectFile(const QString& fileName, bool addMode = false)
    {
        return m_files->openProjectFile(fileName, addMode);
    }
    void Pocninovo1Click() { m_files->Pocninovo1Click(); }
    void Ucitaj1Click() { m_files->Ucitaj1Click(); }
    void Dodaj1Click() { m_files->Dodaj1Click(); }
    void Sacuvaj1Click() { m_files->Sacuvaj1Click(); }
    void SacuvajKao1Click() { m_files->SacuvajKao1Click(); }
    void toXMLClick() { m_files->toXMLClick(); }
    void fromXMLClick() { m_files->fromXMLClick(); }
    void Detalji1Click() { m_files->Detalji1Click(); }

    // --- the other commands ---
    void Exit1Click();
    void Settings1Click();
    void Kantiranje1Click();
    // File, import from a spreadsheet: the import dialog, modally.
    void fromExcelClick();
    void Ref1Click();
    void Homepage1Click();
    void About1Click();
    void PrinterSetup1Click();
    // Export, DXF file: the DXF export dialog, modal.
    void toDXFClick();
    // The printer that the printer set-up chooses and the print commands use.
    [[nodiscard]] QPrinter& printer();
    // The print commands (print_commands.*) and their options panel.
    [[nodiscard]] PrintCommands& printCommands() { return *m_print; }
    void setPrintOptions(TPrnEx* panel);
    [[nodiscard]] TPrnEx* printOptions() const { return m_prnEx; }
    [[nodiscard]] DiagramPage* diagramPage() const { return pag3; }

    // The menus and the tool bar.
    [[nodiscard]] MainMenus& menus() { return *m_menus; }
    // The page control and its pages, by their design names.
    QTabWidget* PageControl1;
    InputPage* pag1;
    ManualPage* pag2;
    DiagramPage* pag3;
    ReportPage* pag4;
    ArchivePage* Arhiva;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildPages();
    void connectCommands();
    // Every edit of the two tables marks the project changed.
    void watchTableEdits();
    void chooseLanguageAtStart();
    void readSettingsAtStart();
    void writeSettings();

    StartupOptions m_options;
    std::string m_programFolder;
    QString m_startError;
    bool m_writeAtClose = true;
    bool m_changed = false;
    // Above 0 while the tables are shown again without being changed.
    int m_showingTables = 0;

    engine::Project m_project;
    engine::Settings m_settings;
    engine::Settings m_defaults;
    engine::LanguageTable m_lang;
    std::string m_languageName;
    engine::BandTypeTable m_bandTypes;
    BandTypeModel* m_bandModel = nullptr;
    std::unique_ptr<SettingsStore> m_store;
    std::unique_ptr<QPrinter> m_printer;
    CaptionWindows m_captionWindows;
    std::unique_ptr<MainMenus> m_menus;
    std::unique_ptr<FileCommands> m_files;
    std::unique_ptr<RunCommands> m_run;

    TFSettings* m_fsettings = nullptr;
    TAboutBox* m_aboutBox = nullptr;
    TBands* m_bands = nullptr;
    TPrProp* m_details = nullptr;
    TImportExcel* m_import = nullptr;
    TPrnEx* m_prnEx = nullptr;
    PrintCommands* m_print = nullptr;
    TExportDXF* m_dxf = nullptr;
    TcstLabel* m_labelDesigner = nullptr;
    TfrmLabelPrint* m_labelPrint = nullptr;
    TfrmLabelItemSetup* m_labelItemSetup = nullptr;
};

} // namespace app
