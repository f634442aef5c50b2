#pragma once

#include <array>
#include <string>

#include "engine/msg.h"

namespace engine {

// The numbered texts of the chosen language: every caption and message of
// the program comes from here. Entries keep their text until a later load
// assigns the same number.
class LanguageTable {
public:
    static constexpr int kEntries = 400;

    // Entry n, or an empty text for a number outside 0..399.
    [[nodiscard]] const std::string& text(int n) const;
    [[nodiscard]] const std::string& text(Msg m) const { return text(number(m)); }
    void setText(int n, std::string text);

    enum class LoadResult {
        Ok,
        CannotOpen,   // the file is missing or unreadable
        FileHasError, // a line's number field is not an integer: "Language file has error"
    };
    // Reads a language file (lines "#n#...\"text\"", up to "#FINISH LINE#").
    // On FileHasError the entries read before the bad line keep their new texts.
    [[nodiscard]] LoadResult load(const std::string& path);

    // Path of the language file `name` in the program folder's Lang folder.
    [[nodiscard]] static std::string pathFor(const std::string& programFolder, const std::string& name);

private:
    std::array<std::string, kEntries> m_entries;
};

} // namespace engine
