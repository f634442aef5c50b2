#include "project/legacy_project.h"

namespace project_io {

// Placeholder until the legacy reader lands.
ReadOutcome ReadLegacyProject(const std::string&, bool, engine::Project&, const engine::Settings&)
{
    return {-1, engine::Status(engine::Msg::CannotReadProject)};
}

} // namespace project_io
