#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/project.h"
#include "engine/settings.h"
#include "project/project_file.h"

namespace project_io {

// Reads a project text of the earlier line-oriented form (first byte 'V').
// Sheet and part records go into new rows after the existing ones; details
// and statistics texts are replaced. Only in replace mode, and only when the
// settings LoadSema / LoadReport are off, are the layouts and the report and
// bill texts read; otherwise the result is left empty. Returns the file's
// LengthUnit (key JEDMERE), or -1 with CannotOpenProject (file unreadable)
// or CannotReadProject (a count or number that does not read, a count beyond
// the records present or beyond the project's capacities). A count problem
// is found before anything changes; a bad number inside a record stops the
// read there, keeping what was read before it.
[[nodiscard]] ReadOutcome ReadLegacyProject(const std::string& fileName, bool addMode, engine::Project& project,
                                            const engine::Settings& settings);

// The same over the file's bytes (8-bit text: UTF-8 when valid, else Windows-1252).
[[nodiscard]] ReadOutcome readLegacyProjectText(std::string_view bytes, bool addMode, engine::Project& project,
                                                const engine::Settings& settings);

// The file's lines, split at CR LF, LF or CR, decoded to UTF-8.
[[nodiscard]] std::vector<std::string> splitLegacyLines(std::string_view bytes);

// The data line after the first line equal to `key` (the whole line,
// case-sensitive); "0" when no line is the key, an empty text when the key is
// the last line.
[[nodiscard]] std::string FindLegacyEntry(const std::vector<std::string>& lines, std::string_view key);

// Index of the line after the first line equal to `key`, or npos: where the
// records of a section key start.
[[nodiscard]] std::size_t findLegacySection(const std::vector<std::string>& lines, std::string_view key);

} // namespace project_io
