#include "app/bands_dialog.h"

#include <QAction>
#include <QCursor>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "app/band_type_model.h"
#include "app/captions.h"
#include "app/grid_delegate.h"
#include "app/main_form.h"
#include "engine/band_types.h"

namespace app {

TBands::TBands(TMainForm* main)
    : QDialog(main)
    , m_main(main)
{
    setObjectName("TBands");
    setWindowTitle("Bands");
    auto* v = new QVBoxLayout(this);
    m_model = new BandTypeModel(m_table, this);
    m_model->setCommit([this](int record, engine::BandField field, const QString& t) {
        return StringGrid1SetEditText(record, static_cast<int>(field), t);
    });
    StringGrid1 = new QTableView;
    StringGrid1->setObjectName("StringGrid1");
    StringGrid1->setModel(m_model);
    StringGrid1->setItemDelegate(new GridDelegate(StringGrid1));
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->verticalHeader()->setDefaultSectionSize(20);
    StringGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    const int widths[] = {83, 138, 130, 115, 61};
    for (int c = 0; c < 5; ++c)
        StringGrid1->setColumnWidth(c, widths[c]);
    connect(StringGrid1, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
        preparePopup(p);
        PopupMenu1->popup(StringGrid1->viewport()->mapToGlobal(p));
    });
    v->addWidget(StringGrid1, 1);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName("PopupMenu1");
    Newbandtype1 = PopupMenu1->addAction("New band type");
    Newbandtype1->setObjectName("Newbandtype1");
    connect(Newbandtype1, &QAction::triggered, this, &TBands::Newbandtype1Click);
    PopupMenu1->addSeparator();
    Deleterow1 = PopupMenu1->addAction("Delete row");
    Deleterow1->setObjectName("Deleterow1");
    connect(Deleterow1, &QAction::triggered, this, &TBands::Deleterow1Click);

    btnBandSave = new QPushButton("OK");
    btnBandSave->setObjectName("btnBandSave");
    connect(btnBandSave, &QPushButton::clicked, this, [this] {
        btnBandSaveClick();
        accept();
    });
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(btnBandSave);
    v->addLayout(row);
    resize(600, 320);

    CaptionTargets targets;
    targets.add({StringGrid1, Deleterow1, Newbandtype1});
    main->registerCaptionWindow(9, this, std::move(targets));
    main->LoadLanguage(main->languageName(), 9);
    loadGrid();
}

TBands::~TBands()
{
    // The grid view reads m_table, which goes before the child widgets would.
    delete StringGrid1;
    delete m_model;
}

void TBands::loadGrid()
{
    // The main window names a missing or damaged file when it reads it; the
    // dialog shows what the file holds.
    engine::BandTypeTable read;
    (void)read.load(engine::bandTypesPath(m_main->programFolder()));
    setTable(read);
}

void TBands::setTable(const engine::BandTypeTable& table)
{
    m_table = table;
    m_model->refresh();
}

void TBands::btnBandSaveClick()
{
    const engine::Status saved = m_table.save(engine::bandTypesPath(m_main->programFolder()));
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
    const engine::Msg msg = m_table.editField(row, static_cast<engine::BandField>(col), text.toStdString(), m_main->unit());
    if (msg == engine::Msg::Ok)
        return true;
    m_main->showMessage(msg, Messenger::Kind::Error, Messenger::Buttons::Ok, QCursor::pos());
    return false;
}

void TBands::preparePopup(const QPoint& pos)
{
    const QModelIndex i = StringGrid1->indexAt(pos);
    if (i.isValid())
        StringGrid1->setCurrentIndex(i);
    Deleterow1->setEnabled(m_table.canRemove());
}

void TBands::Newbandtype1Click()
{
    m_table.appendEmpty();
    m_model->refresh();
    StringGrid1->setFocus();
}

void TBands::Deleterow1Click()
{
    const int record = StringGrid1->currentIndex().row();
    if (!m_table.isRemovable(record))
        return;
    if (m_main->showMessage(engine::Msg::ConfirmDeleteBandType, Messenger::Kind::Confirmation,
                            Messenger::Buttons::YesNo, QCursor::pos()) != Messenger::Answer::Yes)
        return;
    m_table.remove(record);
    m_model->refresh();
}

} // namespace app
