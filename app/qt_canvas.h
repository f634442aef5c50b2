#pragma once

#include "render/qt_canvas.h"

namespace app {

// The QPainter canvas lives in render/, shared with the PDF writer of
// velmora-cli; the desktop program knows it by its old name.
using QtCanvas = render::QtCanvas;

} // namespace app
