#include "app/grid_delegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>

namespace app {

GridDelegate::GridDelegate(QObject* parent)
    : QStyledItemDelegate(parent)
{
}

void GridDelegate::setBandColumns(int first, int last, std::function<QStringList()> names)
{
    m_bandFirst = first;
    m_bandLast = last;
    m_bandNames = std::move(names);
}

void GridDelegate::setIconColumn(int col, QIcon free, QIcon locked)
{
    m_iconCol = col;
    m_free = std::move(free);
    m_locked = std::move(locked);
}

QWidget* GridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const
{
    if (isBandColumn(index.column())) {
        auto* combo = new QComboBox(parent);
        combo->setObjectName("ComboBox1");
        combo->addItems(m_bandNames ? m_bandNames() : QStringList());
        // Choosing a band type takes it at once and closes the chooser.
        connect(combo, &QComboBox::activated, this, [this, combo] {
            emit const_cast<GridDelegate*>(this)->commitData(combo);
            emit const_cast<GridDelegate*>(this)->closeEditor(combo);
        });
        // The chooser belongs to its cell: scrolling the grid hides it.
        if (auto* view = qobject_cast<QAbstractItemView*>(parent->parentWidget()))
            connect(view->verticalScrollBar(), &QScrollBar::valueChanged, combo, [this, combo] {
                emit const_cast<GridDelegate*>(this)->closeEditor(combo);
            });
        return combo;
    }
    QWidget* w = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        edit->setMaxLength(40);
    return w;
}

void GridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        const int i = combo->findText(index.data(Qt::EditRole).toString());
        combo->setCurrentIndex(i < 0 ? 0 : i);
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void GridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    QString text;
    if (auto* combo = qobject_cast<QComboBox*>(editor))
        text = combo->currentText();
    else if (auto* edit = qobject_cast<QLineEdit*>(editor))
        text = edit->text();
    else
        return QStyledItemDelegate::setModelData(editor, model, index);
    if (text == index.data(Qt::EditRole).toString() && !qobject_cast<QComboBox*>(editor))
        return;
    if (!model->setData(index, text, Qt::EditRole)) {
        // A refused text: the cell keeps its old text and the focus.
        auto* view = qobject_cast<QAbstractItemView*>(editor->parentWidget() ? editor->parentWidget()->parentWidget()
                                                                             : nullptr);
        if (view) {
            const QPersistentModelIndex keep(index);
            QTimer::singleShot(0, view, [view, keep] {
                if (keep.isValid()) {
                    view->setCurrentIndex(keep);
                    view->edit(keep);
                }
            });
        }
    }
}

void GridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (index.column() != m_iconCol) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    opt.text.clear();
    opt.icon = QIcon();
    const QWidget* w = opt.widget;
    QStyle* style = w ? w->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, w);
    const bool locked = index.data(Qt::DisplayRole).toString() == "1";
    const int side = qMin(16, qMin(option.rect.width(), option.rect.height()) - 2);
    const QRect r(option.rect.center().x() - side / 2, option.rect.center().y() - side / 2, side, side);
    (locked ? m_locked : m_free).paint(painter, r);
}

} // namespace app
