// Reading a workbook of 10,000 rows of four columns, as made by openpyxl and
// odfpy (tests/data/sheets/big.xlsx, big.ods), and the same rows as CSV.
#include <benchmark/benchmark.h>

#include <string>

#include "sheets/workbook.h"

namespace {

std::string fixture(const char* name) { return std::string(VELMORA_SOURCE_DIR) + "/tests/data/sheets/" + name; }

void readBook(benchmark::State& state, const std::string& path)
{
    for (auto _ : state) {
        auto book = sheets::readWorkbook(path);
        if (!book.ok() || book->sheets.at(0).lastRow() != 10000) {
            state.SkipWithError("the workbook did not read");
            return;
        }
        benchmark::DoNotOptimize(book->sheets.at(0).cellCount());
    }
}

void XlsxTenThousandRows(benchmark::State& state) { readBook(state, fixture("big.xlsx")); }
void OdsTenThousandRows(benchmark::State& state) { readBook(state, fixture("big.ods")); }

BENCHMARK(XlsxTenThousandRows)->Unit(benchmark::kMillisecond);
BENCHMARK(OdsTenThousandRows)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
