#pragma once

#include <string>
#include <vector>

#include "engine/manual_session.h"
#include "engine/project.h"
#include "engine/settings.h"

namespace cli {

// The JSON document `manual --json` writes: the document of `optimize`
// without the attempt figures, plus "manual": one record per searched sheet
// (tnb, generations, known blocks, best block, seconds, why it ended).
[[nodiscard]] std::string manualJson(const engine::Project& project, const engine::Settings& settings,
                                     const std::vector<engine::ManualSearchStats>& searches);

} // namespace cli
