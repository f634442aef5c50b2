#pragma once

#include <optional>
#include <string>
#include <vector>

namespace engine {

// Which language file the program starts with, and which ones it offers.

// The default language, also used when a name is empty or "0".
inline constexpr const char* kDefaultLanguage = "Srpski";

struct StartupLanguage {
    std::string name;  // language name: file name without folder and ".vll"
    std::string iLang; // value to store into the setting iLang ("Finished")
    // Value to store into Jezik when it had none; empty when Jezik is not to
    // be written (it is then either present or not consulted).
    std::string createJezik;
};

// The start-up choice from the stored settings (nullopt: the value does not
// exist yet). A name left by the installer in iLang wins once ("U.S. English"
// means English); after that Jezik decides. An empty or "0" name becomes the
// default language, so a first start without an installer value still finds
// a language file.
[[nodiscard]] StartupLanguage chooseStartupLanguage(const std::optional<std::string>& iLang,
                                                    const std::optional<std::string>& jezik);

// `name` when Lang/<name>.vll exists in `programFolder`, else the default
// language when its file exists, else English when that exists, else `name`
// (the caller then reports the missing file).
[[nodiscard]] std::string existingLanguage(const std::string& programFolder, const std::string& name);

// Names of the language files in the program folder's Lang folder (files
// ending in ".vll", any case, name without the last four characters), sorted.
[[nodiscard]] std::vector<std::string> availableLanguages(const std::string& programFolder);

} // namespace engine
