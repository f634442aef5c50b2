#pragma once

#include <cstdint>
#include <string>

#include "engine/language_table.h"
#include "engine/units.h"

namespace engine {

// Headings that carry a unit or a count and are rebuilt after a language
// change, after a project is opened and when the units change.
enum class UnitHeading {
    PlacedArea,      // area of placed parts: entry 53 + " (" + area unit name + ")"
    AverageYield,    // average yield: entry 54 + " (%)"
    LastSheetYield,  // yield of the last sheet: entry 55 + " (%)"
    CutLength,       // cut length: entry 56 + " (" + bare length unit label + ")"
    BandingLength,   // banding length: entry 57 + " (" + bare length unit label + ")"
    SheetTableTitle, // sheet table: entry 130 + " (" + total sheet quantity + ")"
    PartTableTitle,  // part table: entry 131 + " (" + total part quantity + ")"
};

struct HeadingValues {
    AreaUnit areaUnit = AreaUnit::SquareMetre;
    LengthUnit lengthUnit = LengthUnit::Centimetre;
    std::int64_t sheetQuantity = 0;
    std::int64_t partQuantity = 0;
};

[[nodiscard]] std::string statisticsCaption(const LanguageTable& table, UnitHeading h, const HeadingValues& v);

} // namespace engine
