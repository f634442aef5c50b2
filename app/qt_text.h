#pragma once

#include <string>

#include <QString>

namespace app {

// Core texts are UTF-8 std::strings; widgets take QStrings.
inline QString qs(const std::string& s) { return QString::fromStdString(s); }

} // namespace app
