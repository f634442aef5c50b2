// The result refresh on a full-size result: 5000 used sheets of four
// layouts, 10000 placed parts, 10000 offcuts, grouped and ungrouped.

#include <benchmark/benchmark.h>

#include "engine/band_types.h"
#include "engine/language_table.h"
#include "engine/project.h"
#include "engine/settings.h"
#include "output/show_results.h"

namespace {

engine::Project bigResult()
{
    engine::Project p;
    p.sheets.appendRow({"", "280", "207", "5000", "Iverica"});
    for (int r = 0; r < 8; ++r)
        p.parts.appendRow({"", std::to_string(40 + r), "30", "1250", "P" + std::to_string(r), "0", "PVC", "-", "-",
                           "-", "0.1", "0", "0", "0"});
    p.input.totalParts = 10000;
    for (int tnb = 1; tnb <= 5000; ++tnb) {
        p.input.sheets.push_back({28000, 20700, 5000, tnb, 1});
        const int kind = tnb % 4;
        p.result.elements.push_back({tnb, 0, 0, 4004 + 100 * kind, 3004, 0, 1 + 2 * kind});
        p.result.elements.push_back({tnb, 4004 + 100 * kind, 0, 8008 + 200 * kind, 3004, 0, 2 + 2 * kind});
        p.result.offcuts.push_back({tnb, 8008 + 200 * kind, 0, 28000, 3004});
        p.result.offcuts.push_back({tnb, 0, 3004, 28000, 20700});
    }
    return p;
}

void runRefresh(benchmark::State& state, bool grouped)
{
    engine::Project p = bigResult();
    engine::Settings s;
    s.PrintDuplicate = grouped;
    engine::BandTypeTable bands;
    bands = engine::BandTypeTable({{"-", "0", "-", "0", "0"}, {"PVC", "0.1", "P", "2", "0.5"}});
    engine::LanguageTable lang;
    for (auto _ : state) {
        const output::ShowResultsOutcome out = output::showResultsCore(p, s, bands, lang);
        benchmark::DoNotOptimize(out.allPlaced);
    }
}

void BM_ShowResultsGrouped(benchmark::State& state) { runRefresh(state, true); }
void BM_ShowResultsUngrouped(benchmark::State& state) { runRefresh(state, false); }

} // namespace

BENCHMARK(BM_ShowResultsGrouped)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShowResultsUngrouped)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
