// The spreadsheet readers over arbitrary bytes: the first byte picks the
// reader (.xlsx, .ods, .csv), the rest is the file. What a reader accepts
// must keep its limits, and a block of it must preview and check without
// trouble.
#include <cstddef>
#include <cstdint>
#include <string>

#if __has_include("sheets/workbook.h")
#include "sheets/csv_reader.h"
#include "sheets/ods_reader.h"
#include "sheets/table_import.h"
#include "sheets/xlsx_reader.h"
#define VELMORA_HAS_SHEETS 1
#endif

#ifdef VELMORA_HAS_SHEETS
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    engine::Result<sheets::Workbook> book = engine::Status(engine::Msg::SpreadsheetDamaged);
    switch (data[0] % 3) {
    case 0: book = sheets::XlsxReader::readBytes(bytes, "fuzz.xlsx"); break;
    case 1: book = sheets::OdsReader::readBytes(bytes, "fuzz.ods"); break;
    default: book = sheets::CsvReader::readBytes(bytes, "fuzz.csv"); break;
    }
    if (!book.ok())
        return 0;
    std::int64_t stored = 0;
    for (const sheets::Worksheet& ws : book->sheets) {
        stored += ws.storedCells();
        if (ws.lastRow() > sheets::kMaxRows || ws.lastColumn() > sheets::kMaxColumns)
            __builtin_trap();
        if (ws.cellCount() == 0)
            continue;
        // The top-left block of four columns through the import checks.
        const sheets::CellRange range{1, 1, std::min<std::int64_t>(ws.lastRow(), sheets::kMaxPreviewRows), 4};
        const auto block = sheets::blockOf(ws, range);
        if (!block.ok())
            __builtin_trap();
        sheets::ImportPreview preview;
        if (!sheets::previewBlock(*block, true, preview).ok() || preview.rowCount() != range.rowCount())
            __builtin_trap();
        engine::Project project;
        const auto done = sheets::importPreview(project, sheets::ImportTarget::Parts, preview,
                                                sheets::ImportMode::Append, {}, engine::LengthUnit::Centimetre);
        if (done.ok() && project.partRowCount() != preview.rowCount())
            __builtin_trap();
    }
    if (stored > sheets::kMaxCells)
        __builtin_trap();
    return 0;
}
#else
// The spreadsheet readers are not part of this tree yet: nothing to run.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t*, std::size_t) { return 0; }
#endif
