// Legacy project text reader: the first byte picks add mode and the two
// settings that decide which sections are read, the rest is the file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "project/legacy_project.h"
#include "project/limits.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::uint8_t mode = data[0];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    engine::Settings settings;
    settings.LoadSema = (mode & 2) != 0;
    settings.LoadReport = (mode & 4) != 0;
    engine::Project project;
    if (mode & 8)
        project.sheets.appendRow({"", "100", "100", "1", "there"});
    const auto r = project_io::readLegacyProjectText(text, (mode & 1) != 0, project, settings);
    if (r.status.ok() && (r.unit < 0 || r.unit > 5))
        std::abort();
    if (project.sheetRowCount() > project_io::kMaxTableRows || project.partRowCount() > project_io::kMaxTableRows)
        std::abort();
    return 0;
}
