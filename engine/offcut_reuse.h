#pragma once

#include "engine/language_table.h"
#include "engine/msg.h"
#include "engine/project.h"
#include "engine/settings.h"

namespace engine {

// Turns a finished result into changes of the sheet table, so that the next
// job starts from the real stock. Both commands work only on a result that
// ShowResults found complete (result.complete) and each only once per result:
// the flags result.offcutsTaken / result.sheetsSubtracted record the use and
// are cleared with the result (Project::clearResult).

// takeGoodOffcuts ("DOBAR VISAK"): appends every good offcut as a stock row of
// quantity 1 described by message 21. Usable length = extent along x - kerf,
// plus the kerf again when the offcut reaches the sheet's far edge along x;
// the same along y. Good when usable length >= Visak and usable width >=
// Visak2. Returns the number of rows added, or ResultCommandUsed when the
// result is not complete or its offcuts were already taken.
[[nodiscard]] Result<int> takeGoodOffcuts(Project& project, const Settings& settings, const LanguageTable& lang);

// subtractUsedSheets ("ODUZIMANJE TABLI"): lowers, for every used stock sheet,
// the quantity of the first sheet row of the same size with a quantity above
// 0, then removes the rows whose quantity is 0. Returns the number of used
// sheets subtracted, or ResultCommandUsed when the result is not complete or
// was already subtracted.
[[nodiscard]] Result<int> subtractUsedSheets(Project& project, const Settings& settings);

} // namespace engine
