#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/msg.h"

namespace engine {

// The one way the programs read and write their files. Reading takes
// ordinary files only (a FIFO would block for ever, /dev/zero would never
// end, a folder is no file) and no more than a limit that suits the kind of
// file. Writing replaces a file whole or not at all, and only an ordinary
// file the user may write.

// Largest file each reader accepts, in bytes.
struct FileLimit {
    static constexpr std::uint64_t kProject = 256ull << 20;     // project document, legacy text, XML
    static constexpr std::uint64_t kForeign = 16ull << 20;      // Quillon file (10,000 lines of 20 bytes)
    static constexpr std::uint64_t kLanguage = 4ull << 20;      // language file (400 short lines)
    static constexpr std::uint64_t kBandTypes = 1ull << 20;     // band type file (50 records)
    static constexpr std::uint64_t kSettings = 1ull << 20;      // settings file
    static constexpr std::uint64_t kDxfSettings = 16ull << 20;  // DXF settings file with its templates
    static constexpr std::uint64_t kTemplate = 16ull << 20;     // project template
    static constexpr std::uint64_t kInstance = 256ull << 20;    // benchmark instance files
    static constexpr std::uint64_t kSpreadsheet = 256ull << 20; // workbook or CSV file to import
};

// The whole content of the file `path`. Symbolic links are followed to the
// file they name. Errors, each with the path as detail: FileMissing,
// FileNotRegular (a folder, device, FIFO or socket), FileTooLarge (more than
// `sizeLimit` bytes), FileCannotRead (no permission, read error).
[[nodiscard]] Result<std::string> readWholeFile(const std::string& path, std::uint64_t sizeLimit);

// Replaces the file `path` with `bytes`, so that it is afterwards either the
// old file or the whole new one, also when the program is killed or the disk
// fills up on the way:
// - only an ordinary file (or a symbolic link to one, which stays a link)
//   is replaced; a new file is created in an existing folder;
// - a file the user could not write in place (mode 444, say) is refused,
//   also for the superuser;
// - the bytes go to a temporary file in the same folder, which is flushed to
//   disk, given the old file's owner, group and mode where the system
//   allows, and renamed over the target; the folder is flushed too;
// - temporary files of this pattern for the same target left by processes
//   that no longer run are removed.
// Returns Ok, or with the path as detail: FileNotRegular, FileReadOnly,
// FolderNotWritable (missing folder, no permission, read-only file system),
// DiskFull, FileWriteFailed. On failure the target is untouched and no
// temporary file is left.
[[nodiscard]] Status writeFileAtomically(const std::string& path, std::string_view bytes);

// True when `path` names an existing file that writeFileAtomically would
// refuse as read-only (FileReadOnly).
[[nodiscard]] bool isReadOnlyFile(const std::string& path);

// True when `path` names an existing folder in which the user may create
// files, by the same rule: a folder nobody may write (mode 555) counts as
// read-only for the superuser too.
[[nodiscard]] bool isWritableFolder(const std::string& path);

// True when `name` (a file name without folder) is one of the temporary
// files writeFileAtomically makes for the target named `targetName`.
[[nodiscard]] bool isAtomicTemporaryOf(std::string_view name, std::string_view targetName);

// The Status of a command that failed because of a file problem: `outer`
// with its own details, and the problem as the reason.
[[nodiscard]] Status becauseOf(Msg outer, std::vector<std::string> args, const Status& problem);

} // namespace engine
