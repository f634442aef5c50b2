#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QMainWindow>
#include <QStringList>

#include "app/messenger.h"
#include "engine/caption_groups.h"
#include "engine/input_tables.h"
#include "engine/language_table.h"
#include "engine/msg.h"
#include "engine/project.h"
#include "engine/settings.h"
#include "engine/text_table.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPrinter;
class QPushButton;
class QTabWidget;
class QTableView;
class QTableWidget;
class QTextEdit;
class QToolButton;
class QWidget;

namespace app {

class SettingsStore;
class TextTableModel;
class GridDelegate;
class TFSettings;
class TAboutBox;
class TBands;
class TPrProp;
class TwndProgress;

// Where the program finds its files and keeps its settings; the tests give
// temporary ones.
struct StartupOptions {
    std::string programFolder;  // ends in '/'
    QString settingsFile;
    QStringList arguments;      // without the program name
};
[[nodiscard]] StartupOptions defaultStartupOptions(const QStringList& arguments);

// The one top-level window: owns the open project, the language table, the
// running settings and the band type table; its pages show the input tables,
// the manual mode, the layouts, the reports and the archive.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(const StartupOptions& options, QWidget* parent = nullptr);
    ~TMainForm() override;

    // Empty when the start went through; else the reason the program must end.
    [[nodiscard]] const QString& startError() const { return m_startError; }

    // The dialogs, created after the main window in their fixed order.
    void setDialogs(TFSettings* settings, TAboutBox* about, TBands* bands);
    [[nodiscard]] TFSettings* settingsDialog() const { return m_fsettings; }
    [[nodiscard]] TAboutBox* aboutBox() const { return m_aboutBox; }
    [[nodiscard]] TBands* bandsDialog() const { return m_bands; }

    [[nodiscard]] engine::Project& project() { return m_project; }
    [[nodiscard]] engine::Settings& settings() { return m_settings; }
    [[nodiscard]] const engine::LanguageTable& language() const { return m_lang; }
    [[nodiscard]] const std::string& languageName() const { return m_languageName; }
    [[nodiscard]] const std::string& programFolder() const { return m_programFolder; }
    [[nodiscard]] engine::LengthUnit unit() const;
    [[nodiscard]] QString text(int entry) const;
    [[nodiscard]] QString text(engine::Msg m) const { return text(engine::number(m)); }

    // A message box with a language-table entry; `at` places it (the
    // main-window place when omitted).
    Messenger::Answer showMessage(engine::Msg msg, Messenger::Kind kind = Messenger::Kind::Error,
                                  Messenger::Buttons buttons = Messenger::Buttons::Ok,
                                  std::optional<QPoint> at = std::nullopt);
    // A message with its detail texts (a file name, a row number) below it.
    void showStatus(const engine::Status& status, Messenger::Kind kind);
    Messenger::Answer showText(const QString& text, Messenger::Kind kind, Messenger::Buttons buttons,
                               std::optional<QPoint> at);
    // Top-left corner of the main window's message boxes.
    [[nodiscard]] QPoint messagePlace() const;

    // Reads Lang/<name>.vll into the table and fills the captions of caption
    // group `group`. False when the file cannot be opened.
    bool LoadLanguage(const std::string& name, int group);
    // The settings dialog's language change: every group, unit captions.
    void changeLanguage(const std::string& name);
    // A window whose captions a caption group fills.
    void registerCaptionWindow(int group, QWidget* window);

    // The band types of Config/bands.vlb into the band choosers.
    void LoadBandTypes();
    [[nodiscard]] const engine::TextTable& bandTypes() const { return m_bandTypes; }

    // Banding switch: entry fields, grid columns.
    void applyBanding();
    // Lays the part grid's columns and the part entry fields out again.
    void layoutPartArea();
    // The default sheet size into the sheet entry fields.
    void setSheetEntrySize(const QString& len, const QString& wid);
    // Table captions, headings with units, grids after the tables changed.
    void refreshTables();
    void refreshUnitCaptions();
    // The totals of the result (as the project holds them) in the statistics panel.
    void showStatistics();

