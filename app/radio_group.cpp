#include "app/radio_group.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

namespace app {

RadioGroup::RadioGroup(const QString& title, QWidget* parent)
    : QGroupBox(title, parent)
    , m_buttons(new QButtonGroup(this))
{
    new QVBoxLayout(this);
    connect(m_buttons, &QButtonGroup::idClicked, this, &RadioGroup::itemClicked);
}

void RadioGroup::addItem(const QString& text)
{
    auto* b = new QRadioButton(text);
    const int index = count();
    b->setObjectName(objectName() + QString("Item%1").arg(index));
    m_buttons->addButton(b, index);
    layout()->addWidget(b);
}

int RadioGroup::count() const { return static_cast<int>(m_buttons->buttons().size()); }

void RadioGroup::setItemText(int index, const QString& text)
{
    if (QAbstractButton* b = item(index))
        b->setText(text);
}

QAbstractButton* RadioGroup::item(int index) const { return m_buttons->button(index); }

void RadioGroup::setCurrentIndex(int index)
{
    if (QAbstractButton* b = item(index))
        b->setChecked(true);
}

int RadioGroup::currentIndex() const { return m_buttons->checkedId(); }

} // namespace app
