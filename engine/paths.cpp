#include "engine/paths.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <pwd.h>
#include <unistd.h>

#include "engine/file_io.h"

namespace engine {

namespace fs = std::filesystem;

namespace {

std::string withSlash(std::string folder)
{
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

bool isFolder(const fs::path& p)
{
    std::error_code ec;
    return fs::is_directory(p, ec);
}

// A folder holds the program data when it has the data's Config or Lang folder.
bool holdsProgramData(const std::string& folder)
{
    return isFolder(folder + "Config") || isFolder(folder + "Lang");
}

// The installed tree beside the folder of the running program.
std::string installedFolder(const std::string& executableFolder)
{
    return withSlash(executableFolder) + "../share/velmora/";
}

bool sameFolder(const std::string& a, const std::string& b)
{
    std::error_code ea;
    std::error_code eb;
    const fs::path ca = fs::canonical(a, ea);
    const fs::path cb = fs::canonical(b, eb);
    return !ea && !eb && ca == cb;
}

std::string homeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
        return pw->pw_dir;
    return {};
}

// The shipped file is copied whole; the copy is an ordinary new file of the user.
void copyShippedFile(const std::string& shipped, const std::string& copy)
{
    constexpr std::uint64_t kLimit = 16ull << 20;  // the largest data file the program folder holds
    const Result<std::string> bytes = readWholeFile(shipped, kLimit);
    if (bytes.ok())
        (void)writeFileAtomically(copy, *bytes);
}

} // namespace

std::string chooseProgramFolder(const char* velmoraHome, const std::string& executableFolder)
{
    if (velmoraHome && *velmoraHome)
        return withSlash(velmoraHome);
    const std::string beside = withSlash(executableFolder);
    if (holdsProgramData(beside))
        return beside;
    const std::string installed = installedFolder(executableFolder);
    if (holdsProgramData(installed)) {
        std::error_code ec;
        const fs::path clean = fs::weakly_canonical(installed, ec);
        return ec ? installed : withSlash(clean.string());
    }
    return beside;
}

std::string executableFolder()
{
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec)
        return withSlash(exe.parent_path().string());
    return withSlash(fs::current_path(ec).string());
}

std::string programFolder() { return chooseProgramFolder(std::getenv("VELMORA_HOME"), executableFolder()); }

std::string programFile(const std::string& relative) { return programFolder() + relative; }

std::string userDataFolder()
{
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/')
        return withSlash(xdg) + "velmora/";
    return withSlash(homeFolder()) + ".local/share/velmora/";
}

bool usesUserCopy(const std::string& programFolder, const std::string& relative)
{
    if (!isFolder(programFolder))
        return false;
    if (sameFolder(programFolder, installedFolder(executableFolder())))
        return true;
    // The folder that takes the file (for "Projects/" the folder itself),
    // or the nearest one above it that exists.
    fs::path folder = fs::path(programFolder + relative).parent_path();
    while (!isFolder(folder) && folder.string().size() > programFolder.size())
        folder = folder.parent_path();
    return !isWritableFolder(folder.string());
}

std::string programDataPath(const std::string& programFolder, const std::string& relative, DataUse use)
{
    const std::string shipped = programFolder + relative;
    if (!usesUserCopy(programFolder, relative))
        return shipped;
    const std::string copy = userDataFolder() + relative;
    const bool isFolderPath = !relative.empty() && relative.back() == '/';
    std::error_code ec;
    if (use == DataUse::Read) {
        if (isFolderPath || fs::exists(copy, ec))
            return copy;
        return shipped;
    }
    fs::create_directories(isFolderPath ? fs::path(copy) : fs::path(copy).parent_path(), ec);
    if (!isFolderPath && !fs::exists(fs::symlink_status(copy, ec)) && fs::exists(shipped, ec))
        copyShippedFile(shipped, copy);
    return copy;
}

std::string lowerExtension(const std::string& fileName)
{
    std::string ext = fs::path(fileName).extension().string();
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

} // namespace engine
