#pragma once

#include <functional>

namespace app {

// The answer to the question whether the changes of the open project are
// saved before a command replaces or closes it.
enum class UnsavedAnswer { Save, Discard, Cancel };

// Whether a command that replaces or closes the project may go on. Without
// changes it goes on unasked. Otherwise `ask` is asked once: Discard goes
// on, Cancel stops, Save runs `save` and goes on only when the project was
// written (a cancelled or failed save stops the command).
[[nodiscard]] bool mayLeaveProject(bool changed, const std::function<UnsavedAnswer()>& ask,
                                   const std::function<bool()>& save);

} // namespace app
