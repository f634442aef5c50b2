#include "cli/commands.h"

#include <array>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "engine/band_types.h"
#include "engine/paths.h"
#include "engine/project.h"
#include "project/project_file.h"
#include "sheets/table_import.h"
#include "sheets/workbook.h"

namespace cli {

namespace {

constexpr const char* kImportUsage =
    "usage: velmora-cli import SPREADSHEET --into sheets|parts [--worksheet NAME]\n"
    "       (--range B2:E40 | --columns B2:B40,C2:C40,D2:D40,E2:E40) [--project IN] --save OUT [--replace]";

// "B2:B40,C2:C40,,E2:E40": up to four ranges, an empty one leaves its
// column unlinked.
bool splitColumns(const std::string& text, std::array<std::string, 4>& ranges)
{
    std::size_t start = 0;
    for (std::size_t k = 0;; ++k) {
        if (k >= 4)
            return false;
        const std::size_t comma = text.find(',', start);
        ranges[k] = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (comma == std::string::npos)
            return true;
        start = comma + 1;
    }
}

} // namespace

int cmdImport(Context& ctx)
{
    std::string into, worksheet, rangeText, columnsText, projectIn, saveTarget;
    bool missing = false;
    if (!takeOption(ctx, "--into", into, missing) || missing || (into != "sheets" && into != "parts"))
        return ctx.usage("--into needs sheets or parts");
    const bool wantSheet = takeOption(ctx, "--worksheet", worksheet, missing);
    if (missing)
        return ctx.usage("--worksheet needs a worksheet name");
    const bool wantRange = takeOption(ctx, "--range", rangeText, missing);
    if (missing)
        return ctx.usage("--range needs a cell range such as B2:E40");
    const bool wantColumns = takeOption(ctx, "--columns", columnsText, missing);
    if (missing)
        return ctx.usage("--columns needs up to four cell ranges separated by commas");
    if (wantRange == wantColumns)
        return ctx.usage("give either --range or --columns");
    const bool wantProject = takeOption(ctx, "--project", projectIn, missing);
    if (missing)
        return ctx.usage("--project needs a project file");
    if (!takeOption(ctx, "--save", saveTarget, missing) || missing || saveTarget.empty())
        return ctx.usage("--save needs a file name");
    const bool replace = takeFlag(ctx, "--replace");
    if (ctx.args.size() != 1 || (ctx.args[0].size() > 1 && ctx.args[0][0] == '-'))
        return rejectArguments(ctx, kImportUsage);

    sheets::ImportPreview preview;
    std::optional<sheets::CellRange> range;
    if (wantRange) {
        range = sheets::parseRange(rangeText);
        if (!range)
            return ctx.fail(engine::Status(engine::Msg::RangeNotValid, {rangeText}));
    } else {
        if (!splitColumns(columnsText, preview.ranges))
            return ctx.usage("--columns takes at most four ranges");
        for (const std::string& r : preview.ranges)
            if (!r.empty() && !sheets::parseRange(r))
                return ctx.fail(engine::Status(engine::Msg::RangeNotValid, {r}));
    }

    const std::string& path = ctx.args[0];
    const engine::Result<sheets::Workbook> book = sheets::readWorkbook(path);
    if (!book.ok())
        return ctx.fail(book.error());
    const sheets::Worksheet* sheet = wantSheet ? book->sheet(worksheet) : &book->sheets.front();
    if (!sheet)
        return ctx.fail(engine::Status(engine::Msg::WorksheetNotFound, {path, worksheet}));

    const bool commas = ctx.settings.XlConvComma;
    if (range) {
        const auto block = sheets::blockOf(*sheet, *range);
        if (!block.ok())
            return ctx.fail(block.error());
        if (const engine::Status s = sheets::previewBlock(*block, commas, preview); !s.ok())
            return ctx.fail(s);
    } else if (const engine::Status s = sheets::loadRanges(*sheet, commas, preview); !s.ok()) {
        return ctx.fail(s);
    }

    engine::Project project;
    if (wantProject)
        if (const int rc = openInput(ctx, projectIn, project); rc != kExitOk)
            return rc;

    const bool parts = into == "parts";
    engine::BandValues firstBand;
    if (parts) {
        // Imported parts carry the first band type (the one of unbanded
        // edges) on every edge.
        const auto bands = engine::LoadBandTypes(engine::bandTypesPath(engine::programFolder()));
        if (!bands.ok())
            return ctx.fail(bands.error());
        if (!bands->empty())
            firstBand = {bands->record(0).name, bands->record(0).thickness, bands->record(0).mark};
    }
    const auto unit = engine::lengthUnitFromInt(ctx.settings.JedMere);
    const auto first = sheets::importPreview(project, parts ? sheets::ImportTarget::Parts : sheets::ImportTarget::Sheets,
                                             preview, replace ? sheets::ImportMode::Replace : sheets::ImportMode::Append,
                                             firstBand, unit);
    if (!first.ok())
        return ctx.fail(first.error());
    const engine::Status saved = project_io::SaveProject(saveTarget, project, ctx.settings, engine::programFolder());
    if (!saved.ok())
        return ctx.fail(saved);
    *ctx.err << "imported " << preview.rowCount() << (parts ? " part" : " sheet") << (preview.rowCount() == 1 ? "" : "s")
             << " as rows " << *first << " to " << (*first + preview.rowCount() - 1) << "\n";
    return kExitOk;
}

} // namespace cli
