#pragma once

#include <functional>

#include <QAbstractTableModel>

#include "engine/text_table.h"

namespace app {

// Shows an engine::TextTable (not owned) in a QTableView: data rows
// 1..rowCount() become view rows 0.., columns keep their numbers (the view
// hides the fixed column 0), the titles of row 0 are the column headings.
// Edits go through the commit function, which checks the text, changes the
// table and says whether it was taken.
class TextTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using Commit = std::function<bool(int row, int col, const QString& text)>;
    using Decoration = std::function<QVariant(int row, int col)>;

    explicit TextTableModel(engine::TextTable& table, QObject* parent = nullptr);

    [[nodiscard]] engine::TextTable& table() { return m_table; }
    void setCommit(Commit commit) { m_commit = std::move(commit); }
    void setDecoration(Decoration decoration) { m_decoration = std::move(decoration); }
    // Columns that cannot be edited in place.
    void setReadOnlyColumns(QList<int> cols) { m_readOnly = std::move(cols); }
    // Data rows before `firstEditableRow` (1-based) cannot be edited.
    void setFirstEditableRow(int row) { m_firstEditableRow = row; }

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
    engine::TextTable& m_table;
    Commit m_commit;
    Decoration m_decoration;
    QList<int> m_readOnly;
    int m_firstEditableRow = 1;
};

} // namespace app
