#pragma once

#include <array>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "engine/msg.h"
#include "engine/project.h"
#include "engine/settings.h"
#include "labels/label_definitions.h"
#include "output/canvas.h"
#include "output/print_pages.h"

namespace labels {

// Label units: a value in one unit as the shortest text of its value in
// another, value x factor rounded half up to 3 decimals. `from` or `to`
// outside 0..2 converts nothing (nullopt), as does a text that is no number.
[[nodiscard]] double labelUnitFactor(int from, int to);
[[nodiscard]] std::optional<std::string> convertLabelUnit(const std::string& text, int from, int to);
// A number rounded half up to 3 decimals, as the shortest decimal text
// ("25.4", "1", "0.1").
[[nodiscard]] std::string labelNumberText(double value);

// The geometry of a style in millimetres.
struct LabelGeometry {
    double L = 0;   // label width (SizeLength)
    double H = 0;   // label height (SizeWidth)
    double ML = 0, MR = 0, MT = 0, MB = 0;
    double GH = 0;  // gap between labels side by side
    double GV = 0;  // gap between rows
    int rows = 0;
    int columns = 0;
};

// The style's values converted to millimetres. LabelStyleNotANumber (style
// name, element) for a size that does not read as a number or a unit
// outside 0..2.
[[nodiscard]] engine::Result<LabelGeometry> labelGeometry(const LabelStyle& style);

// Where the printer can print: the page's printable area in millimetres
// and its offset from the sheet's corner. The canvas origin is the
// printable area's corner.
struct LabelPaper {
    double printableWidthMm = 0;
    double printableHeightMm = 0;
    double offsetLeftMm = 0;
    double offsetTopMm = 0;
};

// The margins as the printer takes them: a left margin wider than the
// printer's left offset loses that offset (the printer counts from its
// printable area); a smaller one stays as it is. The same for the top.
[[nodiscard]] LabelGeometry onPrinter(const LabelGeometry& g, const LabelPaper& paper);

// Whether a style can be printed on the paper: LabelStyleEmpty (name) for 0
// rows or 0 columns, LabelStyleTooLarge (name) when not one label fits in
// the printable area (after onPrinter).
[[nodiscard]] engine::Status checkLabelStyle(const LabelStyle& style, const LabelGeometry& g,
                                             const LabelPaper& paper);

// One item of a kind: what its Size and Name lines say and how many labels
// it gets.
struct LabelItem {
    std::string size;
    std::string name;
    int count = 0;
    bool operator==(const LabelItem&) const = default;
};

// The items of a kind, in print order: part rows with their quantity; the
// layout groups of the result with their multiplicity; the good offcuts
// (net length >= Visak and net width >= Visak2), one each.
[[nodiscard]] std::vector<LabelItem> labelItems(const engine::Project& project, const engine::Settings& settings,
                                                LabelKind kind);

// Net size of an offcut: its extent less the kerf, the kerf given back on a
// side that lies on its sheet's edge. False when its sheet is unknown.
struct NetSize {
    std::int64_t length = 0;
    std::int64_t width = 0;
};
[[nodiscard]] bool offcutNetSize(const engine::Project& project, const engine::Offcut& o, int kerf, NetSize& out);

// The values of the lines every kind shares.
struct LabelValues {
    std::string company;
    std::string project;
    std::string author;
    std::string client;
    std::array<std::string, 3> address;
    std::string phone;
    std::string note;
    std::string date;
};
[[nodiscard]] LabelValues labelValues(const engine::Project& project, const engine::Settings& settings,
                                      const std::tm& now);

// The texts of one label, in print order, with the line setup each uses
// (Address gives three texts with the same setup).
struct LabelText {
    const LabelLineSetup* setup = nullptr;
    std::string text;
};
[[nodiscard]] std::vector<LabelText> labelTexts(const LabelKindSetup& setup, const LabelItem& item,
                                                const LabelValues& values);

// Where labels go: the top-left corner of label (row, column) in
// millimetres from the printable area's corner: ML + column (L + GH),
// MT + row (H + GV).
struct LabelSpot {
    double xMm = 0;
    double yMm = 0;
};
[[nodiscard]] LabelSpot labelSpot(const LabelGeometry& g, int row, int column);

// Draws one label at (xMm, yMm): its frame when the kind is framed, then its
// lines from 1 mm inside the corner, each moving down by its font's height.
// Lines are cut at the label's right edge and a line that would pass its
// bottom edge is left out, so that no text lands on the next label.
void drawLabel(output::Canvas& canvas, const std::string& font, double pxPerMmX, double pxPerMmY,
               const LabelGeometry& g, LabelSpot spot, const LabelKindSetup& setup,
               const std::vector<LabelText>& texts);

// One print run of labels.
struct LabelJob {
    LabelStyle style;
    LabelDefinitions definitions;           // the kinds' setups
    std::array<bool, 3> kinds{};             // parts, used sheets, offcuts chosen
    std::string font = "Arial";             // DefFont
    LabelValues values;
};

// How many labels each chosen kind gives.
[[nodiscard]] std::array<int, 3> labelCounts(const engine::Project& project, const engine::Settings& settings,
                                            const std::array<bool, 3>& kinds);

struct LabelPrintOutcome {
    engine::Status status;
    int pages = 0;
    int labels = 0;
};

// Prints the labels of the chosen kinds (parts, used sheets, offcuts in this
// order, one kind following the other on the same page) row by row, one
// page after another, as one document. Checks first (checkLabelStyle,
// labelGeometry); nothing is printed on a failure, nor when there are no
// labels (NoLabelsToPrint).
[[nodiscard]] LabelPrintOutcome printLabels(output::PrintTarget& target, const engine::Project& project,
                                            const engine::Settings& settings, const LabelJob& job,
                                            const LabelPaper& paperOffsets);

// The job of the definitions file for a project: the style chosen (index,
// or the active one for -1), the kinds, the font and the values.
[[nodiscard]] LabelJob labelJob(const LabelDefinitions& d, int styleIndex, const engine::Project& project,
                                const engine::Settings& settings, const std::tm& now);

// The designer's sample: an A4 page (210 x 297 mm) at one pixel per
// millimetre with its shadow, the labels of the style framed row by row, the
// right and bottom margins and everything beyond the page covered white,
// and the printable area dotted, on a surface of width x height pixels.
void drawLabelSample(output::Canvas& canvas, const LabelGeometry& g, int width, int height);

// The print job title.
inline const std::string kLabelJobTitle = "VELM Label Printing";

// Pixels per millimetre of a resolution in dots per inch.
[[nodiscard]] constexpr double pixelsPerMm(double dpi) { return dpi * 0.03937007933143675; }

} // namespace labels
