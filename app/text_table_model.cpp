#include "app/text_table_model.h"

#include <QBrush>
#include <QColor>

namespace app {

TextTableModel::TextTableModel(engine::TextTable& table, QObject* parent)
    : QAbstractTableModel(parent)
    , m_table(table)
{
}

void TextTableModel::refresh()
{
    beginResetModel();
    endResetModel();
}

int TextTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_table.rowCount();
}

int TextTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_table.columns();
}

QVariant TextTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (m_decoration) {
        if (QVariant d = m_decoration(index.row() + 1, index.column()); d.isValid()) {
            if (role == Qt::DecorationRole)
                return d;
            if (role == Qt::DisplayRole)
                return {};
        }
    }
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return QString::fromStdString(m_table.cell(index.row() + 1, index.column()));
    // The whole text, for a cell too narrow to show it.
    if (role == Qt::ToolTipRole) {
        const QString text = QString::fromStdString(m_table.cell(index.row() + 1, index.column()));
        return text.trimmed().isEmpty() ? QVariant() : QVariant(text);
    }
    // Rows that cannot be edited look like the fixed headings.
    if (role == Qt::BackgroundRole && index.row() + 1 < m_firstEditableRow)
        return QBrush(QColor(0xEC, 0xEC, 0xEC));
    return {};
}

bool TextTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    const int row = index.row() + 1;
    const QString text = value.toString();
    bool taken = true;
    if (m_commit)
        taken = m_commit(row, index.column(), text);
    else
        m_table.setCell(row, index.column(), text.toStdString());
    // The commit may have rewritten other cells of the row (a band type
    // fills three columns), so the whole row is repainted.
    emit dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
    return taken;
}

QVariant TextTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::ToolTipRole)
        return QString::fromStdString(m_table.title(section));
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return QString::fromStdString(m_table.title(section));
    return section + 1;
}

bool TextTableModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant& value, int role)
{
    if (orientation != Qt::Horizontal || (role != Qt::EditRole && role != Qt::DisplayRole))
        return false;
    m_table.setTitle(section, value.toString().toStdString());
    emit headerDataChanged(orientation, section, section);
    return true;
}

Qt::ItemFlags TextTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.row() + 1 >= m_firstEditableRow && !m_readOnly.contains(index.column()))
        f |= Qt::ItemIsEditable;
    return f;
}

} // namespace app
