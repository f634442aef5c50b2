#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "engine/msg.h"
#include "engine/paths.h"

namespace output {

constexpr int kDxfLayerCount = 6;
constexpr int kDxfItemCount = 6;

// The six kinds of drawing objects of a DXF export, in the order the
// settings file lists them.
enum class DxfItem : int {
    PartRectangle = 0,
    PartLabel = 1,
    PartSize = 2,
    OffcutRectangle = 3,
    OffcutSize = 4,
    SheetHeader = 5,
};

// One layer of the drawing: its name and its AutoCAD colour number
// (1 red, 2 yellow, 3 green, 4 cyan, 5 blue, 6 magenta, 7 white). Layer 0
// is always the drawing's layer "0".
struct DxfLayer {
    std::string name;
    int colour = 7;
    bool operator==(const DxfLayer&) const = default;
};

// Which layer (0..5) an item goes to and whether it is written at all.
struct DxfItemSetup {
    int layer = 0;
    bool output = true;
    bool operator==(const DxfItemSetup&) const = default;
};

// The choices of the DXF export as the settings file Config//velmdxf.xml
// keeps them (the export dialog's controls).
struct DxfSettings {
    std::string filePath;  // last DXF file written
    std::array<DxfLayer, kDxfLayerCount> layers{{{"0", 7},
                                                  {"Layer1", 7},
                                                  {"Layer2", 7},
                                                  {"Layer3", 7},
                                                  {"Layer4", 7},
                                                  {"Layer5", 7}}};
    std::array<DxfItemSetup, kDxfItemCount> items{};
    std::vector<std::string> releases;  // release names, in file order
    int active = 0;                     // index of the chosen release

    [[nodiscard]] const DxfItemSetup& item(DxfItem i) const { return items[static_cast<size_t>(i)]; }
    // Name of the layer an item goes to (layer 0 is always "0").
    [[nodiscard]] std::string layerName(DxfItem i) const;
    [[nodiscard]] std::string activeRelease() const;
};

// The seven colours a layer can have, as the export dialog lists them
// ("Red" ... "White"); a colour's number is its position plus one, its
// AutoCAD Colour Index.
[[nodiscard]] const std::array<std::string, 7>& dxfColourNames();

// A colour typed as its number (1..7) or its name (any letter case); 0 when
// the text is neither.
[[nodiscard]] int dxfColourFromText(std::string_view text);

// The short names of the six items, in item order, as velmora-cli takes
// them: parts, part-names, part-sizes, offcuts, offcut-sizes, headers.
[[nodiscard]] const std::array<std::string, kDxfItemCount>& dxfItemKeys();

// The name a layer field falls back to when it is left empty: "Layer1" ..
// "Layer5" for layers 1..5 ("0" for layer 0).
[[nodiscard]] std::string dxfDefaultLayerName(int layer);

// Config//velmdxf.xml in the program folder (which ends in a separator), to
// read or to write: the user's own copy when the program folder is shared
// (engine::programDataPath).
[[nodiscard]] std::string dxfSettingsPath(const std::string& programFolder,
                                          engine::DataUse use = engine::DataUse::Read);

// Reads the settings file into `settings`, in the order file path, layers,
// items, releases. The first thing that is missing or does not convert ends
// the reading silently: what was read before stays, the rest keeps its
// earlier value. Returns false when the reading stopped early.
bool loadDxfSettings(const std::string& path, DxfSettings& settings);

// The same, for callers that must not go on without the file (a drawing
// without its templates is no DXF file): Ok, or DxfSettingsUnreadable with
// the path (and the file problem as reason when the file cannot be read).
[[nodiscard]] engine::Status readDxfSettings(const std::string& path, DxfSettings& settings);

// Writes file path, layer names and colours, item layers and switches and
// the active release into the existing file; everything else in the file
// (templates, release list, count, comments, unknown elements) stays as it
// was. On any failure the file is left untouched and false comes back.
bool saveDxfSettings(const std::string& path, const DxfSettings& settings);

enum class DxfTemplate { Head = 1, Middle = 2, Tail = 3 };  // h1, h2, h3

// The lines of template h1, h2 or h3 of version `version` (0-based, file
// order). Any failure gives no lines.
[[nodiscard]] std::vector<std::string> fetchDxfTemplate(const std::string& path, int version, DxfTemplate which);

// Splits a template text into lines at CR LF, CR or LF; a line break at the
// very end does not start another line.
[[nodiscard]] std::vector<std::string> splitTemplateLines(std::string_view text);

} // namespace output
