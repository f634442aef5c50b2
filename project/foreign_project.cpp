#include "project/foreign_project.h"

namespace project_io {

// Placeholder until the Quillon reader lands.
ReadOutcome ReadForeignProject(const std::string&, engine::Project&, const engine::Settings&)
{
    return {-1, engine::Status(engine::Msg::CannotReadProject)};
}

} // namespace project_io
