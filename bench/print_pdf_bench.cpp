// Printing 500 different layouts four to a page into one PDF (125 pages):
// the page composition, the QPainter canvas and the PDF writer together.

#include <benchmark/benchmark.h>

#include "engine/language_table.h"
#include "engine/project.h"
#include "engine/settings.h"
#include "output/print_job.h"
#include "render/pdf_print.h"

namespace {

// 500 used sheets, no two alike: each holds 12 parts in a 4 x 3 grid whose
// size grows with the sheet number, and the two offcuts around them.
engine::Project fiveHundredGroups()
{
    engine::Project p;
    p.sheets.appendRow({"", "2800", "2070", "500", "Oak 18"});
    for (int r = 0; r < 500; ++r)
        p.parts.appendRow({"", std::to_string(300 + r), "400", "12", "P" + std::to_string(r + 1), "0"});
    for (int tnb = 1; tnb <= 500; ++tnb) {
        p.input.sheets.push_back({28000, 20700, 500, tnb, 1});
        const int w = 3004 + 10 * (tnb - 1);
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 3; ++j)
                p.result.elements.push_back({tnb, i * w, j * 4004, (i + 1) * w, (j + 1) * 4004, 0, tnb});
        p.result.offcuts.push_back({tnb, 4 * w, 0, 28000, 20700});
        p.result.offcuts.push_back({tnb, 0, 3 * 4004, 4 * w, 20700});
        p.result.groups.push_back({tnb, 1});
    }
    return p;
}

void BM_PrintPdf500GroupsFourPerPage(benchmark::State& state)
{
    const engine::Project p = fiveHundredGroups();
    engine::Settings s;
    s.JedMere = 0;
    s.AreaStyle = 2;
    engine::LanguageTable lang;
    const output::PrintContext context{p, s, lang, std::tm{}};
    output::PrintOptions options;
    options.perPage = 4;
    render::PdfOptions pdf;
    std::size_t bytes = 0;
    for (auto _ : state) {
        const engine::Result<render::PdfBytes> made = render::printPdf(context, options, pdf);
        if (!made.ok() || made->pages != 125) {
            state.SkipWithError("the PDF was not made");
            return;
        }
        bytes = made->bytes.size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["pdf_bytes"] = static_cast<double>(bytes);
}

} // namespace

BENCHMARK(BM_PrintPdf500GroupsFourPerPage)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
