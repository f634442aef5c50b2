#include "sheets/xls_reader.h"

#ifdef VELMORA_HAVE_FREEXL

#include <freexl.h>

#include "engine/file_io.h"

namespace sheets {

namespace {

using engine::Result;
using engine::Status;

// Closes the workbook on every way out.
class FreexlHandle {
public:
    FreexlHandle() = default;
    ~FreexlHandle()
    {
        if (m_handle)
            freexl_close(m_handle);
    }
    FreexlHandle(const FreexlHandle&) = delete;
    FreexlHandle& operator=(const FreexlHandle&) = delete;
    const void** out() { return &m_handle; }
    [[nodiscard]] const void* get() const { return m_handle; }

private:
    const void* m_handle = nullptr;
};

class XlsReader final : public WorkbookReader {
public:
    [[nodiscard]] Result<Workbook> read(const std::string& path) const override
    {
        // The whole-file reader checks what the library would not: an
        // ordinary file, within the size limit, that can be read.
        if (auto bytes = engine::readWholeFile(path, engine::FileLimit::kSpreadsheet); !bytes.ok())
            return bytes.error();
        FreexlHandle handle;
        if (freexl_open(path.c_str(), handle.out()) != FREEXL_OK)
            return damaged(path, "BIFF");
        unsigned int info = 0;
        if (freexl_get_info(handle.get(), FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK && info == FREEXL_BIFF_OBFUSCATED)
            return damaged(path, "BIFF: password protected");
        unsigned int sheetCount = 0;
        if (freexl_get_info(handle.get(), FREEXL_BIFF_SHEET_COUNT, &sheetCount) != FREEXL_OK)
            return damaged(path, "BIFF: sheets");
        Workbook book;
        book.path = path;
        std::int64_t cellsLeft = kMaxCells;
        for (unsigned int s = 0; s < sheetCount && s < 65536; ++s) {
            const char* name = nullptr;
            if (freexl_get_worksheet_name(handle.get(), static_cast<unsigned short>(s), &name) != FREEXL_OK)
                return damaged(path, "BIFF: sheet " + std::to_string(s + 1));
            Worksheet ws(name ? name : "");
            if (freexl_select_active_worksheet(handle.get(), static_cast<unsigned short>(s)) != FREEXL_OK)
                return damaged(path, "BIFF: sheet " + ws.name());
            unsigned int rows = 0;
            unsigned short columns = 0;
            if (freexl_worksheet_dimensions(handle.get(), &rows, &columns) != FREEXL_OK)
                return damaged(path, "BIFF: sheet " + ws.name());
            if (rows > kMaxRows)
                return tooLarge(path, "BIFF: sheet " + ws.name());
            for (unsigned int r = 0; r < rows; ++r) {
                for (unsigned short c = 0; c < columns; ++c) {
                    FreeXL_CellValue v;
                    if (freexl_get_cell_value(handle.get(), r, c, &v) != FREEXL_OK)
                        return damaged(path, "BIFF: sheet " + ws.name() + ", cell " + cellAddress(r + 1, c + 1));
                    std::string text;
                    switch (v.type) {
                    case FREEXL_CELL_INT: text = std::to_string(v.value.int_value); break;
                    case FREEXL_CELL_DOUBLE: text = numberCellText(v.value.double_value); break;
                    case FREEXL_CELL_TEXT:
                    case FREEXL_CELL_SST_TEXT:
                    case FREEXL_CELL_DATE:
                    case FREEXL_CELL_DATETIME:
                    case FREEXL_CELL_TIME:
                        if (v.value.text_value)
                            text = v.value.text_value;
                        break;
                    default: break;
                    }
                    if (text.empty())
                        continue;
                    if (--cellsLeft < 0)
                        return tooLarge(path, "BIFF: sheet " + ws.name());
                    ws.setText(r + 1, c + 1, std::move(text));
                }
            }
            ws.finish();
            book.sheets.push_back(std::move(ws));
        }
        if (book.sheets.empty())
            return damaged(path, "BIFF: no worksheet");
        return book;
    }
};

} // namespace

std::unique_ptr<WorkbookReader> makeXlsReader() { return std::make_unique<XlsReader>(); }

} // namespace sheets

#else

namespace sheets {

std::unique_ptr<WorkbookReader> makeXlsReader() { return nullptr; }

} // namespace sheets

#endif
