// Manual block search: one full search on the first sheet of
// examples/kitchen.vlp and on a kitchen sheet given in code (manparam 2 =
// 40000 combinations, alpha 0.001, P.I. 92) and a
// longer one on the same sheet (alpha 0.01, searched to the end), each also
// with the plain reference version of the search, and the peak memory of
// long searches over many small parts.
//
// Run: manual_search_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include <sys/resource.h>

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "engine/auto_run.h"
#include "engine/log3.h"
#include "engine/manual_session.h"
#include "engine/project.h"
#include "engine/settings.h"
#include "project/project_file.h"
#include "tests/engine/log3_reference.h"

namespace {

using engine::PartDemand;

struct SheetInput {
    std::vector<PartDemand> rows;
    std::uint32_t L = 0;
    std::uint32_t W = 0;
};

// A kitchen of base and wall cabinets on 2800 x 2070 boards, kerf 0.4 mm
// (internal lengths: tenths of a millimetre, footprint = size + kerf).
SheetInput kitchen()
{
    struct Row {
        int len, wid, qty, lock;
    };
    const Row rows[] = {
        {2400, 100, 2, 1}, {796, 176, 6, 0}, {764, 560, 4, 0}, {760, 540, 4, 0}, {720, 560, 8, 0},
        {716, 396, 8, 1},  {720, 320, 6, 0}, {564, 300, 6, 0}, {764, 100, 8, 0}, {764, 80, 4, 0},
    };
    SheetInput in;
    int r = 1;
    for (const Row& row : rows) {
        in.rows.push_back({row.len * 10 + 4, row.wid * 10 + 4, row.qty, r, row.lock});
        ++r;
    }
    in.L = 28000;
    in.W = 20700;
    return in;
}

// The first sheet the manual mode searches in examples/kitchen.vlp (after
// the tables are sorted: the smallest board on which a part fits), with all
// its part rows.
SheetInput exampleFirstSheet()
{
    engine::Project project;
    const engine::Settings settings;
    SheetInput in;
    if (!project_io::OpenProject(std::string(VELMORA_SOURCE_DIR) + "/examples/kitchen.vlp", false, project, settings)
             .status.ok() ||
        !engine::PrepareEngineInput(project, settings).ok())
        return in;
    const std::int32_t tnb = engine::nextEligibleSheet(project.input.sheets, project.input.parts, 0);
    if (tnb == 0)
        return in;
    in.rows = project.input.parts;
    in.L = static_cast<std::uint32_t>(project.input.sheets[static_cast<std::size_t>(tnb - 1)].len);
    in.W = static_cast<std::uint32_t>(project.input.sheets[static_cast<std::size_t>(tnb - 1)].wid);
    return in;
}

// A reduced kitchen the plain version finishes quickly.
SheetInput smallKitchen(int rows)
{
    SheetInput in = kitchen();
    in.rows.resize(static_cast<std::size_t>(rows));
    return in;
}

void runEngine(benchmark::State& state, const SheetInput& in, std::uint32_t limit, float alpha, int pi)
{
    engine::log3 e;
    for (auto _ : state) {
        e.Init(in.rows, limit, alpha, in.L, in.W, pi, static_cast<std::uint32_t>(in.rows.size()));
        e.Search();
        benchmark::DoNotOptimize(e.bestIndex());
    }
    state.counters["generations"] = e.generation();
    state.counters["known"] = static_cast<double>(e.knownCount());
    state.counters["best"] = static_cast<double>(e.bestIndex());
    state.counters["score"] = e.scores().empty() ? 0 : e.scores()[e.bestIndex()];
    state.counters["listMB"] = static_cast<double>(e.memoryInUse()) / (1 << 20);
    state.counters["stoppedFull"] = e.end() == engine::SearchEnd::KnownListFull ? 1 : 0;
}

void runReference(benchmark::State& state, const SheetInput& in, std::uint32_t limit, float alpha, int pi)
{
    reference::Log3 r;
    for (auto _ : state) {
        r.Init(in.rows, limit, alpha, in.L, in.W, pi, static_cast<std::uint32_t>(in.rows.size()));
        r.Search();
        benchmark::DoNotOptimize(r.best);
    }
    state.counters["generations"] = r.generation;
    state.counters["known"] = static_cast<double>(r.known.count());
    state.counters["best"] = static_cast<double>(r.best);
}

void BM_ExampleFirstSheet(benchmark::State& state)
{
    runEngine(state, exampleFirstSheet(), 40000, 0.001f, 92);
}
BENCHMARK(BM_ExampleFirstSheet)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ExampleFirstSheetReference(benchmark::State& state)
{
    runReference(state, exampleFirstSheet(), 40000, 0.001f, 92);
}
BENCHMARK(BM_ExampleFirstSheetReference)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void BM_KitchenFirstSheet(benchmark::State& state)
{
    runEngine(state, kitchen(), 40000, 0.001f, 92);
}
BENCHMARK(BM_KitchenFirstSheet)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_KitchenFirstSheetReference(benchmark::State& state)
{
    runReference(state, kitchen(), 40000, 0.001f, 92);
}
BENCHMARK(BM_KitchenFirstSheetReference)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// The same sheet with a looser alpha, searched to the end (P.I. 101 is
// never exceeded).
void BM_KitchenToTheEnd(benchmark::State& state)
{
    runEngine(state, kitchen(), 40000, 0.01f, 101);
}
BENCHMARK(BM_KitchenToTheEnd)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_KitchenToTheEndReference(benchmark::State& state)
{
    runReference(state, kitchen(), 40000, 0.01f, 101);
}
BENCHMARK(BM_KitchenToTheEndReference)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void BM_SmallKitchen(benchmark::State& state)
{
    runEngine(state, smallKitchen(static_cast<int>(state.range(0))), 40000, 0.001f, 92);
}
BENCHMARK(BM_SmallKitchen)->Arg(4)->Arg(6)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SmallKitchenReference(benchmark::State& state)
{
    runReference(state, smallKitchen(static_cast<int>(state.range(0))), 40000, 0.001f, 92);
}
BENCHMARK(BM_SmallKitchenReference)->Arg(4)->Arg(6)->Unit(benchmark::kMillisecond)->UseRealTime();

// A search that is never good enough and admits loose joins of many small
// parts runs until its known list is full (known-list limit or memory
// budget); peak resident memory of the whole process. Arg: engine part rows.
void BM_FillKnownList(benchmark::State& state)
{
    SheetInput in;
    in.L = 28000;
    in.W = 20700;
    const int rows = static_cast<int>(state.range(0));
    for (int r = 0; r < rows; ++r)
        in.rows.push_back({104 + 13 * (r % 40), 64 + 7 * (r % 30), 5000, r + 1, r % 2});
    runEngine(state, in, 40000, 1.0f, 101);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peakRssMB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_FillKnownList)->Arg(10)->Arg(499)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace

BENCHMARK_MAIN();
