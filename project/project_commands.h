#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace project_io {

// The rules behind the File menu's project commands that need no window:
// the recent-files list, the menu text of a recent entry, the names a save
// writes to and the window title texts. Names are UTF-8 paths; both '/' and
// '\' count as folder separators.

// The five most recently used project files, entry 0 the newest; an empty
// text is an empty slot.
using RecentList = std::array<std::string, 5>;

// Puts `name` at the top of the list. A name already in the list moves up
// (the last equal entry is the one taken out); a new name pushes the oldest
// entry out. An empty name changes nothing.
void PushRecentFile(RecentList& list, const std::string& name);

// Width of a text in pixels, in the font the menu shows it in.
using TextWidth = std::function<int(const std::string&)>;

// Menu text of one recent entry: the name without its last four characters
// (the extension and its dot). Shorter than 45 characters it stands as it
// is; otherwise leading folders are replaced one at a time by "..." until the
// text is at most `maxWidth` pixels wide: "C:\a\b\c\name" becomes
// "C:\...\b\c\name", then "C:\...\c\name", "C:\...\name", "...\name" (the
// drive goes when only "\...\" is left) and at last "name".
[[nodiscard]] std::string ShortenRecentName(const std::string& name, const TextWidth& width, int maxWidth = 250);

// True when `name` has no file part: empty, ending in a folder separator or
// naming an existing folder; or naming a read-only file. Such a project is
// untitled and a plain Save asks for a name.
[[nodiscard]] bool needsFileName(const std::string& name);

// The file a save writes: `name` with its last three characters replaced by
// `extension` ("vlp" or "xml"), so "a.vlp" stays and "a.txt" becomes "a.vlp".
[[nodiscard]] std::string savedFileName(const std::string& name, std::string_view extension);

// The folder part of `name` including its last separator; empty without one.
[[nodiscard]] std::string folderOf(const std::string& name);

// Where the open and save dialogs start: the folder of the current project
// file name, or the program's "Projects" folder when the name is empty.
[[nodiscard]] std::string dialogFolder(const std::string& currentName, const std::string& programFolder);

// The file part of `name` (after its last separator).
[[nodiscard]] std::string fileNameOf(const std::string& name);

// Window titles: untitled (`untitledName` is language entry 248), after a
// file was opened (its name without folder and extension) and after a save
// that asked for a name (the chosen name without folder, with extension).
[[nodiscard]] std::string untitledTitle(const std::string& untitledName);
[[nodiscard]] std::string openedTitle(const std::string& fileName);
[[nodiscard]] std::string savedTitle(const std::string& chosenName);

// True when `fileName` names an existing file (not a folder).
[[nodiscard]] bool projectFileExists(const std::string& fileName);

} // namespace project_io
