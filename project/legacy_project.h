#pragma once

#include <string>

#include "engine/project.h"
#include "engine/settings.h"
#include "project/project_file.h"

namespace project_io {

// Reads a project text of the earlier line-oriented form (first byte 'V').
[[nodiscard]] ReadOutcome ReadLegacyProject(const std::string& fileName, bool addMode, engine::Project& project,
                                            const engine::Settings& settings);

} // namespace project_io
