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

void GridDelegate::setBandColumns(int first, int last, QAbstractItemModel* bandTypes)
{
    m_bandFirst = first;
    m_bandLast = last;
    m_bandTypes = bandTypes;
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
        if (m_bandTypes)
            combo->setModel(m_bandTypes);
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
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    if (index.column() != m_iconCol) {
        // The style would shorten at the end; the text comes shortened in
        // the middle, and exactly as shownText says.
        opt.text = shownText(option, index);
        opt.textElideMode = Qt::ElideMiddle;
        const QWidget* w = opt.widget;
        (w ? w->style() : QApplication::style())->drawControl(QStyle::CE_ItemViewItem, &opt, painter, w);
        return;
    }
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

QString GridDelegate::shownText(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    if (opt.text.isEmpty())
        return opt.text;
    const QWidget* w = opt.widget;
    QStyle* style = w ? w->style() : QApplication::style();
    // The style draws the text inside the text rectangle less a focus margin
    // on each side.
    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, w);
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, w) + 1;
    return opt.fontMetrics.elidedText(opt.text, Qt::ElideMiddle, textRect.width() - 2 * margin);
}

QString GridDelegate::shownText(const QAbstractItemView& view, const QModelIndex& index) const
{
    QStyleOptionViewItem opt;
    opt.initFrom(view.viewport());
    opt.widget = &view;
    opt.font = view.font();
    opt.fontMetrics = view.fontMetrics();
    opt.rect = view.visualRect(index);
    return shownText(opt, index);
}

} // namespace app
