#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace fuzz {

// The folder of this process for the files the targets write (removed by
// the replay program when it is done).
inline const std::string& scratchFolder()
{
    static const std::string folder = [] {
        const std::string f = "/tmp/velmora-fuzz-" + std::to_string(::getpid());
        std::error_code ec;
        std::filesystem::create_directories(f, ec);
        return f;
    }();
    return folder;
}

// Writes the input to a file of the scratch folder with the given extension,
// for the readers that take a file name. Returns its path.
inline std::string writeInput(const std::uint8_t* data, std::size_t size, const std::string& extension)
{
    const std::string path = scratchFolder() + "/input" + extension;
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        if (size > 0)
            std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    return path;
}

} // namespace fuzz
