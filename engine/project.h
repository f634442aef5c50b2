#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/text_table.h"
#include "engine/units.h"

namespace engine {

// Columns of the sheet table.
namespace SheetCol {
constexpr int Len = 1;
constexpr int Wid = 2;
constexpr int Qty = 3;
constexpr int Descr = 4;
constexpr int Count = 5;
} // namespace SheetCol

// Columns of the part table. Edges: 0 = bl1, 1 = bl2 (length edges),
// 2 = bw1, 3 = bw2 (width edges). Band name in Band + e, thickness in
// Thickness + e, third attribute in Sign + e.
namespace PartCol {
constexpr int Len = 1;
constexpr int Wid = 2;
constexpr int Qty = 3;
constexpr int Ini = 4;
constexpr int Rot = 5;
constexpr int Band = 6;
constexpr int Thickness = 10;
constexpr int Sign = 14;
constexpr int Count = 18;
} // namespace PartCol

enum class Edge : int { Bl1 = 0, Bl2 = 1, Bw1 = 2, Bw2 = 3 };

// One physical stock sheet: a sheet row repeated by its quantity.
struct SheetInstance {
    std::int32_t len = 0;
    std::int32_t wid = 0;
    std::int32_t rowQty = 0;  // the row's quantity, informational
    std::int32_t tnb = 0;     // sheet number, position in the list + 1
    std::int32_t row = 0;     // 1-based sheet table row
    bool operator==(const SheetInstance&) const = default;
};

// One part row in internal units; len and wid are the footprint
// (finished size - band thickness + kerf).
struct PartDemand {
    std::int32_t len = 0;
    std::int32_t wid = 0;
    std::int32_t qty = 0;
    std::int32_t row = 0;   // 1-based part table row
    std::int32_t lock = 0;  // 1: must keep its orientation
    bool operator==(const PartDemand&) const = default;
};

// A part on a cut sheet. Corners in internal units, x along the sheet length.
struct PlacedElement {
    std::int32_t tnb = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t x1 = 0;
    std::int32_t y1 = 0;
    std::int32_t rot = 0;  // 1: lies turned, its length along y
    std::int32_t enb = 0;  // 1-based part row
    bool operator==(const PlacedElement&) const = default;
};

// A free rectangle left on a cut sheet.
struct Offcut {
    std::int32_t tnb = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t x1 = 0;
    std::int32_t y1 = 0;
    bool operator==(const Offcut&) const = default;
};

// Identical cut sheets grouped under a representative with a multiplicity.
struct LayoutGroup {
    std::int32_t tnb = 0;           // representative sheet id
    std::int32_t multiplicity = 0;
    bool operator==(const LayoutGroup&) const = default;
};

// The eight totals of the input page, kept as the texts shown.
struct ProjectStats {
    std::string parts;
    std::string used_parts;
    std::string used_sheets;
    std::string part_area;
    std::string average_yield;
    std::string last_sheet_yield;
    std::string cut_length;
    std::string banding_length;
    bool operator==(const ProjectStats&) const = default;
};

// Cover title, author and client data stored with the project.
struct ProjectDetails {
    std::string coverTitle;
    std::string author;
    std::string clientName;
    std::string clientSurname;
    std::array<std::string, 3> clientAddress;
    std::string clientPhone;
    std::string clientNote;
    bool operator==(const ProjectDetails&) const = default;
};

// What both engines read, built from the tables just before a run.
struct EngineInput {
    std::vector<SheetInstance> sheets;
    std::vector<PartDemand> parts;       // one per part row
    std::vector<PartDemand> remaining;   // counted down by the manual mode
    std::int64_t totalParts = 0;         // sum of part quantities, for the result check
    std::int64_t totalPartsManual = 0;   // the same, for the manual mode
};

// Which optimisation produced a result: the automatic run, the deep
// optimisation's own plan, or a deep run that found nothing better than the
// automatic plan it started from.
enum class ResultMethod { Automatic = 0, Deep = 1, DeepKeptAutomatic = 2 };

// The result of the last optimisation.
struct CuttingResult {
    std::vector<PlacedElement> elements;
    std::vector<Offcut> offcuts;
    std::vector<LayoutGroup> groups;        // rebuilt by GroupLayouts
    std::vector<std::int32_t> sheetRowUsage; // index 0 = sheet row 1
    ProjectStats stats;
    // Set by ShowResults when every entered part is placed; the offcut and
    // subtraction commands work only on such a result, each once.
    bool complete = false;
    bool offcutsTaken = false;
    bool sheetsSubtracted = false;
    // Not saved with the project: a result read from a file counts as automatic.
    ResultMethod method = ResultMethod::Automatic;
};

// One line of the report or the bill: text with the marks the rich-text
// boxes show. `bold`: bold is added to the box attributes at this line and
// stays for the lines after it (output::boldInEffect); `sizeDelta`: points
// added to the font size for this line only.
struct RichLine {
    std::string text;
    bool bold = false;
    int sizeDelta = 0;
    bool operator==(const RichLine&) const = default;
};
using RichText = std::vector<RichLine>;

// The one open cutting job: the two input tables (their texts are
// authoritative), the engine input, the result and the project details.
class Project {
public:
    Project();

    TextTable sheets{SheetCol::Count};
    TextTable parts{PartCol::Count};

    // Quantity sums shown in the table captions; kept beside the tables and
    // refreshed by recomputeTotals() or by the commands that change them.
    std::int64_t sheetQtyTotal = 0;
    std::int64_t partQtyTotal = 0;

    ProjectDetails details;
    EngineInput input;
    CuttingResult result;
    RichText report;
    RichText bill;

    // Full path of the open project file; empty for an untitled project.
    std::string fileName;

    [[nodiscard]] int sheetRowCount() const { return sheets.rowCount(); }
    [[nodiscard]] int partRowCount() const { return parts.rowCount(); }

    // Sums column 3 of both tables (cells that are no integer count 0).
    void recomputeTotals();
    // Empties the tables, totals, report and bill (the details stay).
    void clearTables();
    void clearResult();
};

// Length of a cell in `unit`; a cell that does not read as a length counts 0
// (used for band thicknesses wherever net sizes are computed).
[[nodiscard]] Length lengthOrZero(const std::string& text, LengthUnit unit);

// Footprint of a part row: finished size - band thicknesses + kerf. Returns
// false when length, width or quantity cannot be read.
struct Footprint {
    Length len = 0;
    Length wid = 0;
};
[[nodiscard]] Footprint partFootprint(const TextTable& parts, int row, LengthUnit unit, int kerf);

// Net (cut) size of a part row before banding: finished size - band thicknesses.
[[nodiscard]] Footprint partNetSize(const TextTable& parts, int row, LengthUnit unit);

// Whole-number quantity of a cell, or -1 when it is no integer.
[[nodiscard]] std::int32_t quantityOf(const std::string& text);

} // namespace engine
