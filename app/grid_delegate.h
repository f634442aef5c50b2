#pragma once

#include <functional>

#include <QIcon>
#include <QStringList>
#include <QStyledItemDelegate>

namespace app {

// Editors and drawing of the input grids: length, quantity and text cells
// get a line editor whose text is checked when the edit ends (a refused text
// reopens the editor, so the cell keeps the focus); band cells get the band
// chooser placed over the cell; the rotation-lock cell is drawn as an icon.
class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit GridDelegate(QObject* parent = nullptr);

    // Band columns [first, last] edited with a chooser of these names.
    void setBandColumns(int first, int last, std::function<QStringList()> names);
    void setBandingOn(bool on) { m_bandingOn = on; }
    // Column drawn as one of two icons ("0" and "1").
    void setIconColumn(int col, QIcon free, QIcon locked);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    [[nodiscard]] bool isBandColumn(int col) const { return m_bandingOn && col >= m_bandFirst && col <= m_bandLast; }

    int m_bandFirst = -1;
    int m_bandLast = -1;
    bool m_bandingOn = false;
    std::function<QStringList()> m_bandNames;
    int m_iconCol = -1;
    QIcon m_free;
    QIcon m_locked;
};

} // namespace app
