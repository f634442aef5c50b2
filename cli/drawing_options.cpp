#include "cli/drawing_options.h"

#include <algorithm>
#include <ostream>

#include "engine/language_table.h"
#include "engine/paths.h"
#include "output/dxf_settings.h"
#include "output/dxf_writer.h"
#include "output/layout_groups.h"
#include "output/svg_canvas.h"

namespace cli {

namespace {

bool parseSize(const std::string& text, int& width, int& height)
{
    const size_t x = text.find_first_of("xX");
    std::int32_t w = 0;
    std::int32_t h = 0;
    if (x == std::string::npos || !engine::parseInteger(text.substr(0, x), w)
        || !engine::parseInteger(text.substr(x + 1), h) || w < 1 || h < 1 || w > 100000 || h > 100000)
        return false;
    width = w;
    height = h;
    return true;
}

} // namespace

void groupLayoutsForDrawing(engine::Project& project, const engine::Settings& settings)
{
    output::GroupLayouts(project, settings.PrintDuplicate);
}

bool takeDrawingOptions(Context& ctx, DrawingOptions& options, int& exitCode)
{
    std::string value;
    bool missing = false;
    const auto bad = [&](const std::string& line) {
        exitCode = ctx.usage(line);
        return false;
    };
    if (takeOption(ctx, "--dxf", options.dxfFile, missing) && (missing || options.dxfFile.empty()))
        return bad("--dxf needs a file name");
    if (takeOption(ctx, "--dxf-release", options.dxfRelease, missing) && (missing || options.dxfRelease.empty()))
        return bad("--dxf-release needs a release name (see velmora-cli dxf-releases)");
    if (takeOption(ctx, "--svg", options.svgFolder, missing) && (missing || options.svgFolder.empty()))
        return bad("--svg needs a folder");
    if (takeOption(ctx, "--svg-size", value, missing)
        && (missing || !parseSize(value, options.svgWidth, options.svgHeight)))
        return bad("--svg-size needs WIDTHxHEIGHT in pixels, such as 1200x800");
    if (!options.dxfRelease.empty() && options.dxfFile.empty())
        return bad("--dxf-release goes with --dxf FILE");
    return true;
}

int writeDrawings(Context& ctx, const engine::Project& project, const DrawingOptions& options)
{
    if (!options.dxfFile.empty()) {
        const std::string settingsPath = output::dxfSettingsPath(engine::programFolder());
        output::DxfSettings dxf;
        // Without its settings file a drawing has no sections and no end.
        if (const engine::Status loaded = output::readDxfSettings(settingsPath, dxf); !loaded.ok())
            return ctx.fail(loaded);
        if (!options.dxfRelease.empty()) {
            const auto it = std::find(dxf.releases.begin(), dxf.releases.end(), options.dxfRelease);
            if (it == dxf.releases.end())
                return ctx.usage("unknown DXF release '" + options.dxfRelease + "' (see velmora-cli dxf-releases)");
            dxf.active = static_cast<int>(it - dxf.releases.begin());
        }
        // The command line does not change the export dialog's saved choices.
        const output::DxfDrawingSetup setup = output::dxfSetupFromSettings(dxf, settingsPath);
        // A release without its head or tail template would give a file
        // without sections or end: no DXF at all.
        if (setup.head.empty() || setup.tail.empty())
            return ctx.fail(engine::Status(engine::Msg::DxfSettingsUnreadable, {settingsPath, dxf.activeRelease()}));
        const engine::Status st =
            output::writeDxfFile(options.dxfFile, output::buildDxf(project, ctx.settings, setup));
        if (!st.ok())
            return ctx.fail(st);
    }
    if (!options.svgFolder.empty()) {
        // Without a language file the captions lack their words but keep the numbers.
        static const engine::LanguageTable kNoLanguage;
        const engine::LanguageTable* language = ctx.language();
        const engine::Status st = output::writeLayoutSvgs(options.svgFolder, project, ctx.settings,
                                                          language ? *language : kNoLanguage, options.svgWidth,
                                                          options.svgHeight);
        if (!st.ok())
            return ctx.fail(st);
    }
    return kExitOk;
}

} // namespace cli
