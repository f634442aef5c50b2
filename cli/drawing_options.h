#pragma once

#include <string>

#include "cli/cli.h"
#include "engine/project.h"
#include "engine/settings.h"

namespace cli {

// The drawing outputs a command can write besides its own work:
// --dxf FILE [--dxf-release NAME] and --svg DIR [--svg-size WxH].
struct DrawingOptions {
    std::string dxfFile;
    std::string dxfRelease;  // empty: the settings file's active release
    std::string svgFolder;
    int svgWidth = 1200;
    int svgHeight = 800;

    [[nodiscard]] bool any() const { return !dxfFile.empty() || !svgFolder.empty(); }
};

// Takes the drawing options out of ctx.args. On bad usage prints the
// problem and returns false with `exitCode` set.
bool takeDrawingOptions(Context& ctx, DrawingOptions& options, int& exitCode);

// Builds the LayoutGroup list the drawings read.
void groupLayoutsForDrawing(engine::Project& project, const engine::Settings& settings);

// Writes the DXF file and the SVG layouts asked for, from project.result and
// its LayoutGroup list. Returns an exit code.
int writeDrawings(Context& ctx, const engine::Project& project, const DrawingOptions& options);

} // namespace cli
