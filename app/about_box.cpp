#include "app/about_box.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSvgWidget>
#include <QVBoxLayout>

#include "velmora_version.h"

#include "app/captions.h"
#include "app/main_form.h"

namespace app {

TAboutBox::TAboutBox(TMainForm* main)
    : QDialog(main, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_main(main)
{
    setObjectName("TAboutBox");
    auto* v = new QVBoxLayout(this);
    auto* h = new QHBoxLayout;
    ProgramIcon = new QSvgWidget(":/icons/velmora.svg");
    ProgramIcon->setObjectName("ProgramIcon");
    ProgramIcon->setFixedSize(96, 96);
    ProductName = new QLabel(QString("<b style='font-size:16pt'>Velmora Pro</b><br>Version %1<br><br>"
                                     "Cutting plans for panel saws:<br>sheets, parts, edge bands, layouts.<br><br>"
                                     "Norvik")
                                 .arg(velmora::kVersion));
    ProductName->setObjectName("ProductName");
    h->addWidget(ProgramIcon);
    h->addSpacing(12);
    h->addWidget(ProductName, 1);
    v->addLayout(h);
    OKButton = new QPushButton("OK");
    OKButton->setObjectName("OKButton");
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(OKButton);
    row->addStretch(1);
    v->addLayout(row);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    // Its captions are filled when the language changes; the title on each showing.
    main->registerCaptionWindow(3, this, CaptionTargets());
}

void TAboutBox::showEvent(QShowEvent* event)
{
    setWindowTitle(m_main->text(94));
    move(m_main->frameGeometry().center() - rect().center());
    QDialog::showEvent(event);
}

} // namespace app
