#include "engine/language_choice.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "engine/language_table.h"

namespace engine {

namespace {

constexpr const char* kFinished = "Finished";

bool fileExists(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

bool endsWithVll(const std::string& name)
{
    if (name.size() < 4)
        return false;
    std::string ext = name.substr(name.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext == ".vll";
}

} // namespace

StartupLanguage chooseStartupLanguage(const std::optional<std::string>& iLang, const std::optional<std::string>& jezik)
{
    StartupLanguage out;
    out.iLang = kFinished;
    const std::string installer = iLang.value_or("");
    if (installer != kFinished) {
        out.name = installer == "U.S. English" ? "English" : installer;
    } else if (jezik) {
        out.name = *jezik;
    } else {
        out.createJezik = kDefaultLanguage;
        out.name = kDefaultLanguage;
    }
    // An empty name would look for "Lang/.vll" and stop the start-up.
    if (out.name.empty() || out.name == "0")
        out.name = kDefaultLanguage;
    return out;
}

std::string existingLanguage(const std::string& programFolder, const std::string& name)
{
    for (const std::string& candidate : {name, std::string(kDefaultLanguage), std::string("English")})
        if (fileExists(LanguageTable::pathFor(programFolder, candidate)))
            return candidate;
    return name;
}

std::vector<std::string> availableLanguages(const std::string& programFolder)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(programFolder + "Lang", ec), end; !ec && it != end; it.increment(ec)) {
        const std::string file = it->path().filename().string();
        if (endsWithVll(file) && it->is_regular_file(ec))
            names.push_back(file.substr(0, file.size() - 4));
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace engine
