#pragma once

#include <string>

namespace engine {

// The program folder holds Config/, Lang/, Help/ and sound.wav. Both
// programs find it the same way, in this order:
//  1. $VELMORA_HOME when it is set and not empty;
//  2. the folder of the running program when it holds the data (a Config or
//     Lang folder): the build tree, or a copy unpacked in one folder;
//  3. ../share/velmora beside the folder of the running program when that
//     holds the data: the installed tree (/usr/bin/velmora reads
//     /usr/share/velmora/);
//  4. otherwise the folder of the running program, so that messages name
//     the place where the data was looked for first.
// Every folder returned ends in '/'.

// The choice itself, for a given $VELMORA_HOME (null or empty: not set)
// and the folder of the running program.
[[nodiscard]] std::string chooseProgramFolder(const char* velmoraHome, const std::string& executableFolder);

// The folder of the running program, ending in '/' (the working folder
// when the system does not say).
[[nodiscard]] std::string executableFolder();

// chooseProgramFolder($VELMORA_HOME, executableFolder()).
[[nodiscard]] std::string programFolder();

// programFolder() + relative path.
[[nodiscard]] std::string programFile(const std::string& relative);

// Files the programs write into the program folder (Config/bands.vlb,
// Config//velmdxf.xml, Config//velmlabels.xml, the Projects folder) have one
// rule. When the program folder may be written, they live there. When it
// may not (installed for every user, or a folder nobody may write, mode
// 555, which counts for the superuser too) or it is the installed tree
// (share/velmora beside the running program, whose files belong to the
// package manager), each user gets a copy of their own under the per-user
// data folder: it is made from the shipped file on the first change and
// read from then on; until then the shipped file is read. A folder
// (`relative` ending in '/') is always the per-user one then.
enum class DataUse { Read, Write };

// The per-user data folder: $XDG_DATA_HOME/velmora/ when XDG_DATA_HOME is an
// absolute path, else $HOME/.local/share/velmora/ (the home folder of the
// user when HOME is not set).
[[nodiscard]] std::string userDataFolder();

// True when files under `relative` in `programFolder` go to the per-user
// copy (see above). A program folder that does not exist is not shared: a
// write there fails and names the missing place, as it always did.
[[nodiscard]] bool usesUserCopy(const std::string& programFolder, const std::string& relative);

// The path to read or write for `relative` (such as "Config/bands.vlb" or
// "Projects/") under `programFolder` (ending in '/'). With DataUse::Write and
// a per-user copy, the copy's folders are created and a missing copy is
// made from the shipped file, so that the caller can write it at once; when
// that cannot be done, the path is still returned and the caller's write
// names it in its message.
[[nodiscard]] std::string programDataPath(const std::string& programFolder, const std::string& relative,
                                          DataUse use = DataUse::Read);

// The extension of a file name with its dot, in lower case ("a/B.VLP" ->
// ".vlp"; "" when it has none).
[[nodiscard]] std::string lowerExtension(const std::string& fileName);

} // namespace engine
