#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "engine/msg.h"
#include "engine/project.h"
#include "engine/settings.h"

namespace project_io {

// Largest `count` a project document may give for one of its lists (rows,
// placed parts, offcuts), and the most physical stock sheets its sheet rows
// may add up to. Larger values are refused before anything is allocated.
constexpr int kMaxDocumentItems = 1'000'000;
constexpr long long kMaxSheetInstances = 1'000'000;

// Writes the project document of `project` to `fileName` from the template
// Config/template.vlp in `programFolder` (its structure only: rows the
// template holds are not saved). The write is engine::writeFileAtomically, so
// a failed save leaves an existing file byte for byte. Returns Ok or
// CannotSaveProject with the cause as reason (TemplateUnusable, FileReadOnly,
// FileNotRegular, FolderNotWritable, DiskFull, FileWriteFailed).
[[nodiscard]] engine::Status SaveProject(const std::string& fileName, const engine::Project& project,
                                         const engine::Settings& settings, const std::string& programFolder);

// What a reader gives back: the file's LengthUnit code (-1 when reading
// failed) and, on failure, the message to show.
struct ReadOutcome {
    int unit = -1;
    engine::Status status;
};

// Reads a project document (.vlp / .xml). Replaces the tables, or appends
// rows in add mode; details, statistics and layouts are replaced either way.
// On failure what was read before stays and unit is -1 (CannotReadProject).
[[nodiscard]] ReadOutcome ReadProjectDocument(const std::string& fileName, bool addMode, engine::Project& project,
                                              const engine::Settings& settings);

struct OpenOutcome {
    // Ok; CannotOpenProject (with the file problem as reason); UnknownFileKind
    // (nothing changed); CannotReadProject (path, then where and what).
    engine::Status status;
    bool showResults = false;              // the caller runs ShowResults and shows the layouts page
    std::vector<engine::Status> warnings;  // further messages to show, in order
};

// Opens any project file (.vlp document or legacy text, .xml, .qln) into
// `project`, replacing it or adding to it, converts the new rows to the
// current unit and refreshes the totals. The file is read once, for reading
// only. Its kind comes from the extension in any case, else from its
// content; a file of no known kind changes nothing. Bytes that were no valid
// text give the warning TextBytesReplaced (path, count).
[[nodiscard]] OpenOutcome OpenProject(const std::string& fileName, bool addMode, engine::Project& project,
                                      const engine::Settings& settings);

// The `date_time` text of a saved project: the date in the style of the
// DateFormat setting ("dd/mm/yyyy": d, dd, m, mm, mmm, mmmm, yy, yyyy; other
// characters as they stand), a blank, and the time as HH:MM:SS.
[[nodiscard]] std::string formatSaveDateTime(const std::string& dateFormat, const std::tm& when);

// Path of the template every project document is written from.
[[nodiscard]] std::string projectTemplatePath(const std::string& programFolder);

} // namespace project_io
