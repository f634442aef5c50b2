#pragma once

#include <string>

#include "sheets/workbook.h"

namespace sheets {

// OpenDocument spreadsheets (.ods): the tables of content.xml. A number
// cell's text is its office:value in the general format, a boolean is
// "TRUE" or "FALSE", any other cell gives its displayed text. Repeated rows
// and columns are counted out without storing empty ones, so the million
// empty rows an office suite writes after the last filled row cost nothing;
// covered cells (under a merged cell) read as empty.
class OdsReader final : public WorkbookReader {
public:
    [[nodiscard]] engine::Result<Workbook> read(const std::string& path) const override;
    // The same over the file's bytes; `path` only names it in messages.
    [[nodiscard]] static engine::Result<Workbook> readBytes(std::string bytes, const std::string& path);
};

} // namespace sheets
