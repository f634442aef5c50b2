#include "app/unsaved_changes.h"

namespace app {

bool mayLeaveProject(bool changed, const std::function<UnsavedAnswer()>& ask, const std::function<bool()>& save)
{
    if (!changed)
        return true;
    switch (ask()) {
    case UnsavedAnswer::Discard: return true;
    case UnsavedAnswer::Save: return save();
    case UnsavedAnswer::Cancel: return false;
    }
    return false;
}

} // namespace app
