#include "app/grid_header.h"

#include <QStyle>
#include <QStyleOptionHeader>

namespace app {

GridHeader::GridHeader(QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent)
{
    // What a table view gives its own header.
    setSectionsClickable(true);
    setHighlightSections(true);
    setTextElideMode(Qt::ElideMiddle);
}

QString GridHeader::shownText(int logicalIndex) const
{
    QStyleOptionHeader opt;
    initStyleOption(&opt);
    QHeaderView::initStyleOptionForIndex(&opt, logicalIndex);
    opt.rect = QRect(0, 0, sectionSize(logicalIndex), height());
    // The style draws the label inside SE_HeaderLabel, in bold for the
    // section of the current cell.
    const QRect label = style()->subElementRect(QStyle::SE_HeaderLabel, &opt, this);
    QFont f = font();
    if (opt.state & QStyle::State_On)
        f.setBold(true);
    return QFontMetrics(f).elidedText(opt.text, Qt::ElideMiddle, label.width());
}

void GridHeader::initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const
{
    QHeaderView::initStyleOptionForIndex(option, logicalIndex);
    option->text = shownText(logicalIndex);
}

} // namespace app
