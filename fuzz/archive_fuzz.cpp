// Archive scan: the input becomes a project document or legacy text (.vlp)
// and a Quillon file (.qln) in a folder of its own, which is then scanned.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "fuzz/fuzz_file.h"
#include "project/archive.h"

namespace {

void writeFile(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        if (size > 0)
            std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string folder = [] {
        const std::string f = fuzz::scratchFolder() + "/archive";
        std::error_code ec;
        std::filesystem::create_directories(f, ec);
        return f;
    }();
    writeFile(folder + "/a.vlp", data, size);
    writeFile(folder + "/b.qln", data, size);
    const project_io::ArchiveScan scan = project_io::scanArchive(folder, "", engine::AreaUnit::SquareMetre);
    if (scan.status.ok() && scan.rows.size() != 2)
        __builtin_trap();
    std::vector<project_io::ArchiveRow> rows = scan.rows;
    if (!rows.empty())
        (void)project_io::editArchivePrice(rows, 0, "12.5");
    return 0;
}
