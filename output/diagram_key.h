#pragma once

#include <cstddef>
#include <string>

#include "engine/language_table.h"
#include "engine/project.h"
#include "engine/settings.h"

namespace output {

// Fingerprints that tell a layout drawing whether what it shows is stale.

// Everything the layout drawing is made from apart from the table texts: the
// sheets, the placed elements and offcuts of the result, the settings the
// drawing uses (font, hatching, units, kerf, duplicates) and the texts it
// writes. Equal keys: the old drawing still holds.
[[nodiscard]] std::string diagramKey(const engine::Project& project, const engine::Settings& settings,
                                     const engine::LanguageTable& language);

// The texts of the sheet and part tables (sizes, band marks and labels are
// written on the drawing straight from them, and they may be edited after a
// run).
[[nodiscard]] std::size_t tablesKey(const engine::Project& project);

} // namespace output
