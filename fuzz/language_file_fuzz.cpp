// Language file loader over arbitrary bytes.
#include <cstddef>
#include <cstdint>

#include "engine/language_table.h"
#include "fuzz/fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path = fuzz::writeInput(data, size, ".vll");
    engine::LanguageTable table;
    (void)table.load(path);
    return 0;
}
