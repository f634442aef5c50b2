#pragma once

#include <optional>

#include <QWidget>

#include "engine/input_tables.h"
#include "engine/text_table.h"

class QAction;
class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QModelIndex;
class QPushButton;
class QTableView;
class QToolButton;

namespace app {

class CaptionTargets;
class GridDelegate;
class StatisticsPanel;
class TMainForm;
class TablePanel;

// The input page (pag1): the sheet table with the algorithm buttons under it
// on the left, the part table with the statistics under it on the right.
// Rows are typed into the entry fields and added with Enter; cells are
// edited in place and checked; rows can be deleted and tables cleared. The
// commands of the algorithm buttons belong to the main window.
class InputPage : public QWidget {
    Q_OBJECT
public:
    explicit InputPage(TMainForm& main);

    // Everything that shows the tables: rows, column titles, captions with
    // their totals, the part grid's layout and the statistics.
    void refreshTables();
    // The table captions with the quantity totals.
    void showTableCaptions();
    // The captions that carry units or totals: statistics and tables.
    void showUnitCaptions();
    // The band types were read again: the chooser of the entry row selects
    // its first item.
    void bandTypesChanged();
    // Banding on or off: entry fields and band columns shown or hidden.
    void applyBanding(bool on);
    // The default sheet size into the sheet entry fields.
    void setSheetEntrySize(const QString& len, const QString& wid);
    void addCaptionTargets(CaptionTargets& targets) const;

    // Handlers (the controls' names and events).
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

    // The controls, by their design names.
    TablePanel* panMainSheet;
    QLabel* Label15;
    QLabel* Label2;
    QLabel* Label6;
    QLabel* Label3;
    QLabel* Label1;
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    QLineEdit* Edit4;
    QLineEdit* Edit1;
    QTableView* StringGrid1;
    QToolButton* BitBtn3;
    QMenu* PopupMenu1;
    QAction* Deleterow2;
    QWidget* panMainAlg;
    QPushButton* Button4;
    QPushButton* Button1;
    QPushButton* BitBtn15;
    QPushButton* TableMinus;
    TablePanel* panMainPart;
    QLabel* Label21;
    QLabel* Label10;
    QLabel* Label11;
    QLabel* Label48;
    QLabel* Label52;
    QLabel* Label53;
    QLabel* Label12;
    QLabel* Label42;
    QLineEdit* Edit5;
    QLineEdit* Edit6;
    QLineEdit* Edit16;
    QLineEdit* Edit7;
    QLineEdit* Edit17;
    QLineEdit* Edit8;
    QComboBox* ComboBox2;
    QTableView* StringGrid2;
    QToolButton* BitBtn4;
    QToolButton* BitBtn16;
    QMenu* PopupMenu2;
    QAction* Deleterow1;
    StatisticsPanel* panMainStat;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildSheetSide();
    QWidget* buildPartSide();
    QLineEdit* entryField(const char* name, int maxLength, const QString& initial = {});
    // Enter and the other keys that move through the entry fields; true when
    // the key was taken.
    bool entryKey(QLineEdit* edit, QKeyEvent* key);
    void lengthFieldExit(QLineEdit* edit, std::optional<QPoint> at);
    // A KD or KV field: "0", "1" or "2" moves on to `next`.
    void bandCountEntered(QLineEdit* edit, QLineEdit* next);
    // Length and quantity cells are checked alike in both grids; false when
    // the text was refused (the message is shown).
    bool setCheckedCell(engine::TextTable& table, int row, int col, engine::CellKind kind, const QString& text);
    void emptyGridClicked(QTableView* grid);
    // The band chooser over a band cell, its list open.
    void openBandChooser(const QModelIndex& cell);
    // Column widths of the part grid and the entry fields above it.
    void layoutPartArea();
    [[nodiscard]] QPoint besideField(QWidget* w, int dx, int dy) const;
    [[nodiscard]] engine::BandValues bandValues(int index) const;

    TMainForm& m_main;
    GridDelegate* m_partDelegate;
    bool m_bandingOn = false;
    bool m_lockAllNext = true;
};

} // namespace app
