#pragma once

#include <QHeaderView>

namespace app {

// The column headings of the input grids: a heading too wide for its
// section is shortened in the middle ("Kant D1" and "Kant D2" stay apart
// where the end would be cut off), and the tooltip holds the whole text.
class GridHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit GridHeader(QWidget* parent = nullptr);

    // The text section `logicalIndex` shows at its present size.
    [[nodiscard]] QString shownText(int logicalIndex) const;

protected:
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override;
};

} // namespace app
