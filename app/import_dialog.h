#pragma once

#include <array>
#include <memory>
#include <string>

#include <QDialog>

#include "sheets/table_import.h"
#include "sheets/workbook.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableView;
class QTableWidget;

namespace app {

class TMainForm;
class WorksheetModel;

// The spreadsheet import: two halves, the left one for the sheet table and
// the right one for the part table. Per half the user links a workbook file
// and one of its worksheets, which is shown read-only; a block of up to four
// columns selected there (or cells copied from any spreadsheet program)
// goes into the preview, and Import copies the preview into the table. The
// workbook, the worksheet and the four column ranges of each half are kept
// in the settings store and, with XlAutoPref 0 or 1, loaded again when the
// dialog opens. The workbook file is read once per link or load and never
// kept open.
class TImportExcel : public QDialog {
    Q_OBJECT
public:
    explicit TImportExcel(TMainForm* main);
    ~TImportExcel() override;

    // One half's controls and state (0: sheets, 1: parts).
    struct Half {
        sheets::ImportTarget target = sheets::ImportTarget::Sheets;
        // Settings names of the remembered values.
        const char* workbookKey = "";
        const char* worksheetKey = "";
        std::array<const char*, 4> rangeKeys{};
        // The workbook path (" " when none) and the worksheet name.
        std::string workbookPath = " ";
        std::string worksheetName;
        std::shared_ptr<const sheets::Workbook> workbook;
        const sheets::Worksheet* sheet = nullptr;
        sheets::ImportPreview preview;

        QLabel* title = nullptr;
        QLabel* workbookLabel = nullptr;
        QLabel* worksheetLabel = nullptr;
        QLabel* WorkB = nullptr;
        QLabel* WorkS = nullptr;
        QComboBox* sheetBox = nullptr;
        QTableView* sheetGrid = nullptr;
        WorksheetModel* sheetModel = nullptr;
        std::array<QLabel*, 4> headings{};
        QTableWidget* StringGrid = nullptr;
        QPushButton* LinkBtn = nullptr;
        QPushButton* PreviewBtn = nullptr;
        QPushButton* ImportBtn = nullptr;
        QPushButton* PasteBtn = nullptr;
    };

    // FormShow: reads the remembered values and, unless XlAutoPref is 2,
    // loads the remembered workbooks into the previews.
    void FormShow();
    // FormClose: writes the remembered values.
    void FormClose();
    // Link: a workbook file chosen in the file dialog, its first worksheet
    // (or the remembered one of the same workbook) shown.
    void LinkBtnClick(int half);
    // Links `path` without asking (the file dialog's answer).
    bool linkWorkbook(int half, const QString& path);
    // The worksheet chooser: shows worksheet `index` of the linked workbook.
    void chooseWorksheet(int half, int index);
    // Preview: the block selected in the worksheet grid into the preview.
    void PreviewBtnClick(int half);
    // Cells copied from a spreadsheet program (tab-separated lines) into the preview.
    void PasteBtnClick(int half);
    void pasteText(int half, const QString& text);
    // Import: the preview into the table.
    void ImportBtnClick(int half);
    // "Done".
    void BitBtn8Click();

    [[nodiscard]] Half& half(int k) { return m_halves[static_cast<std::size_t>(k)]; }

    // The controls, by their design names (the parts half's workbook and
    // worksheet labels are WorkBE and WorkSE).
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QLabel* Label8;
    QLabel* Label9;
    QLabel* Label10;
    QLabel* Label11;
    QLabel* Label12;
    QLabel* Label13;
    QLabel* Label14;
    QLabel* WorkB;
    QLabel* WorkS;
    QLabel* WorkBE;
    QLabel* WorkSE;
    QTableWidget* StringGrid1;
    QTableWidget* StringGrid2;
    QPushButton* LinkBtn1;
    QPushButton* LinkBtn2;
    QPushButton* PreviewBtn1;
    QPushButton* PreviewBtn2;
    QPushButton* ImportBtn1;
    QPushButton* ImportBtn2;
    QPushButton* PasteBtn1;
    QPushButton* PasteBtn2;
    QComboBox* SheetBox1;
    QComboBox* SheetBox2;
    QTableView* SheetGrid1;
    QTableView* SheetGrid2;
    QPushButton* BitBtn8;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void done(int result) override;

private:
    QWidget* buildHalf(int k);
    // The paste buttons' caption in the current language.
    void showPasteCaptions();
    // Loads the remembered workbook of half k (the automatic load).
    void loadRemembered(int k);
    // Shows the workbook and worksheet of half k, or none.
    void showLink(int k);
    void showPreview(int k);
    // Puts a selected or pasted block into half k's preview.
    void takeBlock(int k, const sheets::CellBlock& block);
    void showStatus(const engine::Status& status);

    TMainForm* m_main;
    std::array<Half, 2> m_halves;
    bool m_closing = false;
};

} // namespace app
