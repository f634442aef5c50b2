// The layout page: the cut sheets of the result, one group at a time.

#include <QVBoxLayout>
#include <QWidget>

#include "app/main_form.h"

namespace app {

QWidget* TMainForm::buildDiagramPage()
{
    // A control strip above the drawing.
    auto* page = new QWidget;
    auto* lay = new QVBoxLayout(page);
    auto* strip = new QWidget;
    strip->setObjectName("panDiagramControls");
    strip->setFixedHeight(51);
    auto* diagram = new QWidget;
    diagram->setObjectName("Image5");
    lay->addWidget(strip);
    lay->addWidget(diagram, 1);
    return page;
}

} // namespace app
