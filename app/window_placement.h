#pragma once

#include <QSize>

#include "engine/settings.h"

class QWidget;

namespace app {

// The main window's place as the settings keep it: frmpos (whether to
// restore it at all), frmleft, frmtop, frmwidth, frmheight and frmstate
// (0 normal, 1 minimised, 2 maximised). A restored size is never below
// `minimum`; a maximised window keeps the size it had.
void restoreWindowPlacement(QWidget& window, const engine::Settings& settings, QSize minimum);
// The window's current bounds and state into the settings.
void storeWindowPlacement(const QWidget& window, engine::Settings& settings);

} // namespace app
