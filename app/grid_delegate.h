#pragma once

#include <functional>

#include <QIcon>
#include <QStringList>
#include <QStyledItemDelegate>

class QAbstractItemView;

namespace app {

// Editors and drawing of the input grids: length, quantity and text cells
// get a line editor whose text is checked when the edit ends (a refused text
// reopens the editor, so the cell keeps the focus); band cells get the band
// chooser placed over the cell; the rotation-lock cell is drawn as an icon.
// Texts too wide for their cell are shortened in the middle, so that names
// that differ only at the end ("PVC 0.4mm", "PVC 2mm") still look different
// in a narrow column; the tooltip holds the whole text.
class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit GridDelegate(QObject* parent = nullptr);

    // Band columns [first, last] edited with a chooser over `bandTypes`
    // (not owned; its column 0 holds the names).
    void setBandColumns(int first, int last, QAbstractItemModel* bandTypes);
    void setBandingOn(bool on) { m_bandingOn = on; }
    // Column drawn as one of two icons ("0" and "1").
    void setIconColumn(int col, QIcon free, QIcon locked);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The text the cell at `index` shows when drawn in `option.rect`.
    [[nodiscard]] QString shownText(const QStyleOptionViewItem& option, const QModelIndex& index) const;
    // The same for the cell as `view` shows it now.
    [[nodiscard]] QString shownText(const QAbstractItemView& view, const QModelIndex& index) const;

    // Whether cells of `col` are edited with the band chooser now.
    [[nodiscard]] bool isBandColumn(int col) const { return m_bandingOn && col >= m_bandFirst && col <= m_bandLast; }

private:

    int m_bandFirst = -1;
    int m_bandLast = -1;
    bool m_bandingOn = false;
    QAbstractItemModel* m_bandTypes = nullptr;
    int m_iconCol = -1;
    QIcon m_free;
    QIcon m_locked;
};

} // namespace app
