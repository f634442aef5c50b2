#pragma once

#include <string>
#include <vector>

#include <QStringList>

namespace engine {
class LanguageTable;
}

namespace app {

// The Qt translations (qtbase_<code>.qm) that suit a language file, best
// first. Qt ships no Serbian one in Debian; Croatian, in the same Latin
// script and close enough for the dialogs' own few words, stands in.
// English needs none.
[[nodiscard]] QStringList qtTranslationCodes(const std::string& languageName);

// Installs the first of those translations that can be loaded from
// `folders` (tried in order) on the application, replacing the one installed
// before. Returns the code taken, empty when none (Qt's English then).
QString installQtTranslation(const std::string& languageName, const QStringList& folders);

// The folders searched: the program's own "translations" folder, then Qt's.
[[nodiscard]] QStringList qtTranslationFolders(const std::string& programFolder);

// The buttons of the message boxes (Yes, No, Cancel, Save, Discard) and the
// file dialogs' own words from the language table.
void applyDialogTexts(const engine::LanguageTable& lang);

} // namespace app
