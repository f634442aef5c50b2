#include "app/messenger.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QMessageBox>

namespace app {

namespace {
Messenger* g_installedMessenger = nullptr;
Messenger::ButtonTexts g_buttonTexts;

void relabel(QMessageBox& box, QMessageBox::StandardButton which, const QString& text)
{
    if (QAbstractButton* b = box.button(which); b && !text.isEmpty())
        b->setText(text);
}

// A message box whose buttons carry the language file's words, also after
// a language change reaches it (Qt would put its own back).
class LabelledBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

    void labelButtons()
    {
        relabel(*this, QMessageBox::Ok, g_buttonTexts.ok);
        relabel(*this, QMessageBox::Yes, g_buttonTexts.yes);
        relabel(*this, QMessageBox::No, g_buttonTexts.no);
        relabel(*this, QMessageBox::Cancel, g_buttonTexts.cancel);
        relabel(*this, QMessageBox::Save, g_buttonTexts.save);
        relabel(*this, QMessageBox::Discard, g_buttonTexts.discard);
    }

protected:
    bool event(QEvent* e) override
    {
        const bool taken = QMessageBox::event(e);
        if (e->type() == QEvent::LanguageChange)
            labelButtons();
        return taken;
    }
};
} // namespace

void Messenger::setButtonTexts(const ButtonTexts& texts) { g_buttonTexts = texts; }

const Messenger::ButtonTexts& Messenger::buttonTexts() { return g_buttonTexts; }

Messenger& Messenger::current()
{
    static BoxMessenger boxes;
    return g_installedMessenger ? *g_installedMessenger : boxes;
}

void Messenger::install(Messenger* m) { g_installedMessenger = m; }

Messenger::Answer BoxMessenger::show(QWidget* parent, Kind kind, const QString& text, Buttons buttons,
                                     std::optional<QPoint> topLeft)
{
    LabelledBox box(parent);
    box.setWindowTitle(QApplication::applicationName());
    box.setText(text);
    switch (kind) {
    case Kind::Plain: box.setIcon(QMessageBox::NoIcon); break;
    case Kind::Information: box.setIcon(QMessageBox::Information); break;
    case Kind::Warning: box.setIcon(QMessageBox::Warning); break;
    case Kind::Error: box.setIcon(QMessageBox::Critical); break;
    case Kind::Confirmation: box.setIcon(QMessageBox::Question); break;
    }
    switch (buttons) {
    case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case Buttons::SaveDiscardCancel:
        box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Save);
        break;
    case Buttons::OkIgnore: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Ignore); break;
    }
    box.labelButtons();
    if (topLeft) {
        box.adjustSize();
        box.move(*topLeft);
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    case QMessageBox::Save: return Answer::Save;
    case QMessageBox::Discard: return Answer::Discard;
    case QMessageBox::Ignore: return Answer::Ignore;
    default: return Answer::Ok;
    }
}

} // namespace app
