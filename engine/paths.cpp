#include "engine/paths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace engine {

std::string programFolder()
{
    std::string folder;
    if (const char* home = std::getenv("VELMORA_HOME"); home && *home) {
        folder = home;
    } else {
        std::error_code ec;
        const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
        folder = ec ? std::filesystem::current_path(ec).string() : exe.parent_path().string();
    }
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

std::string programFile(const std::string& relative) { return programFolder() + relative; }

} // namespace engine
