#pragma once

#include <array>
#include <string>
#include <string_view>

#include "engine/msg.h"

namespace engine {

// The one text that cannot come from a language file: shown when the file
// itself is broken (LoadResult::FileHasError).
inline constexpr const char* kLanguageFileHasError = "Language file has error";

// The numbered texts of the chosen language: every caption and message of
// the program comes from here. Entries keep their text until a later load
// assigns the same number.
class LanguageTable {
public:
    static constexpr int kEntries = 600;

    // Entry n, or an empty text for a number outside 0..kEntries-1.
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
    //
    // Per line: the number field lies between the first two '#' (empty when
    // there are fewer than two), the text between the first two double quotes
    // (empty when there are fewer than two). The field "FINISH LINE" ends the
    // file; a field that is not a plain decimal integer (an empty line, say)
    // is FileHasError. Numbers outside 0..399 are read and ignored. Lines end
    // in CR LF or LF; the file's encoding is decided once (detectTextEncoding).
    // Only an ordinary file of at most FileLimit::kLanguage bytes is read.
    // Entries the file does not mention keep their earlier texts.
    [[nodiscard]] LoadResult load(const std::string& path);
    // The same on the file's contents.
    [[nodiscard]] LoadResult loadFromBytes(std::string_view bytes);

    // 1-based number of the line that caused the last FileHasError, else 0.
    [[nodiscard]] int errorLine() const { return m_errorLine; }
    // Why the last load gave CannotOpen (FileMissing, FileNotRegular,
    // FileTooLarge, FileCannotRead with the path); Ok otherwise.
    [[nodiscard]] const Status& problem() const { return m_problem; }

    // Path of the language file `name` in the program folder's Lang folder.
    [[nodiscard]] static std::string pathFor(const std::string& programFolder, const std::string& name);

private:
    std::array<std::string, kEntries> m_entries;
    int m_errorLine = 0;
    Status m_problem;
};

} // namespace engine
