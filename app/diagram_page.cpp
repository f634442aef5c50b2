#include "app/diagram_page.h"

#include <algorithm>

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "app/captions.h"
#include "app/diagram_view.h"

namespace app {

namespace {

constexpr int kGroupLargeStep = 10;

} // namespace

DiagramPage::DiagramPage(engine::Project& project, const engine::Settings& settings,
                         const engine::LanguageTable& language, QWidget* parent)
    : QWidget(parent)
{
    setObjectName("pag3");
    auto* lay = new QVBoxLayout(this);

    panDiagramControls = new QWidget;
    panDiagramControls->setObjectName("panDiagramControls");
    panDiagramControls->setFixedHeight(51);
    auto* grid = new QGridLayout(panDiagramControls);
    grid->setContentsMargins(0, 0, 0, 0);
    ScrollBar2 = new QScrollBar(Qt::Horizontal);
    ScrollBar2->setObjectName("ScrollBar2");
    ScrollBar2->setRange(0, 0);
    ScrollBar2->setPageStep(kGroupLargeStep);
    ScrollBar2->setFixedWidth(180);
    Label39 = new QLabel("1");
    Label39->setObjectName("Label39");
    Label39->setMinimumWidth(40);
    Label7 = new QLabel;
    Label7->setObjectName("Label7");
    Label44 = new QLabel("Duz: Vis: P:");
    Label44->setObjectName("Label44");
    BitBtn8 = new QPushButton(QIcon(":/icons/print.svg"), "Stampaj");
    BitBtn8->setObjectName("BitBtn8");
    // Printing the layouts is not in the program yet.
    BitBtn8->setEnabled(false);
    grid->addWidget(ScrollBar2, 0, 0);
    grid->addWidget(Label39, 0, 1);
    grid->addWidget(Label7, 0, 2);
    grid->addWidget(BitBtn8, 0, 3, 2, 1);
    grid->addWidget(Label44, 1, 0, 1, 3);
    grid->setColumnStretch(2, 1);

    Image5 = new DiagramView(project, settings, language);
    lay->addWidget(panDiagramControls);
    lay->addWidget(Image5, 1);

    connect(ScrollBar2, &QScrollBar::valueChanged, Image5, &DiagramView::setGroup);
    connect(Image5, &DiagramView::stripChanged, this, [this](const DiagramView::Strip& s) {
        // The range follows the groups; the position is already kept inside it.
        const QSignalBlocker quiet(ScrollBar2);
        ScrollBar2->setRange(0, std::max(s.groupCount - 1, 0));
        ScrollBar2->setValue(s.group);
        Label39->setText(QString::number(s.group + 1));
        Label7->setText(s.caption);
    });
    connect(Image5, &DiagramView::pieceText, Label44, &QLabel::setText);
}

void DiagramPage::addCaptionTargets(CaptionTargets& targets) const { targets.add({BitBtn8}); }

} // namespace app
