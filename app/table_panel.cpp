#include "app/table_panel.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/grid_header.h"
#include "app/text_table_model.h"

namespace app {

TablePanel::TablePanel(const Names& names, const QString& caption, engine::TextTable& table, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(names.panel);
    installEventFilter(this);
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);

    m_caption = new QLabel(caption);
    m_caption->setObjectName(names.caption);
    QFont bold = m_caption->font();
    bold.setBold(true);
    m_caption->setFont(bold);
    v->addWidget(m_caption);

    m_entry = new QGridLayout;
    m_entry->setHorizontalSpacing(3);
    m_entry->setVerticalSpacing(1);
    v->addLayout(m_entry);

    m_model = new TextTableModel(table, this);
    m_grid = new QTableView;
    m_grid->setObjectName(names.grid);
    // Before the model, so that the hidden column and the widths set below
    // are the new header's.
    m_grid->setHorizontalHeader(new GridHeader(m_grid));
    m_grid->setModel(m_model);
    m_grid->setColumnHidden(0, true);
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    m_grid->verticalHeader()->setDefaultSectionSize(20);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    m_grid->setWordWrap(false);
    // Narrow columns keep the start and the end of their texts and
    // headings; the tooltips hold the whole text.
    m_grid->setTextElideMode(Qt::ElideMiddle);
    m_viewport = m_grid->viewport();
    m_viewport->installEventFilter(this);
    connect(m_grid, &QWidget::customContextMenuRequested, this, &TablePanel::showPopup);
    v->addWidget(m_grid, 1);

    m_buttons = new QHBoxLayout;
    m_buttons->addStretch(1);
    v->addLayout(m_buttons);

    m_popup = new QMenu(this);
    m_popup->setObjectName(names.popupMenu);
    m_deleteRow = m_popup->addAction("Delete row");
    m_deleteRow->setObjectName(names.deleteRow);
}

void TablePanel::addEntry(QLabel* label, QWidget* field)
{
    // A caption wider than its field wraps rather than running into the
    // next one.
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    m_entry->addWidget(label, 0, m_entryColumns);
    m_entry->addWidget(field, 1, m_entryColumns);
    ++m_entryColumns;
}

QToolButton* TablePanel::addButton(const char* name, const QString& icon)
{
    auto* b = new QToolButton;
    b->setObjectName(name);
    b->setIcon(QIcon(icon));
    b->setIconSize(QSize(20, 20));
    // Before the stretch that keeps the buttons on the left.
    m_buttons->insertWidget(m_buttons->count() - 1, b);
    return b;
}

void TablePanel::showPopup(const QPoint& pos)
{
    const QModelIndex i = m_grid->indexAt(pos);
    if (!i.isValid())
        return;
    m_grid->setCurrentIndex(i);
    m_popup->popup(m_viewport->mapToGlobal(pos));
}

bool TablePanel::eventFilter(QObject* watched, QEvent* event)
{
    // The part grid's column widths follow its visible width, which also
    // changes when the vertical scroll bar comes or goes.
    if ((watched == this || watched == m_viewport) && event->type() == QEvent::Resize)
        emit resized();
    if (watched == m_viewport && event->type() == QEvent::MouseButtonPress) {
        const auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() == Qt::LeftButton && !m_grid->indexAt(me->position().toPoint()).isValid()) {
            emit emptyGridClicked();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace app
