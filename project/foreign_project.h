#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/msg.h"
#include "engine/project.h"
#include "engine/settings.h"
#include "project/project_file.h"

namespace project_io {

// A Quillon file holds at most this many pieces (see splitQuillonPieces).
constexpr int kMaxQuillonPieces = 10000;

// Reads a Quillon project (.qln) and appends its sheet and part records to
// the tables as text; its lengths are in centimetres (unit 1). Returns 1, or
// -1 with CannotOpenProject (unreadable file) or QuillonFileTooLong (more
// than kMaxQuillonPieces pieces, which also bounds the rows a file can add);
// on failure nothing changes.
[[nodiscard]] ReadOutcome ReadForeignProject(const std::string& fileName, engine::Project& project,
                                             const engine::Settings& settings);

// The same over the file's bytes.
[[nodiscard]] ReadOutcome readForeignProjectText(std::string_view bytes, engine::Project& project);

// Cuts a Quillon file into pieces of at most 20 bytes, each ending at a line
// feed (included) or after 20 bytes, then trims each of blanks and control
// characters and decodes it to UTF-8. A longer line therefore becomes two or
// more pieces. QuillonFileTooLong when there are more than kMaxQuillonPieces.
[[nodiscard]] engine::Result<std::vector<std::string>> splitQuillonPieces(std::string_view bytes);

} // namespace project_io
