#pragma once

#include <memory>
#include <string>

#include "sheets/workbook.h"

namespace sheets {

// The old binary workbooks (.xls, BIFF5 to BIFF8) through libfreexl, which
// opens the file read-only. Numbers in the general format, texts as stored,
// dates and times as "YYYY-MM-DD" and "HH:MM:SS" texts. Null when this build
// has no libfreexl.
[[nodiscard]] std::unique_ptr<WorkbookReader> makeXlsReader();

} // namespace sheets
