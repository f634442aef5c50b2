#pragma once

#include <QAction>

namespace app {

// A menu item of the main window: a QAction that can tell whether a command
// handler is connected to it.
class MenuCommand : public QAction {
public:
    using QAction::QAction;
    // Connections to `triggered` other than those the menus showing the
    // item make for themselves.
    [[nodiscard]] int handlerCount() const;
};

// True when `action` runs something when triggered: a menu item with a
// connected handler, or an item that opens a submenu. A plain QAction
// counts as handled (its receivers cannot be told from the menus').
[[nodiscard]] bool hasCommandHandler(const QAction* action);

} // namespace app
