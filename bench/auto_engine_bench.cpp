// Automatic layout engine on cabinet jobs: 2800 x 2070 mm boards, 300
// attempts. Compares the engine with the plain transcription of the method
// (tests/engine/auto_reference.h) on 2,000 parts and times 10,000 parts.
// Peak memory of a 10,000-part run alone:
//   auto_engine_bench --benchmark_filter='Engine10000/threads:0'
// and read the peak_rss_MB counter (the process high-water mark).

#include <sys/resource.h>

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <random>
#include <vector>

#include <benchmark/benchmark.h>

#include "engine/auto_engine.h"
#include "engine/rand31.h"
#include "../tests/engine/auto_reference.h"

namespace {

constexpr int kAttempts = 300;
constexpr int kKerf = 4;

struct Job {
    std::vector<engine::PartDemand> parts;
    std::vector<engine::SheetInstance> sheets;
};

// Part rows of kitchen and wardrobe carcasses in mm: sides, shelves, tops,
// doors, backs, drawer parts and rails, each family with a few variants.
Job cabinetJob(int totalParts)
{
    struct Family {
        int len, wid, lenSpread, widSpread;
    };
    const Family families[] = {
        {720, 560, 0, 40},  {2000, 560, 300, 40}, {564, 540, 200, 40}, {564, 300, 250, 60}, {716, 496, 0, 100},
        {716, 396, 0, 100}, {1996, 496, 200, 50}, {720, 600, 200, 100}, {496, 176, 300, 60}, {460, 140, 250, 40},
        {564, 100, 250, 0}, {900, 80, 500, 20},
    };
    std::mt19937 g(2026);
    std::vector<std::pair<int, int>> sizes;
    for (const Family& f : families) {
        for (int v = 0; v < 6; ++v) {
            const int l = f.len - (f.lenSpread ? static_cast<int>(g() % static_cast<unsigned>(f.lenSpread)) : 0);
            const int w = f.wid - (f.widSpread ? static_cast<int>(g() % static_cast<unsigned>(f.widSpread)) : 0);
            sizes.emplace_back(l, w);
        }
    }
    // Rows by descending area, as the run sorts them.
    std::sort(sizes.begin(), sizes.end(),
              [](const auto& a, const auto& b) { return a.first * a.second > b.first * b.second; });
    Job job;
    const int rows = static_cast<int>(sizes.size());
    int left = totalParts;
    for (int r = 0; r < rows; ++r) {
        const int qty = r == rows - 1 ? left : totalParts / rows;
        left -= qty;
        job.parts.push_back(engine::PartDemand{sizes[static_cast<size_t>(r)].first * 10 + kKerf,
                                               sizes[static_cast<size_t>(r)].second * 10 + kKerf, qty, r + 1,
                                               (r % 5 == 0) ? 1 : 0});
    }
    const int sheetCount = std::min(5000, totalParts / 4 + 10);
    for (int s = 0; s < sheetCount; ++s)
        job.sheets.push_back(engine::SheetInstance{28000, 20700, sheetCount, s + 1, 1});
    return job;
}

double peakRssMb()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_maxrss) / 1024.0;
}

struct EngineRun {
    int best = -1;
    std::vector<engine::PartSlot> slots;
    std::vector<engine::Offcut> offcuts;
};

EngineRun runEngine(const Job& job, int threads)
{
    engine::AutoEngine e;
    e.Load(job.parts, job.sheets, kKerf, kAttempts);
    engine::Rand31 rng;
    e.runAll(rng, threads);
    return EngineRun{e.ChooseBest(), e.best().slots, e.best().offcuts};
}

void Reference2000(benchmark::State& state)
{
    const Job job = cabinetJob(2000);
    for (auto _ : state) {
        reference::AutoEngineReference ref;
        ref.Load(job.parts, job.sheets, kKerf, kAttempts);
        engine::Rand31 rng;
        for (int a = 0; a < kAttempts; ++a)
            ref.RunAttempt(a, rng);
        const int best = ref.ChooseBest();
        benchmark::DoNotOptimize(best);
        state.PauseTiming();
        // The two must agree, or the timing means nothing.
        const EngineRun mine = runEngine(job, 0);
        const auto& at = ref.attempt(best);
        bool same = mine.best == best && mine.offcuts.size() == at.offcuts.size();
        for (size_t k = 0; same && k < at.slots.size(); ++k) {
            const auto& r = at.slots[k];
            const auto& m = mine.slots[k];
            same = r.tnb == m.tnb && (r.tnb == 0 || (r.x == m.x && r.y == m.y && r.x1 == m.x1 && r.y1 == m.y1 && r.rot == m.rot));
        }
        if (!same) {
            std::fprintf(stderr, "engine and transcription differ\n");
            std::abort();
        }
        state.counters["sheets"] = at.sheetsUsed;
        state.ResumeTiming();
    }
}
BENCHMARK(Reference2000)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void Engine(benchmark::State& state)
{
    const Job job = cabinetJob(static_cast<int>(state.range(0)));
    const int threads = static_cast<int>(state.range(1));
    std::int32_t sheets = 0;
    for (auto _ : state) {
        engine::AutoEngine e;
        e.Load(job.parts, job.sheets, kKerf, kAttempts);
        engine::Rand31 rng;
        e.runAll(rng, threads);
        sheets = e.best().sheetsUsed;
        benchmark::DoNotOptimize(e.ChooseBest());
    }
    state.counters["sheets"] = sheets;
    state.counters["peak_rss_MB"] = peakRssMb();
}
BENCHMARK(Engine)
    ->ArgNames({"parts", "threads"})
    ->Args({2000, 1})
    ->Args({2000, 0})
    ->Args({10000, 1})
    ->Args({10000, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