    // --- automatic run, result refresh, report page (main_form_results.cpp) ---
    // Builds the report, the bill and the statistics from the result and
    // switches the pages and commands to "a result is shown".
    void ShowResults();
    [[nodiscard]] bool resultPageVisible() const;
    void setResultPageVisible(bool visible);
    [[nodiscard]] bool manualPageVisible() const;
    [[nodiscard]] int reportLineCount() const;
    void applyReportFont();
    // "AUTOMATSKI": checks and sorts the tables, runs the automatic engine in
    // the progress window (Cancel keeps the project and the generator as
    // they were) and shows the result.
    void Button4Click();
    // "DOBAR VISAK" and "ODUZIMANJE TABLI": once per shown result each.
    void BitBtn15Click();
    void TableMinusClick();
    // The progress window of the automatic run (made on first use).
    [[nodiscard]] TwndProgress* progressWindow();
    [[nodiscard]] QTextEdit* reportBox() const { return m_report; }
    [[nodiscard]] QTextEdit* billBox() const { return m_bill; }
    // For the hidden --screenshot option: runs the automatic command on the
    // open project and saves the progress window and the report page.
    void screenshotAutomaticRun(const QString& folder);

    // --- layout page (main_form_diagram.cpp) ---
    // Draws the layout page again from the result, regrouping the cut
    // sheets; toFirstGroup shows the first group (after a new result).
    void refreshDiagram(bool toFirstGroup);
    // A new result: the next refresh (ShowResults) shows the first group.
    void firstDiagramGroup();

    // --- project commands (main_form_files.cpp) ---
    // Opens a project file as the current project (command line, recent
    // files, the open commands), or adds its rows in add mode. False when the
    // file could not be opened at all (nothing changed then).
    bool openProjectFile(const QString& fileName, bool addMode = false);
    void RefreshRecentMenu();
    // Puts a name at the top of the recent list and refreshes the menu.
    void PushRecentFile(const std::string& name);
    // Menu text of one recent entry, at most 250 pixels wide in the label font.
    [[nodiscard]] QString ShortenRecentName(const std::string& name) const;
    void Pocninovo1Click();
    void Ucitaj1Click();
    void Dodaj1Click();
    void Sacuvaj1Click();
    void SacuvajKao1Click();
    void recent0Click() { recentClick(0); }
    void recent1Click() { recentClick(1); }
    void recent2Click() { recentClick(2); }
    void recent3Click() { recentClick(3); }
    void recent4Click() { recentClick(4); }
    void toXMLClick();
    void fromXMLClick();
    void Detalji1Click();
    void setDetailsDialog(TPrProp* details) { m_details = details; }
    [[nodiscard]] TPrProp* detailsDialog() const { return m_details; }

    // --- handlers (names of the controls and their events) ---
    void Exit1Click();
    void Settings1Click();
    void Kantiranje1Click();
    void Ref1Click();
    void Homepage1Click();
    void About1Click();
    void PrinterSetup1Click();

    void Edit1KeyDown();
    void Edit2KeyDown();
    void Edit3KeyDown();
    void Edit2Exit();
    void Edit3Exit();
    void Edit4KeyPress();
    void Edit5KeyPress();
    void Edit6KeyPress();
    void Edit6Exit();
    void Edit7KeyPress();
    void Edit7Exit();
    void Edit16KeyPress();
    void Edit17KeyPress();
    void Edit8KeyPress();
    void BitBtn3Click();
    void BitBtn4Click();
    void BitBtn16Click();
    void Deleterow1Click();
    void Deleterow2Click();
    bool StringGrid1SetEditText(int row, int col, const QString& text);
    bool StringGrid2SetEditText(int row, int col, const QString& text);
    void StringGrid2SelectCell(int row, int col);
    void ComboBox1Change(int row, int col, int bandIndex);

    // Widgets the dialogs and the tests reach.
    [[nodiscard]] QTableView* sheetGrid() const { return m_grid1; }
    [[nodiscard]] QTableView* partGrid() const { return m_grid2; }
    [[nodiscard]] QTabWidget* pages() const { return m_pages; }
    [[nodiscard]] QLineEdit* field(const char* name) const;
    [[nodiscard]] QComboBox* bandChooser() const { return m_comboBox2; }
    // The printer that the printer set-up chooses and the print commands use.
    [[nodiscard]] QPrinter& printer();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Length and quantity cells are checked alike in both grids; false when
    // the text was refused (the message is shown).
    bool setCheckedCell(engine::TextTable& table, int row, int col, engine::CellKind kind, const QString& text);
    void buildMenus();
    void buildToolBar();
    void buildPages();
    QWidget* buildInputPage();
    QWidget* buildSheetPanel();
    QWidget* buildPartPanel();
    QWidget* buildStatPanel();
    QWidget* buildArchivePage();
    // --- automatic run, result refresh, report page ---
    QWidget* buildReportPage();
    QWidget* buildReportPanel(const char* panelName, const char* captionName, QTextEdit* box,
                              const char* printName, const char* clearName);
    void showRichText(QTextEdit* box, const engine::RichText& text);
    TwndProgress* m_progress = nullptr;

