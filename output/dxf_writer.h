#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/msg.h"
#include "engine/project.h"
#include "engine/settings.h"
#include "output/dxf_settings.h"

namespace output {

// The release formats the writer knows, by their exact names in the
// settings file ("AutoCAD 2.5" ... "AutoCAD 2004"). Any other name is
// Unknown: such a drawing gets its templates and layer records only.
enum class DxfRelease { R2_5, R2_6, R9, R10, R11, R13, R14, R2000, R2002, R2004, Unknown };

[[nodiscard]] DxfRelease dxfReleaseFromName(const std::string& name);
// The ten names, oldest first.
[[nodiscard]] const std::vector<std::string>& dxfReleaseNames();

// Everything a drawing needs besides the project: the release (by name),
// its three templates as lines, the layers and the item choices.
struct DxfDrawingSetup {
    std::string releaseName;
    std::vector<std::string> head;    // h1: start of file up to the layer table header
    std::vector<std::string> middle;  // h2: end of the layer table up to the start of ENTITIES
    std::vector<std::string> tail;    // h3: end of ENTITIES up to EOF
    std::array<DxfLayer, kDxfLayerCount> layers;
    std::array<DxfItemSetup, kDxfItemCount> items{};
};

// The setup for the active release of `settings`, its templates fetched
// from the settings file at `settingsPath` (missing templates: no lines).
[[nodiscard]] DxfDrawingSetup dxfSetupFromSettings(const DxfSettings& settings, const std::string& settingsPath);

// Builds the DXF text lines (one group code or value per line) of every
// LayoutGroup of project.result: each group's representative sheet once,
// stacked upward 60 mm apart, in millimetres (length units mm, cm, m) or
// decimal inches (the inch units), with the header extents patched. Texts
// are UTF-8. The caller runs GroupLayouts first.
[[nodiscard]] std::vector<std::string> buildDxf(const engine::Project& project, const engine::Settings& settings,
                                                const DxfDrawingSetup& setup);

// Writes the lines, each ended by CR LF. DXF files of these releases are
// 8-bit text in the drawing's code page: the templates declare Windows-1252
// ($DWGCODEPAGE ANSI_1252), so UTF-8 text is converted to it, and a character
// that code page lacks is written as the DXF escape \U+XXXX.
// Returns Ok or CannotWriteDxf with the path.
[[nodiscard]] engine::Status writeDxfFile(const std::string& fileName, const std::vector<std::string>& lines);

// The export command without its dialog: writes the drawing with the
// choices in `dxfSettings` (the dialog's controls) and the templates of its
// active release, read anew from the settings file at `settingsPath`; then
// remembers `fileName` as the last export path and saves the settings
// (silently: a settings file that cannot be saved stays as it was).
// Ok; CannotWriteDxf + path; DxfSettingsUnreadable + settings path and
// release when the release has no head or tail template (nothing written).
[[nodiscard]] engine::Status exportDxf(const std::string& fileName, const engine::Project& project,
                                       const engine::Settings& settings, const std::string& settingsPath,
                                       DxfSettings& dxfSettings);

// UTF-8 -> Windows-1252 bytes with \U+XXXX for what that code page lacks
// (invalid UTF-8 bytes are taken as Windows-1252 already).
[[nodiscard]] std::string dxfEncodeText(const std::string& utf8);

} // namespace output
