#include "cli/commands.h"

#include <ostream>

#include "cli/drawing_options.h"
#include "engine/paths.h"
#include "output/dxf_settings.h"

namespace cli {

int cmdDxfReleases(Context& ctx)
{
    if (!ctx.args.empty())
        return ctx.usage("dxf-releases takes no arguments");
    output::DxfSettings dxf;
    const std::string path = output::dxfSettingsPath(engine::programFolder());
    if (const engine::Status loaded = output::readDxfSettings(path, dxf); !loaded.ok())
        return ctx.fail(loaded);
    for (const std::string& name : dxf.releases)
        *ctx.out << name << "\n";
    return kExitOk;
}

int cmdDraw(Context& ctx)
{
    DrawingOptions options;
    int exitCode = kExitOk;
    if (!takeDrawingOptions(ctx, options, exitCode))
        return exitCode;
    if (ctx.args.size() != 1 || (ctx.args[0].size() > 1 && ctx.args[0][0] == '-'))
        return rejectArguments(ctx, "usage: draw FILE (--dxf FILE [--dxf-release NAME] | --svg DIR [--svg-size WxH])");
    if (!options.any())
        return ctx.usage("draw: nothing to write; give --dxf FILE and/or --svg DIR");
    engine::Project project;
    if (const int rc = openInput(ctx, ctx.args[0], project); rc != kExitOk)
        return rc;
    // A drawing of nothing is no drawing: the project must hold a result.
    if (project.result.elements.empty())
        return ctx.fail(engine::Status(engine::Msg::NoResultToDraw, {ctx.args[0]}));
    groupLayoutsForDrawing(project, ctx.settings);
    return writeDrawings(ctx, project, options);
}

} // namespace cli
