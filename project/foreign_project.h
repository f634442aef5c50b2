#pragma once

#include <string>

#include "engine/project.h"
#include "engine/settings.h"
#include "project/project_file.h"

namespace project_io {

// Reads a Quillon project (.qln); its lengths are in centimetres (unit 1).
[[nodiscard]] ReadOutcome ReadForeignProject(const std::string& fileName, engine::Project& project,
                                             const engine::Settings& settings);

} // namespace project_io
