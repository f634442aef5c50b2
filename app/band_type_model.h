#pragma once

#include <functional>

#include <QAbstractTableModel>
#include <QStringList>

#include "engine/band_type_table.h"

namespace app {

// Shows an engine::BandTypeTable (not owned) in item views: record k is row
// k, the five fields are columns 0..4 (name first, so a QComboBox over this
// model lists the names). The band type dialog edits through it; the part
// table's band choosers only read it. Edits go through the commit function,
// which checks the text, changes the table and says whether it was taken.
class BandTypeModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using Commit = std::function<bool(int record, engine::BandField field, const QString& text)>;

    explicit BandTypeModel(engine::BandTypeTable& table, QObject* parent = nullptr);

    [[nodiscard]] engine::BandTypeTable& table() { return m_table; }
    [[nodiscard]] const engine::BandTypeTable& table() const { return m_table; }
    // Without a commit function the model cannot be edited.
    void setCommit(Commit commit) { m_commit = std::move(commit); }

    // The table was changed outside the model.
    void refresh();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    engine::BandTypeTable& m_table;
    Commit m_commit;
    QStringList m_titles{"Name", "Thickness", "Mark", "Extra length", "Price"};
};

} // namespace app
