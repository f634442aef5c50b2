#include "project/project_commands.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "engine/file_io.h"
#include "engine/paths.h"
#include "engine/settings_edit.h"

namespace project_io {

namespace {

bool isSeparator(char c) { return c == '/' || c == '\\'; }

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Number of characters of a UTF-8 text (bytes that start a character).
std::size_t characterCount(std::string_view text)
{
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) { return !isContinuationByte(c); }));
}

// `text` without its last `n` characters; empty when it has no more.
std::string dropLastCharacters(std::string_view text, std::size_t n)
{
    std::size_t end = text.size();
    while (n > 0 && end > 0) {
        --end;
        while (end > 0 && isContinuationByte(text[end]))
            --end;
        --n;
    }
    return n > 0 ? std::string() : std::string(text.substr(0, end));
}

// Replaces the first folder of `dir` (after a leading separator and an
// earlier "..." mark) by "...": "\a\b\" gives "\...\b\", "\...\b\" gives
// "\...\"; a last folder without a following separator goes entirely.
void cutFirstFolder(std::string& dir)
{
    std::string root;
    if (!dir.empty() && isSeparator(dir.front())) {
        root = dir.substr(0, 1);
        dir.erase(0, 1);
    }
    if (dir.size() >= 4 && dir.compare(0, 3, "...") == 0 && isSeparator(dir[3]))
        dir.erase(0, 4);
    const std::size_t p = dir.find_first_of("/\\");
    if (p == std::string::npos)
        dir.clear();
    else
        dir = "..." + dir.substr(p);
    dir = root + dir;
}

bool isOnlyMark(const std::string& dir)
{
    return dir.size() == 5 && isSeparator(dir[0]) && dir.compare(1, 3, "...") == 0 && isSeparator(dir[4]);
}

} // namespace

void PushRecentFile(RecentList& list, const std::string& name)
{
    if (name.empty())
        return;
    int p = -1;
    for (int k = 0; k < static_cast<int>(list.size()); ++k)
        if (list[static_cast<std::size_t>(k)] == name)
            p = k;
    if (p == 0)
        return;
    // The entries above the one taken out (or all but the oldest) move one
    // place down.
    const int from = p > 0 ? p : static_cast<int>(list.size()) - 1;
    for (int k = from; k > 0; --k)
        list[static_cast<std::size_t>(k)] = list[static_cast<std::size_t>(k - 1)];
    list[0] = name;
}

std::string ShortenRecentName(const std::string& name, const TextWidth& width, int maxWidth)
{
    const std::string rest = dropLastCharacters(name, 4);
    if (characterCount(rest) < 45)
        return rest;

    std::string drive;
    if (rest.size() >= 2 && rest[1] == ':' && ((rest[0] >= 'A' && rest[0] <= 'Z') || (rest[0] >= 'a' && rest[0] <= 'z')))
        drive = rest.substr(0, 2);
    const std::string path = rest.substr(drive.size());
    const std::size_t lastSep = path.find_last_of("/\\");
    std::string dir = lastSep == std::string::npos ? std::string() : path.substr(0, lastSep + 1);
    const std::string file = lastSep == std::string::npos ? path : path.substr(lastSep + 1);

    std::string result = rest;
    while ((!dir.empty() || !drive.empty()) && width(result) > maxWidth) {
        if (isOnlyMark(dir)) {
            drive.clear();
            dir = "..." + dir.substr(4);
        } else if (dir.empty()) {
            drive.clear();
        } else {
            cutFirstFolder(dir);
        }
        result = drive + dir + file;
    }
    return result;
}

bool needsFileName(const std::string& name)
{
    std::error_code ec;
    if (name.empty() || isSeparator(name.back()) || std::filesystem::is_directory(name, ec))
        return true;
    // A project opened from a read-only file is saved under a new name, as an
    // untitled one, instead of failing on the file it came from.
    return engine::isReadOnlyFile(name);
}

std::string savedFileName(const std::string& name, std::string_view extension)
{
    return dropLastCharacters(name, 3) + std::string(extension);
}

std::string folderOf(const std::string& name)
{
    const std::size_t p = name.find_last_of("/\\");
    return p == std::string::npos ? std::string() : name.substr(0, p + 1);
}

std::string fileNameOf(const std::string& name)
{
    const std::size_t p = name.find_last_of("/\\");
    return p == std::string::npos ? name : name.substr(p + 1);
}

std::string dialogFolder(const std::string& currentName, const std::string& programFolder)
{
    if (currentName.empty()) {
        std::string folder = engine::programDataPath(programFolder, "Projects/");
        folder.pop_back();
        return folder;
    }
    return folderOf(currentName);
}

std::string untitledTitle(const std::string& untitledName) { return engine::windowCaption(untitledName); }

std::string openedTitle(const std::string& fileName)
{
    return engine::windowCaption(dropLastCharacters(fileNameOf(fileName), 4));
}

std::string savedTitle(const std::string& chosenName) { return engine::windowCaption(fileNameOf(chosenName)); }

bool projectFileExists(const std::string& fileName)
{
    std::error_code ec;
    return !fileName.empty() && std::filesystem::is_regular_file(fileName, ec);
}

} // namespace project_io
