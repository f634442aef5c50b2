#pragma once

#include <QDialog>

#include "engine/text_table.h"

class QAction;
class QMenu;
class QPushButton;
class QTableView;

namespace app {

class TMainForm;
class TextTableModel;

// The band types dialog: a grid of the band type file's records (record 0,
// the "no band" type, fixed in the first row), edited in place and written
// back to the file by OK.
class TBands : public QDialog {
    Q_OBJECT
public:
    explicit TBands(TMainForm* main);
    ~TBands() override;

    [[nodiscard]] engine::TextTable& grid() { return m_grid; }

    // Reads the band type file into the grid.
    void loadGrid();

    // Handlers.
    void btnBandSaveClick();
    bool StringGrid1SetEditText(int row, int col, const QString& text);
    void Newbandtype1Click();
    void Deleterow1Click();
    // Prepares the pop-up menu for the cell at `pos` (view coordinates).
    void preparePopup(const QPoint& pos);

    // The controls, by their design names.
    QTableView* StringGrid1;
    QMenu* PopupMenu1;
    QAction* Newbandtype1;
    QAction* Deleterow1;
    QPushButton* btnBandSave;

private:
    TMainForm* m_main;
    engine::TextTable m_grid{5};
    TextTableModel* m_model = nullptr;
};

} // namespace app
