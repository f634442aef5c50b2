// The layout page: the cut sheets of the result, one group at a time.

#include <algorithm>

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QWidget>

#include "app/diagram_view.h"
#include "app/main_form.h"

namespace app {

namespace {

constexpr int kGroupLargeStep = 10;

} // namespace

QWidget* TMainForm::buildDiagramPage()
{
    auto* page = new QWidget;
    auto* lay = new QVBoxLayout(page);

    // The control strip above the drawing: group chooser and number, print
    // button, the sheet line and the line of the piece under the pointer.
    auto* strip = new QWidget;
    strip->setObjectName("panDiagramControls");
    strip->setFixedHeight(51);
    auto* grid = new QGridLayout(strip);
    grid->setContentsMargins(0, 0, 0, 0);
    auto* chooser = new QScrollBar(Qt::Horizontal);
    chooser->setObjectName("ScrollBar2");
    chooser->setRange(0, 0);
    chooser->setPageStep(kGroupLargeStep);
    chooser->setFixedWidth(180);
    auto* number = new QLabel("1");
    number->setObjectName("Label39");
    number->setMinimumWidth(40);
    auto* sheetLine = new QLabel;
    sheetLine->setObjectName("Label7");
    auto* pieceLine = new QLabel("Duz: Vis: P:");
    pieceLine->setObjectName("Label44");
    auto* print = new QPushButton(QIcon(":/icons/print.svg"), "Stampaj");
    print->setObjectName("BitBtn8");
    // Printing the layouts is not in the program yet.
    print->setEnabled(false);
    grid->addWidget(chooser, 0, 0);
    grid->addWidget(number, 0, 1);
    grid->addWidget(sheetLine, 0, 2);
    grid->addWidget(print, 0, 3, 2, 1);
    grid->addWidget(pieceLine, 1, 0, 1, 3);
    grid->setColumnStretch(2, 1);

    m_image5 = new DiagramView(m_project, m_settings, m_lang);
    lay->addWidget(strip);
    lay->addWidget(m_image5, 1);

    connect(chooser, &QScrollBar::valueChanged, m_image5, &DiagramView::setGroup);
    connect(m_image5, &DiagramView::stripChanged, this, [chooser, number, sheetLine](const DiagramView::Strip& s) {
        // The range follows the groups; the position is already kept inside it.
        const QSignalBlocker quiet(chooser);
        chooser->setRange(0, std::max(s.groupCount - 1, 0));
        chooser->setValue(s.group);
        number->setText(QString::number(s.group + 1));
        sheetLine->setText(s.caption);
    });
    connect(m_image5, &DiagramView::pieceText, pieceLine, &QLabel::setText);
    connect(m_image5, &DiagramView::recut, this, &TMainForm::diagramRecut);
    // Entering the page starts without a selection.
    connect(m_pages, &QTabWidget::currentChanged, m_image5, [this, page](int index) {
        if (m_pages->widget(index) == page)
            m_image5->clearSelection();
    });
    return page;
}

void TMainForm::refreshDiagram(bool toFirstGroup) { m_image5->refresh(toFirstGroup); }

void TMainForm::firstDiagramGroup() { m_image5->toFirstGroup(); }

void TMainForm::diagramRecut() { ShowResults(); }

} // namespace app
