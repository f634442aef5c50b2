// The archive scan of a folder of 10,000 project files (the same mix as a
// user's folder: project documents, old text projects and Quillon files),
// in the core: listing, reading, the figures of every row, the grand total.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <benchmark/benchmark.h>
#include <unistd.h>

#include "project/archive.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 10000;

std::string readFile(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Made once per process, removed at its end.
class Folder {
public:
    Folder()
    {
        m_path = fs::temp_directory_path() / ("velmora-archive-bench-" + std::to_string(::getpid()));
        fs::create_directories(m_path);
        const std::string data = std::string(VELMORA_SOURCE_DIR) + "/tests/data/project/archive/";
        const std::string sources[] = {readFile(data + "yard/yard.vlp"), readFile(data + "totals/a-cabinet.vlp"),
                                       readFile(data + "totals/b-shelf.qln")};
        const char* extensions[] = {".vlp", ".vlp", ".qln"};
        for (int i = 0; i < kFiles; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "job%05d%s", i, extensions[i % 3]);
            std::ofstream(m_path / name, std::ios::binary) << sources[i % 3];
        }
    }
    ~Folder()
    {
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    [[nodiscard]] std::string path() const { return m_path.string(); }

private:
    fs::path m_path;
};

void archiveScan10000(benchmark::State& state)
{
    static const Folder folder;
    for (auto _ : state) {
        const project_io::ArchiveScan scan = project_io::scanArchive(folder.path(), "", engine::AreaUnit::SquareMetre);
        if (scan.rows.size() != kFiles)
            state.SkipWithError("not every file listed");
        benchmark::DoNotOptimize(scan.grandTotal);
    }
}
BENCHMARK(archiveScan10000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
