#include "output/show_results.h"

#include "output/stat.h"

namespace output {

ShowResultsOutcome ShowResultsCore(engine::Project& project, const engine::Settings& settings,
                                   const engine::BandTypeTable& bands, const engine::LanguageTable& lang)
{
    stat s;
    BuildReport(s, project, settings, bands, lang);

    ShowResultsOutcome out;
    out.partsEntered = project.input.totalParts;
    out.partsPlaced = s.placedTotal;
    out.allPlaced = s.placedTotal >= project.input.totalParts;
    out.warnings = std::move(s.warnings);

    const std::string A = engine::AreaUnitName(engine::areaUnitFromInt(settings.AreaStyle));
    const std::string U = engine::LengthUnitLabel(engine::lengthUnitFromInt(settings.JedMere), false);
    out.statCaptions = {lang.text(50),
                        lang.text(51),
                        lang.text(52),
                        lang.text(53) + " (" + A + ")",
                        lang.text(54) + " (%)",
                        lang.text(55) + " (%)",
                        lang.text(56) + " (" + U + ")",
                        lang.text(57) + " (" + U + ")"};

    engine::CuttingResult& result = project.result;
    result.complete = out.allPlaced;
    if (!out.allPlaced)
        out.status = engine::Status(engine::Msg::NotAllPartsPlaced);
    out.canTakeOffcuts = result.complete && !result.offcutsTaken;
    out.canSubtractSheets = result.complete && !result.sheetsSubtracted;
    return out;
}

} // namespace output
