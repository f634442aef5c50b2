#pragma once

#include "engine/project.h"

namespace output {

// GroupLayouts: rebuilds project.result.groups and project.result.sheetRowUsage
// from the placed elements. Stock sheets without a placed part are skipped.
// With printDuplicate on, a used sheet joins the first earlier group whose
// representative has the same length and width and the same number of pieces
// of every part row (positions are not compared); otherwise, and with
// printDuplicate off, it starts a group of its own. Groups keep the order of
// their first sheet.
void GroupLayouts(engine::Project& project, bool printDuplicate);

} // namespace output
