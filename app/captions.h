#pragma once

class QObject;
class QWidget;

namespace engine {
class LanguageTable;
}

namespace app {

// Fills caption group `group` of the window `root` from the language table:
// every assignment names a control, action, menu, page or grid of the
// window by its object name (dialogs owned by the window are not searched).
// File dialog titles and drawing-surface font names are kept as properties
// of `root` ("dialogTitle.<name>", "fontName.<name>") for the commands that
// use them.
void applyCaptionGroup(QWidget* root, int group, const engine::LanguageTable& table);

// The object named `name` in `root`'s own window, or nullptr.
[[nodiscard]] QObject* findInWindow(QWidget* root, const char* name);

} // namespace app
