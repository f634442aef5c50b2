#include "output/show_results.h"

#include "engine/statistics_captions.h"

#include "output/stat.h"

namespace output {

ShowResultsOutcome showResultsCore(engine::Project& project, const engine::Settings& settings,
                                   const engine::BandTypeTable& bands, const engine::LanguageTable& lang)
{
    stat s;
    BuildReport(s, project, settings, bands, lang);

    ShowResultsOutcome out;
    out.partsEntered = project.input.totalParts;
    out.partsPlaced = s.placedTotal;
    out.allPlaced = s.placedTotal >= project.input.totalParts;
    out.warnings = std::move(s.warnings);

    engine::HeadingValues units;
    units.areaUnit = engine::areaUnitFromInt(settings.AreaStyle);
    units.lengthUnit = engine::lengthUnitFromInt(settings.JedMere);
    const auto caption = [&](engine::UnitHeading h) { return engine::statisticsCaption(lang, h, units); };
    out.statCaptions = {lang.text(50),
                        lang.text(51),
                        lang.text(52),
                        caption(engine::UnitHeading::PlacedArea),
                        caption(engine::UnitHeading::AverageYield),
                        caption(engine::UnitHeading::LastSheetYield),
                        caption(engine::UnitHeading::CutLength),
                        caption(engine::UnitHeading::BandingLength)};

    engine::CuttingResult& result = project.result;
    result.complete = out.allPlaced;
    if (!out.allPlaced)
        out.status = engine::Status(engine::Msg::NotAllPartsPlaced);
    out.canTakeOffcuts = result.complete && !result.offcutsTaken;
    out.canSubtractSheets = result.complete && !result.sheetsSubtracted;
    return out;
}

} // namespace output
