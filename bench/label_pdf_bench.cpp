// 10,000 part labels on the A4 3 x 8 style into one PDF (417 pages): the
// items, the page loop, the QPainter canvas and the PDF writer together.

#include <benchmark/benchmark.h>

#include "engine/project.h"
#include "engine/settings.h"
#include "labels/label_definitions.h"
#include "labels/label_layout.h"
#include "render/pdf_print.h"

namespace {

// 1,000 part rows of 10 pieces each.
engine::Project tenThousandPieces()
{
    engine::Project p;
    for (int r = 0; r < 1000; ++r)
        p.parts.appendRow({"", std::to_string(300 + r), "400", "10", "Part " + std::to_string(r + 1), "0"});
    p.details.coverTitle = "Benchmark kitchen";
    p.details.clientName = "Ana";
    p.details.clientSurname = "Petrović";
    return p;
}

void BM_LabelPdf10000(benchmark::State& state)
{
    const auto d = labels::readLabelDefinitions(std::string(VELMORA_SOURCE_DIR) + "/data/Config/velmlabels.xml");
    if (!d.ok()) {
        state.SkipWithError("the shipped definitions file cannot be read");
        return;
    }
    const engine::Project p = tenThousandPieces();
    engine::Settings s;
    s.JedMere = 0;
    labels::LabelJob job = labels::labelJob(*d, 0, p, s, std::tm{});
    job.kinds = {true, false, false};
    render::PdfOptions pdf;
    pdf.marginMm = 0;
    pdf.title = labels::kLabelJobTitle;
    std::size_t bytes = 0;
    for (auto _ : state) {
        const render::DrawPages draw = [&](output::PrintTarget& target) {
            return labels::printLabels(target, p, s, job, {}).status;
        };
        const engine::Result<render::PdfBytes> made = render::printPdfPages(draw, pdf);
        if (!made.ok() || made->pages != (10000 + 23) / 24) {
            state.SkipWithError("the PDF was not made");
            return;
        }
        bytes = made->bytes.size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["pdf_bytes"] = static_cast<double>(bytes);
}

} // namespace

BENCHMARK(BM_LabelPdf10000)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);

BENCHMARK_MAIN();
