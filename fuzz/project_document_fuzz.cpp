// Project file opening: the input is written as a .vlp file (a project
// document, or legacy text when it starts with 'V') and opened, in replace
// or add mode after the first byte, into a project that already has rows.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_file.h"
#include "project/project_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const bool addMode = (data[0] & 1) != 0;
    const std::string path = fuzz::writeInput(data + 1, size - 1, ".vlp");
    engine::Settings settings;
    settings.LoadSema = (data[0] & 2) != 0;
    settings.LoadReport = (data[0] & 4) != 0;
    engine::Project project;
    project.sheets.appendRow({"", "2800", "2070", "1", "there"});
    project.parts.appendRow({"", "600", "400", "2", "A", "0"});
    (void)project_io::OpenProject(path, addMode, project, settings);
    (void)project_io::ReadProjectDocument(path, addMode, project, settings);
    return 0;
}
