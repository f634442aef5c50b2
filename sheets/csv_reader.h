#pragma once

#include <string>
#include <string_view>

#include "sheets/workbook.h"

namespace sheets {

// Delimited text (.csv, .txt, .tsv) as one worksheet named after the file.
// The delimiter is found from the file: tab, semicolon or comma, whichever
// splits the first lines into the same number of fields (tab before
// semicolon before comma when several do). Fields may be quoted ("a;b",
// "say ""hi"""), quoted fields may hold line breaks. The text is UTF-8 with
// or without a byte-order mark, UTF-16 with a mark (the "Unicode text" of
// spreadsheet programs), else Windows-1252. Cell texts are kept as written.
class CsvReader final : public WorkbookReader {
public:
    [[nodiscard]] engine::Result<Workbook> read(const std::string& path) const override;
    // The same over the file's bytes; `path` names the sheet and the messages.
    [[nodiscard]] static engine::Result<Workbook> readBytes(std::string_view bytes, const std::string& path);
};

// The delimiter detectCsvDelimiter would choose for `text` (UTF-8).
[[nodiscard]] char detectCsvDelimiter(std::string_view text);

} // namespace sheets
