#include "app/manual_page.h"

#include <QHBoxLayout>

namespace app {

ManualPage::ManualPage(QWidget* parent)
    : QWidget(parent)
{
    setObjectName("pag2");
    auto* lay = new QHBoxLayout(this);
    Image3 = new QWidget;
    Image3->setObjectName("Image3");
    panManual = new QWidget;
    panManual->setObjectName("panManual");
    panManual->setFixedWidth(99);
    lay->addWidget(Image3, 1);
    lay->addWidget(panManual);
}

} // namespace app
