#include "app/command_check.h"

#include <QMenu>

namespace app {

int MenuCommand::handlerCount() const
{
    // Every menu the item is in connects itself to `triggered`.
    int menus = 0;
    for (const QObject* o : associatedObjects())
        if (qobject_cast<const QMenu*>(o))
            ++menus;
    return receivers(SIGNAL(triggered(bool))) - menus;
}

bool hasCommandHandler(const QAction* action)
{
    if (action->menu())
        return true;
    if (const auto* command = dynamic_cast<const MenuCommand*>(action))
        return command->handlerCount() > 0;
    return true;
}

} // namespace app
