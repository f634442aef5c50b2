#include "app/messenger.h"

#include <QApplication>
#include <QMessageBox>

namespace app {

namespace {
Messenger* g_installed = nullptr;
} // namespace

Messenger& Messenger::current()
{
    static BoxMessenger boxes;
    return g_installed ? *g_installed : boxes;
}

void Messenger::install(Messenger* m) { g_installed = m; }

Messenger::Answer BoxMessenger::show(QWidget* parent, Kind kind, const QString& text, Buttons buttons,
                                     std::optional<QPoint> topLeft)
{
    QMessageBox box(parent);
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
    }
    if (topLeft) {
        box.adjustSize();
        box.move(*topLeft);
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: return Answer::Ok;
    }
}

} // namespace app
