#pragma once

#include <QDialog>

#include "engine/band_type_table.h"

class QAction;
class QMenu;
class QPushButton;
class QTableView;

namespace app {

class TMainForm;
class BandTypeModel;

// The band types dialog: a grid of the band type file's records (record 0,
// the "no band" type, fixed in the first row), edited in place and written
// back to the file by OK. Edits not confirmed stay in the dialog's own table
// until the next OK or a reload.
class TBands : public QDialog {
    Q_OBJECT
public:
    explicit TBands(TMainForm* main);
    ~TBands() override;

    // The records as edited in the dialog (record k in grid row k).
    [[nodiscard]] engine::BandTypeTable& table() { return m_table; }
    // Shows `table` in the grid, e.g. the converted edits after a unit
    // change whose file could not be written.
    void setTable(const engine::BandTypeTable& table);

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
    engine::BandTypeTable m_table;
    BandTypeModel* m_model = nullptr;
};

} // namespace app
