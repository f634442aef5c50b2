#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include <unistd.h>

namespace fuzz {

// Writes the input to a file of this process with the given extension, for
// the readers that take a file name. Returns its path.
inline std::string writeInput(const std::uint8_t* data, std::size_t size, const std::string& extension)
{
    const std::string path = "/tmp/velmora-fuzz-" + std::to_string(::getpid()) + extension;
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        if (size > 0)
            std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    return path;
}

} // namespace fuzz
