#include "engine/deep_run.h"

#include <new>
#include <system_error>

namespace engine {

DeepRunOutcome runDeep(Project& project, const Settings& settings, const DeepRunOptions& options)
{
    DeepRunOutcome out;
    out.automatic = runAutomatic(project, settings, options.automatic);
    if (!out.automatic.status.ok() || out.automatic.cancelled)
        return out;
    DeepLayout start{project.result.elements, project.result.offcuts};
    try {
        out.deep = runDeepEngine(project.input.parts, project.input.sheets, start, options.deep);
    } catch (const std::bad_alloc&) {
        // The deep phase could not have its memory: the automatic result stands.
        out.deep = DeepOutcome{};
        out.deep.layout = std::move(start);
        out.deep.stop = DeepStop::NotApplicable;
        return out;
    } catch (const std::system_error&) {
        out.deep = DeepOutcome{};
        out.deep.layout = std::move(start);
        out.deep.stop = DeepStop::NotApplicable;
        return out;
    }
    out.deepRan = true;
    if (out.deep.stop == DeepStop::Cancelled)
        return out;
    out.method = ResultMethod::DeepKeptAutomatic;
    if (out.deep.improved) {
        project.result.elements = out.deep.layout.elements;
        project.result.offcuts = out.deep.layout.offcuts;
        out.method = ResultMethod::Deep;
    }
    project.result.method = out.method;
    return out;
}

const char* resultMethodName(ResultMethod method)
{
    switch (method) {
    case ResultMethod::Deep: return "deep";
    case ResultMethod::DeepKeptAutomatic: return "automatic (deep run found nothing better)";
    default: return "automatic";
    }
}

} // namespace engine
