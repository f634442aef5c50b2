#include "app/archive_page.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/captions.h"
#include "project/archive.h"

namespace app {

ArchivePage::ArchivePage(QWidget* parent)
    : QWidget(parent)
{
    setObjectName("Arhiva");
    auto* lay = new QHBoxLayout(this);
    panArchiveBrowse = new QTreeView;
    panArchiveBrowse->setObjectName("panArchiveBrowse");
    panArchiveBrowse->setFixedWidth(172);
    panArchiveMain = new QWidget;
    panArchiveMain->setObjectName("panArchiveMain");
    panArchiveMain->installEventFilter(this);
    auto* v = new QVBoxLayout(panArchiveMain);
    v->setContentsMargins(0, 0, 0, 0);
    panArchiveHeadings = new QWidget;
    panArchiveHeadings->setObjectName("panArchiveHeadings");
    panArchiveHeadings->setFixedHeight(20);
    const auto heading = [this](const char* name, const char* caption) {
        auto* l = new QLabel(caption, panArchiveHeadings);
        l->setObjectName(name);
        return l;
    };
    Label62 = heading("Label62", "IME ARHIVE");
    Label63 = heading("Label63", "POVRSINA");
    Label64 = heading("Label64", "CENA");
    Label65 = heading("Label65", "UKUPNO");
    StringGrid3 = new QTableWidget(0, 4);
    StringGrid3->setObjectName("StringGrid3");
    StringGrid3->horizontalHeader()->hide();
    StringGrid3->verticalHeader()->hide();
    StringGrid3->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    v->addWidget(panArchiveHeadings);
    v->addWidget(StringGrid3, 1);
    lay->addWidget(panArchiveBrowse);
    lay->addWidget(panArchiveMain, 1);
}

void ArchivePage::layoutArchive()
{
    const std::array<int, 4> widths = project_io::archiveColumnWidths(StringGrid3->width());
    for (int c = 0; c < 4; ++c)
        StringGrid3->setColumnWidth(c, widths[static_cast<size_t>(c)]);
    Label62->move(4, 2);
    int col = 1;
    for (QLabel* label : {Label63, Label64, Label65}) {
        label->adjustSize();
        const int textWidth = label->fontMetrics().horizontalAdvance(label->text());
        label->move(project_io::archiveHeadingLeft(widths, col++, textWidth), 2);
    }
}

bool ArchivePage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == panArchiveMain && event->type() == QEvent::Resize)
        layoutArchive();
    return QWidget::eventFilter(watched, event);
}

void ArchivePage::addCaptionTargets(CaptionTargets& targets) const
{
    targets.add({Label62, Label63, Label64, Label65});
}

} // namespace app
