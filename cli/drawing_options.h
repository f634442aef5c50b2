#pragma once

#include <array>
#include <optional>
#include <string>

#include "cli/cli.h"
#include "engine/project.h"
#include "engine/settings.h"
#include "output/dxf_settings.h"

namespace cli {

// Choices of one DXF export that override the settings file without
// changing it: --dxf-layer N=NAME:COLOUR (layers 1..5) and --dxf-items.
struct DxfOverrides {
    std::array<std::optional<output::DxfLayer>, output::kDxfLayerCount> layers;
    std::array<std::optional<int>, output::kDxfItemCount> itemLayer;
    std::array<std::optional<bool>, output::kDxfItemCount> itemOutput;

    [[nodiscard]] bool any() const;
    // Puts the overrides into `settings` (the file's choices).
    void applyTo(output::DxfSettings& settings) const;
};

// "N=NAME:COLOUR": N 1..5, NAME not empty and without the characters a DXF
// layer name cannot hold (< > / \ " : ; ? * | = `), COLOUR 1..7 or a colour
// name. False with `problem` set when the text does not read.
bool parseDxfLayerOption(const std::string& text, DxfOverrides& overrides, std::string& problem);

// "ITEM=VALUE[,ITEM=VALUE...]": ITEM one of output::dxfItemKeys(), VALUE a
// layer number 0..5 (the item on that layer, written), "on" or "off".
bool parseDxfItemsOption(const std::string& text, DxfOverrides& overrides, std::string& problem);

// The drawing outputs a command can write besides its own work:
// --dxf FILE [--dxf-release NAME] [--dxf-layer N=NAME:COLOUR]... [--dxf-items LIST]
// and --svg DIR [--svg-size WxH].
struct DrawingOptions {
    std::string dxfFile;
    std::string dxfRelease;  // empty: the settings file's active release
    DxfOverrides dxf;
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
