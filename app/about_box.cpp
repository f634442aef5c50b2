#include "app/about_box.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSvgWidget>
#include <QVBoxLayout>

#include "app/main_form.h"

namespace app {

TAboutBox::TAboutBox(TMainForm* main)
    : QDialog(main, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_main(main)
{
    setObjectName("TAboutBox");
    auto* v = new QVBoxLayout(this);
    auto* h = new QHBoxLayout;
    auto* picture = new QSvgWidget(":/icons/velmora.svg");
    picture->setObjectName("ProgramIcon");
    picture->setFixedSize(96, 96);
    auto* title = new QLabel("<b style='font-size:16pt'>Velmora Pro</b><br>Version 1.3<br><br>"
                             "Cutting plans for panel saws:<br>sheets, parts, edge bands, layouts.<br><br>"
                             "Norvik");
    title->setObjectName("ProductName");
    h->addWidget(picture);
    h->addSpacing(12);
    h->addWidget(title, 1);
    v->addLayout(h);
    auto* ok = new QPushButton("OK");
    ok->setObjectName("OKButton");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(ok);
    row->addStretch(1);
    v->addLayout(row);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    // Its captions are filled when the language changes; the title on each showing.
    main->registerCaptionWindow(3, this);
}

void TAboutBox::showEvent(QShowEvent* event)
{
    setWindowTitle(m_main->text(94));
    move(m_main->frameGeometry().center() - rect().center());
    QDialog::showEvent(event);
}

} // namespace app
