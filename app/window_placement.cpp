#include "app/window_placement.h"

#include <QWidget>

namespace app {

void restoreWindowPlacement(QWidget& window, const engine::Settings& settings, QSize minimum)
{
    if (!settings.frmpos)
        return;
    if (settings.frmstate != 2) {
        window.move(settings.frmleft, settings.frmtop);
        window.resize(qMax(settings.frmwidth, minimum.width()), qMax(settings.frmheight, minimum.height()));
    }
    if (settings.frmstate == 2)
        window.setWindowState(Qt::WindowMaximized);
    else if (settings.frmstate == 1)
        window.setWindowState(Qt::WindowMinimized);
}

void storeWindowPlacement(const QWidget& window, engine::Settings& settings)
{
    const bool maximised = window.windowState() & Qt::WindowMaximized;
    const bool minimised = window.windowState() & Qt::WindowMinimized;
    settings.frmtop = window.pos().y();
    settings.frmleft = window.pos().x();
    settings.frmwidth = window.width();
    settings.frmheight = window.height();
    settings.frmstate = maximised ? 2 : minimised ? 1 : 0;
}

} // namespace app
