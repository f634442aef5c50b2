#pragma once

#include <QWidget>

#include "engine/text_table.h"

class QAction;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QMenu;
class QTableView;
class QToolButton;

namespace app {

class TextTableModel;

// One input table of the input page: a bold caption, a row of entry fields
// with their labels above them, the grid of the table's rows and a row of
// tool buttons under it; a right click on a row offers "Delete row". The
// sheet panel and the part panel are both one of these; the page adds the
// entry fields and buttons that make them differ.
class TablePanel : public QWidget {
    Q_OBJECT
public:
    // `names` are the design names of the panel, its caption, its grid, the
    // grid's pop-up menu and the menu's delete item. The grid shows `table`
    // (not owned), which must outlive the panel's grid.
    struct Names {
        const char* panel;
        const char* caption;
        const char* grid;
        const char* popupMenu;
        const char* deleteRow;
    };
    TablePanel(const Names& names, const QString& caption, engine::TextTable& table, QWidget* parent = nullptr);

    [[nodiscard]] QLabel* caption() const { return m_caption; }
    [[nodiscard]] QTableView* grid() const { return m_grid; }
    [[nodiscard]] TextTableModel* model() const { return m_model; }
    [[nodiscard]] QMenu* popupMenu() const { return m_popup; }
    [[nodiscard]] QAction* deleteRowAction() const { return m_deleteRow; }
    [[nodiscard]] QGridLayout* entryRow() const { return m_entry; }

    // Puts `label` above `field` in the next column of the entry row.
    void addEntry(QLabel* label, QWidget* field);
    // Adds a tool button with an icon of the program's resources to the row
    // under the grid.
    [[nodiscard]] QToolButton* addButton(const char* name, const QString& icon);

signals:
    // The left button was pressed on the grid below its last row.
    void emptyGridClicked();
    // The panel or the grid's visible area changed its size.
    void resized();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showPopup(const QPoint& pos);

    QLabel* m_caption;
    QGridLayout* m_entry;
    int m_entryColumns = 0;
    TextTableModel* m_model;
    QTableView* m_grid;
    QWidget* m_viewport;  // compared in eventFilter, also while the grid is being destroyed
    QHBoxLayout* m_buttons;
    QMenu* m_popup;
    QAction* m_deleteRow;
};

} // namespace app
