#include "project/project_file.h"

namespace project_io {

// Placeholders until the project document lands.
engine::Status SaveProject(const std::string&, const engine::Project&, const engine::Settings&, const std::string&)
{
    return engine::Status(engine::Msg::CannotSaveProject);
}

ReadOutcome ReadProjectDocument(const std::string&, bool, engine::Project&, const engine::Settings&)
{
    return {-1, engine::Status(engine::Msg::CannotReadProject)};
}

OpenOutcome OpenProject(const std::string&, bool, engine::Project&, const engine::Settings&)
{
    return {engine::Status(engine::Msg::CannotOpenProject), false, {}};
}

} // namespace project_io
