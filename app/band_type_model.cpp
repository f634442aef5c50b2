#include "app/band_type_model.h"

#include <QBrush>
#include <QColor>

namespace app {

BandTypeModel::BandTypeModel(engine::BandTypeTable& table, QObject* parent)
    : QAbstractTableModel(parent)
    , m_table(table)
{
}

void BandTypeModel::refresh()
{
    beginResetModel();
    endResetModel();
}

int BandTypeModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_table.count(); }

int BandTypeModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : engine::kBandFieldCount;
}

QVariant BandTypeModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_table.count())
        return {};
    const auto field = static_cast<engine::BandField>(index.column());
    const QString text = QString::fromStdString(m_table.record(index.row()).field(field));
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return text;
    if (role == Qt::ToolTipRole)
        return text.isEmpty() ? QVariant() : QVariant(text);
    // The record that cannot be edited looks like the fixed headings.
    if (role == Qt::BackgroundRole && m_commit && !m_table.isEditable(index.row()))
        return QBrush(QColor(0xEC, 0xEC, 0xEC));
    return {};
}

bool BandTypeModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || !m_commit)
        return false;
    const bool taken = m_commit(index.row(), static_cast<engine::BandField>(index.column()), value.toString());
    emit dataChanged(index, index);
    return taken;
}

QVariant BandTypeModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < m_titles.size() ? m_titles[section] : QVariant();
    return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
}

bool BandTypeModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant& value, int role)
{
    if (orientation != Qt::Horizontal || (role != Qt::EditRole && role != Qt::DisplayRole) || section < 0
        || section >= m_titles.size())
        return false;
    m_titles[section] = value.toString();
    emit headerDataChanged(orientation, section, section);
    return true;
}

Qt::ItemFlags BandTypeModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (m_commit && m_table.isEditable(index.row()))
        f |= Qt::ItemIsEditable;
    return f;
}

} // namespace app
