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

std::string lowered(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

} // namespace

bool DxfOverrides::any() const
{
    const auto set = [](const auto& a) { return std::any_of(a.begin(), a.end(), [](const auto& o) { return o.has_value(); }); };
    return set(layers) || set(itemLayer) || set(itemOutput);
}

void DxfOverrides::applyTo(output::DxfSettings& settings) const
{
    for (size_t i = 0; i < layers.size(); ++i)
        if (layers[i])
            settings.layers[i] = *layers[i];
    for (size_t i = 0; i < itemLayer.size(); ++i) {
        if (itemLayer[i])
            settings.items[i].layer = *itemLayer[i];
        if (itemOutput[i])
            settings.items[i].output = *itemOutput[i];
    }
}

bool parseDxfLayerOption(const std::string& text, DxfOverrides& overrides, std::string& problem)
{
    const size_t eq = text.find('=');
    const size_t colon = text.rfind(':');
    std::int32_t n = 0;
    if (eq == std::string::npos || colon == std::string::npos || colon < eq
        || !engine::parseInteger(text.substr(0, eq), n) || n < 1 || n >= output::kDxfLayerCount) {
        problem = "--dxf-layer needs N=NAME:COLOUR with N from 1 to 5, such as 2=Cuts:red (got '" + text + "')";
        return false;
    }
    const std::string name = text.substr(eq + 1, colon - eq - 1);
    if (name.empty() || name.find_first_of("<>/\\\":;?*|=`") != std::string::npos) {
        problem = "--dxf-layer " + text + ": a layer name must not be empty nor hold any of < > / \\ \" : ; ? * | = `";
        return false;
    }
    const int colour = output::dxfColourFromText(text.substr(colon + 1));
    if (colour == 0) {
        problem = "--dxf-layer " + text + ": the colour is a number from 1 to 7 or one of red, yellow, green, cyan, "
                  "blue, magenta, white";
        return false;
    }
    overrides.layers[static_cast<size_t>(n)] = output::DxfLayer{name, colour};
    return true;
}

bool parseDxfItemsOption(const std::string& text, DxfOverrides& overrides, std::string& problem)
{
    const auto& keys = output::dxfItemKeys();
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(',', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string part = text.substr(start, end - start);
        const size_t eq = part.find('=');
        const std::string key = lowered(part.substr(0, eq));
        const auto it = std::find(keys.begin(), keys.end(), key);
        if (eq == std::string::npos || it == keys.end()) {
            problem = "--dxf-items: '" + part + "' is no ITEM=VALUE with ITEM one of parts, part-names, part-sizes, "
                      "offcuts, offcut-sizes, headers";
            return false;
        }
        const auto i = static_cast<size_t>(it - keys.begin());
        const std::string value = lowered(part.substr(eq + 1));
        std::int32_t layer = 0;
        if (value == "on" || value == "off") {
            overrides.itemOutput[i] = value == "on";
        } else if (engine::parseInteger(value, layer) && layer >= 0 && layer < output::kDxfLayerCount) {
            overrides.itemLayer[i] = layer;
            overrides.itemOutput[i] = true;
        } else {
            problem = "--dxf-items: " + part + ": the value is a layer number from 0 to 5, on or off";
            return false;
        }
        start = end + 1;
    }
    return true;
}

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
    while (takeOption(ctx, "--dxf-layer", value, missing)) {
        std::string problem;
        if (missing)
            return bad("--dxf-layer needs N=NAME:COLOUR");
        if (!parseDxfLayerOption(value, options.dxf, problem))
            return bad(problem);
    }
    while (takeOption(ctx, "--dxf-items", value, missing)) {
        std::string problem;
        if (missing)
            return bad("--dxf-items needs ITEM=VALUE[,ITEM=VALUE...]");
        if (!parseDxfItemsOption(value, options.dxf, problem))
            return bad(problem);
    }
    if (takeOption(ctx, "--svg", options.svgFolder, missing) && (missing || options.svgFolder.empty()))
        return bad("--svg needs a folder");
    if (takeOption(ctx, "--svg-size", value, missing)
        && (missing || !parseSize(value, options.svgWidth, options.svgHeight)))
        return bad("--svg-size needs WIDTHxHEIGHT in pixels, such as 1200x800");
    if (!options.dxfRelease.empty() && options.dxfFile.empty())
        return bad("--dxf-release goes with --dxf FILE");
    if (options.dxf.any() && options.dxfFile.empty())
        return bad("--dxf-layer and --dxf-items go with --dxf FILE");
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
        options.dxf.applyTo(dxf);
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
