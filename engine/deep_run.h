#pragma once

#include "engine/auto_run.h"
#include "engine/deep_engine.h"

namespace engine {

struct DeepRunOptions {
    AutoRunOptions automatic;  // the automatic run that comes first
    DeepOptions deep;
};

struct DeepRunOutcome {
    AutoRunOutcome automatic;
    DeepOutcome deep;
    bool deepRan = false;
    ResultMethod method = ResultMethod::Automatic;
};

// The automatic run as runAutomatic makes it, then the deep optimisation
// started from its result; project.result becomes the deep plan only when
// that is better by LayoutScore. A cancelled deep phase keeps the automatic
// result; a cancelled automatic run ends as runAutomatic's does.
[[nodiscard]] DeepRunOutcome runDeep(Project& project, const Settings& settings, const DeepRunOptions& options = {});

// The method as velmora-cli names it: "automatic", "deep" or "automatic (deep run found nothing better)".
[[nodiscard]] const char* resultMethodName(ResultMethod method);

} // namespace engine
