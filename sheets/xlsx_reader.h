#pragma once

#include <string>

#include "sheets/workbook.h"

namespace sheets {

// Office Open XML workbooks (.xlsx, .xlsm): the workbook part and its
// relationships name the worksheets; cells are shared strings, inline
// strings, numbers, booleans ("TRUE", "FALSE"), error codes, and formulas by
// their cached value. Rows and cells may leave out their "r" address.
class XlsxReader final : public WorkbookReader {
public:
    [[nodiscard]] engine::Result<Workbook> read(const std::string& path) const override;
    // The same over the file's bytes; `path` only names it in messages.
    [[nodiscard]] static engine::Result<Workbook> readBytes(std::string bytes, const std::string& path);
};

} // namespace sheets