    // --- layout page ---
    QWidget* buildDiagramPage();
    // Two offcuts were re-cut on the drawing.
    void diagramRecut();
    class DiagramView* m_image5 = nullptr;

    // --- project commands ---
    // Connects the File menu's project commands and the recent entries.
    void connectProjectCommands();
    void recentClick(int k);
    // Writes the project: asks for a name when `ask` is on or the project
    // is untitled; an XML export keeps the project's own name. True when
    // the file was written.
    bool saveProcedure(bool ask, bool xml);
    // Shows an open or save dialog starting in the project's folder.
    [[nodiscard]] std::optional<QString> chooseProjectFile(bool save, const QString& filter, const QString& suffix);
    void setPrintEnabled(bool enabled);
    // The layouts page and the two stock commands go with a result that no
    // longer belongs to the tables.
    void hideShownResult();
    TPrProp* m_details = nullptr;

    void layoutArchive();
    void chooseLanguageAtStart();
    void readSettingsAtStart();
    void applyWindowPlacement();
    void applyCaptions(int group);
    [[nodiscard]] engine::HeadingValues headingValues() const;
    void writeSettings();
    void setCaption(const QString& projectName);

    // Input page helpers.
    bool entryKey(QLineEdit* edit, QKeyEvent* key);
    void lengthFieldExit(QLineEdit* edit, std::optional<QPoint> at);
    void sheetRowsChanged();
    void partRowsChanged();
    void gridContextMenu(QTableView* grid, const QPoint& pos);
    void gridEmptyClick(QTableView* grid);
    [[nodiscard]] QPoint besideField(QWidget* w, int dx, int dy) const;
    [[nodiscard]] engine::BandValues bandValues(int index) const;
    int bandIndexOf(const QString& name) const;

    StartupOptions m_options;
    std::string m_programFolder;
    QString m_startError;
    bool m_writeAtClose = true;

    engine::Project m_project;
    engine::Settings m_settings;
    engine::Settings m_defaults;
    engine::LanguageTable m_lang;
    std::string m_languageName;
    engine::TextTable m_bandTypes{5};
    std::unique_ptr<SettingsStore> m_store;
    std::unique_ptr<QPrinter> m_printer;
    std::map<int, QWidget*> m_captionWindows;
    bool m_lockAllNext = true;

    TFSettings* m_fsettings = nullptr;
    TAboutBox* m_aboutBox = nullptr;
    TBands* m_bands = nullptr;

    QTabWidget* m_pages = nullptr;
    QWidget* m_pag1 = nullptr;
    QWidget* m_pag2 = nullptr;
    QWidget* m_pag3 = nullptr;
    QWidget* m_pag4 = nullptr;
    QWidget* m_arhiva = nullptr;
    QTableView* m_grid1 = nullptr;
    QTableView* m_grid2 = nullptr;
    QWidget* m_grid2Viewport = nullptr;  // compared in eventFilter, also while the grid is being destroyed
    TextTableModel* m_model1 = nullptr;
    TextTableModel* m_model2 = nullptr;
    GridDelegate* m_delegate2 = nullptr;
    QComboBox* m_comboBox2 = nullptr;
    QLabel* m_label15 = nullptr;
    QLabel* m_label21 = nullptr;
    QWidget* m_partPanel = nullptr;
    QTextEdit* m_report = nullptr;
    QTextEdit* m_bill = nullptr;
    QTableWidget* m_archiveGrid = nullptr;
    QWidget* m_archiveMain = nullptr;
    QToolButton* m_lockAllButton = nullptr;
    std::vector<QAction*> m_recent;
    QAction* m_n6 = nullptr;
    QMenu* m_deleteRowMenu1 = nullptr;
    QMenu* m_deleteRowMenu2 = nullptr;
};

} // namespace app
