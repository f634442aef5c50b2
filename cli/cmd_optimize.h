#pragma once

#include <string>

#include "engine/auto_run.h"
#include "engine/deep_run.h"
#include "engine/project.h"
#include "engine/settings.h"

namespace cli {

// The JSON document `optimize --json` writes for a project after an
// automatic run: the tables as texts, the engine input, the placed elements
// and offcuts in internal units. Keys keep their order, so equal runs give
// equal bytes.
// With `deep` (optimize --deep) the document also names the method and what
// the deep phase did.
[[nodiscard]] std::string optimizeJson(const engine::Project& project, const engine::Settings& settings,
                                       const engine::AutoRunOutcome& outcome,
                                       const engine::DeepRunOutcome* deep = nullptr);

// How a deep phase ended, as the summary and the JSON say it.
[[nodiscard]] const char* deepStopName(engine::DeepStop stop);

// Parts placed of the project's result.
[[nodiscard]] std::int64_t placedParts(const engine::Project& project);

} // namespace cli
