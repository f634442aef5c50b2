#pragma once

#include <string>
#include <vector>

#include "engine/band_type_table.h"
#include "engine/msg.h"
#include "engine/project.h"
#include "engine/settings.h"
#include "engine/units.h"

namespace engine {

// Rewrites the length cells of the tables when the length unit changes.
// Cells are texts in the unit they were typed in, so each is parsed in the
// old unit and formatted in the new one.

// One length cell from `from` to `to`; false (cell unchanged) when it does
// not read as a length in `from`.
bool convertLengthCell(std::string& cell, LengthUnit from, LengthUnit to);

// Sheet columns 1, 2 and part columns 1, 2, 10..13 of every data row.
// Returns one warning per cell left unchanged, in table order:
// SheetCellNotConverted, then PartCellNotConverted. An empty band thickness
// counts 0 everywhere, so it is left empty without a warning.
[[nodiscard]] std::vector<Msg> convertTables(Project& project, LengthUnit from, LengthUnit to);

// The five length settings as the settings dialog shows them in `unit`.
// They are held in internal units, so a unit change only shows them anew.
struct LengthSettingTexts {
    std::string kerf;         // Testera
    std::string offcutMin;    // Visak
    std::string offcutMin2;   // Visak2
    std::string sheetLength;  // DefSheetWidth: also what the sheet entry row offers
    std::string sheetWidth;   // DefSheetHeight
    bool operator==(const LengthSettingTexts&) const = default;
};
[[nodiscard]] LengthSettingTexts lengthSettingTexts(const Settings& settings, LengthUnit unit);

// What a change of the length unit did and what to tell the user.
struct UnitChange {
    bool changed = false;       // false: `to` was already the unit; nothing was touched
    // One per cell left as it was, to be shown as warnings in this order:
    // SheetCellNotConverted, PartCellNotConverted, BandCellNotConverted.
    std::vector<Msg> warnings;
    // Writing the band type file and reading it back (Ok, or the error of
    // BandTypeTable::save or load, to be shown as an error).
    Status bandFile;
    // The length settings in the new unit (kerf, offcut minimums, default
    // sheet size for the settings fields and the sheet entry row).
    LengthSettingTexts texts;
};

// The length unit change of the settings: from the current unit
// (settings.JedMere) to `to`. Converts the length cells of the tables and
// the thickness and extra length of records 1.. of `bands` (the band type
// records being edited, unconfirmed edits included), writes `bands` to the
// band type file `bandFilePath` and reads the file back into it (so `bands`
// ends as the file holds it), then makes `to` the current unit. A failed
// write leaves the old file and the converted `bands` as they are. The
// caller refreshes what shows the tables, the band types and the results.
[[nodiscard]] UnitChange changeLengthUnit(Project& project, Settings& settings, BandTypeTable& bands, LengthUnit to,
                                          const std::string& bandFilePath);

} // namespace engine
