// Quillon (.qln) reader over arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "project/foreign_project.h"


extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    engine::Project project;
    const auto r = project_io::readForeignProjectText(text, project);
    if (r.status.ok() && r.unit != 1)
        std::abort();
    // 10000 pieces hold at most 1428 records
    if (project.sheetRowCount() + project.partRowCount() > project_io::kMaxQuillonPieces / 7)
        std::abort();
    return 0;
}
