// Quillon (.qln) reader over arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "project/foreign_project.h"
#include "project/limits.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    engine::Project project;
    const auto r = project_io::ReadForeignProjectText(text, project);
    if (r.status.ok() && r.unit != 1)
        std::abort();
    if (project.sheetRowCount() > project_io::kMaxTableRows || project.partRowCount() > project_io::kMaxTableRows)
        std::abort();
    return 0;
}
