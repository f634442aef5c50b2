#include "app/bands_dialog.h"

#include <QAction>
#include <QCursor>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "app/grid_delegate.h"
#include "app/main_form.h"
#include "app/text_table_model.h"
#include "engine/band_grid.h"
#include "engine/input_tables.h"

namespace app {

TBands::TBands(TMainForm* main)
    : QDialog(main)
    , m_main(main)
{
    setObjectName("TBands");
    setWindowTitle("Bands");
    auto* v = new QVBoxLayout(this);
    m_model = new TextTableModel(m_grid, this);
    m_model->setFirstEditableRow(2);
    m_model->setCommit([this](int row, int col, const QString& t) { return StringGrid1SetEditText(row, col, t); });
    m_view = new QTableView;
    m_view->setObjectName("StringGrid1");
    m_view->setModel(m_model);
    m_view->setItemDelegate(new GridDelegate(m_view));
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->verticalHeader()->setDefaultSectionSize(20);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    const int widths[] = {83, 138, 130, 115, 61};
    for (int c = 0; c < 5; ++c)
        m_view->setColumnWidth(c, widths[c]);
    connect(m_view, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
        preparePopup(p);
        m_popup->popup(m_view->viewport()->mapToGlobal(p));
    });
    v->addWidget(m_view, 1);

    m_popup = new QMenu(this);
    m_popup->setObjectName("PopupMenu1");
    QAction* add = m_popup->addAction("New band type");
    add->setObjectName("Newbandtype1");
    connect(add, &QAction::triggered, this, &TBands::Newbandtype1Click);
    m_popup->addSeparator();
    QAction* del = m_popup->addAction("Delete row");
    del->setObjectName("Deleterow1");
    connect(del, &QAction::triggered, this, &TBands::Deleterow1Click);

    auto* ok = new QPushButton("OK");
    ok->setObjectName("btnBandSave");
    connect(ok, &QPushButton::clicked, this, [this] {
        btnBandSaveClick();
        accept();
    });
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(ok);
    v->addLayout(row);
    resize(600, 320);

    const char* headings[] = {"Name", "Thickness", "Mark", "Extra length", "Price"};
    for (int c = 0; c < 5; ++c)
        m_grid.setTitle(c, headings[c]);
    main->registerCaptionWindow(9, this);
    main->LoadLanguage(main->languageName(), 9);
    loadGrid();
}

TBands::~TBands()
{
    // The grid view reads m_grid, which goes before the child widgets would.
    delete m_view;
    delete m_model;
}

void TBands::loadGrid()
{
    // The main window names a missing or damaged file when it reads it; the
    // dialog shows what the file holds.
    engine::TextTable read(engine::kBandColumns);
    (void)engine::readBandGrid(m_main->programFolder() + "Config/bands.vlb", read);
    for (int c = 0; c < engine::kBandColumns; ++c)
        read.setTitle(c, m_grid.title(c));
    m_grid = read;
    m_model->refresh();
}

void TBands::btnBandSaveClick()
{
    const engine::Status saved = engine::writeBandGrid(m_main->programFolder() + "Config/bands.vlb", m_grid);
    if (!saved.ok()) {
        // The edits stay in the grid; the old file is untouched.
        m_main->showStatus(saved, Messenger::Kind::Error);
        return;
    }
    loadGrid();
    m_main->LoadBandTypes();
}

bool TBands::StringGrid1SetEditText(int row, int col, const QString& text)
{
    if (col == engine::BandCol::Thickness || col == engine::BandCol::Extra) {
        const engine::CellCheck c = engine::checkLengthCell(text.toStdString(), m_main->unit());
        if (c.msg != engine::Msg::Ok) {
            m_main->showMessage(c.msg, Messenger::Kind::Error, Messenger::Buttons::Ok, QCursor::pos());
            return false;
        }
        m_grid.setCell(row, col, c.text);
        return true;
    }
    m_grid.setCell(row, col, text.toStdString());
    return true;
}

void TBands::preparePopup(const QPoint& pos)
{
    const QModelIndex i = m_view->indexAt(pos);
    if (i.isValid())
        m_view->setCurrentIndex(i);
    findChild<QAction*>("Deleterow1")->setEnabled(engine::canDeleteBandRow(m_grid));
}

void TBands::Newbandtype1Click()
{
    m_grid.appendRow();
    m_model->refresh();
    m_view->setFocus();
}

void TBands::Deleterow1Click()
{
    const int row = m_view->currentIndex().row() + 1;
    if (row < 2 || m_grid.cell(row, engine::BandCol::Name).empty())
        return;
    if (m_main->showMessage(engine::Msg::ConfirmDeleteBandType, Messenger::Kind::Confirmation,
                            Messenger::Buttons::YesNo, QCursor::pos()) != Messenger::Answer::Yes)
        return;
    engine::deleteBandRow(m_grid, row);
    m_model->refresh();
}

} // namespace app
