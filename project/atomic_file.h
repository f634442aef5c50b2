#pragma once

#include <string>
#include <string_view>

namespace project_io {

// Replaces the file `path` with `bytes` so that it is either the old file or
// the complete new one, never a torn mix: the bytes go to a temporary file in
// the same folder, are flushed to disk, and the temporary file is renamed
// over the target. An existing target keeps its permission bits. A symbolic
// link as target is followed, so the link stays and its file is replaced.
// Returns false (and leaves the target untouched, with no temporary file
// left behind) when any step fails.
[[nodiscard]] bool writeFileAtomically(const std::string& path, std::string_view bytes);

// The whole content of a file; false when it cannot be opened or read.
[[nodiscard]] bool readWholeFile(const std::string& path, std::string& bytes);

} // namespace project_io
