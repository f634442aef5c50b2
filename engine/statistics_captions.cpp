#include "engine/statistics_captions.h"

namespace engine {

namespace {

std::string bracketed(const std::string& text, const std::string& inner) { return text + " (" + inner + ")"; }

} // namespace

std::string statisticsCaption(const LanguageTable& table, UnitHeading h, const HeadingValues& v)
{
    switch (h) {
    case UnitHeading::PlacedArea: return bracketed(table.text(53), AreaUnitName(v.areaUnit));
    case UnitHeading::AverageYield: return bracketed(table.text(54), "%");
    case UnitHeading::LastSheetYield: return bracketed(table.text(55), "%");
    case UnitHeading::CutLength: return bracketed(table.text(56), LengthUnitLabel(v.lengthUnit, false));
    case UnitHeading::BandingLength: return bracketed(table.text(57), LengthUnitLabel(v.lengthUnit, false));
    case UnitHeading::SheetTableTitle: return bracketed(table.text(130), std::to_string(v.sheetQuantity));
    case UnitHeading::PartTableTitle: return bracketed(table.text(131), std::to_string(v.partQuantity));
    }
    return {};
}

} // namespace engine
