#include "engine/auto_run.h"

#include <cmath>
#include <new>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "engine/auto_engine.h"

namespace engine {

namespace {

std::uint32_t typedArea(const TextTable& table, int row, int lenCol, int widCol, LengthUnit unit)
{
    // The product is taken in 32 bits and compared unsigned, as it always
    // was; an unreadable size (-1) therefore sorts as a huge area.
    return static_cast<std::uint32_t>(ParseLength(unit, table.cell(row, lenCol)))
        * static_cast<std::uint32_t>(ParseLength(unit, table.cell(row, widCol)));
}

// Exchange sort: for i < j, rows i and j swap when `before(area j, area i)`.
// Run on (area, row) pairs and applied once, which gives the same order as
// swapping the texts in place each time.
template <class Before>
void exchangeSort(TextTable& table, LengthUnit unit, int lenCol, int widCol, Before before)
{
    const int n = table.rowCount();
    std::vector<std::pair<std::uint32_t, int>> order;
    order.reserve(static_cast<size_t>(n));
    for (int r = 1; r <= n; ++r)
        order.emplace_back(typedArea(table, r, lenCol, widCol, unit), r);
    bool moved = false;
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            if (before(order[static_cast<size_t>(j)].first, order[static_cast<size_t>(i)].first)) {
                std::swap(order[static_cast<size_t>(i)], order[static_cast<size_t>(j)]);
                moved = true;
            }
        }
    }
    if (!moved)
        return;
    std::vector<std::vector<std::string>> rows;
    rows.reserve(static_cast<size_t>(n));
    for (int r = 1; r <= n; ++r)
        rows.push_back(table.row(r));
    for (int i = 0; i < n; ++i) {
        const std::vector<std::string>& src = rows[static_cast<size_t>(order[static_cast<size_t>(i)].second - 1)];
        for (int c = 1; c < table.columns(); ++c)
            table.setCell(i + 1, c, src[static_cast<size_t>(c)]);
    }
}

bool readableLength(const std::string& text, LengthUnit unit)
{
    return ParseLength(unit, text) >= 0;
}

// Rows whose sizes or quantity cannot be read would run as -1 sizes or
// negative counts, and quantities beyond the stock and part limits would
// exhaust memory; they stop the run before anything is changed.
Status checkTables(const Project& project, LengthUnit unit)
{
    const TextTable& sheets = project.sheets;
    std::int64_t sheetTotal = 0;
    for (int r = 1; r <= sheets.rowCount(); ++r) {
        if (!readableLength(sheets.cell(r, SheetCol::Len), unit) || !readableLength(sheets.cell(r, SheetCol::Wid), unit))
            return Status{Msg::SheetRowSizeUnreadable, {std::to_string(r)}};
        const std::int32_t q = quantityOf(sheets.cell(r, SheetCol::Qty));
        if (q < 0)
            return Status{Msg::SheetRowQtyUnreadable, {std::to_string(r)}};
        sheetTotal += q;
    }
    const TextTable& parts = project.parts;
    std::int64_t partTotal = 0;
    for (int r = 1; r <= parts.rowCount(); ++r) {
        const Footprint net = partNetSize(parts, r, unit);
        std::int32_t lock = 0;
        // Any lock but 0 and 1 would leave the row's parts unplaced, reported
        // as parts larger than the sheets.
        if (!readableLength(parts.cell(r, PartCol::Len), unit) || !readableLength(parts.cell(r, PartCol::Wid), unit)
            || net.len < 0 || net.wid < 0 || !parseInteger(parts.cell(r, PartCol::Rot), lock) || lock < 0 || lock > 1)
            return Status{Msg::PartRowSizeUnreadable, {std::to_string(r)}};
        const std::int32_t q = quantityOf(parts.cell(r, PartCol::Qty));
        if (q < 0)
            return Status{Msg::PartRowQtyUnreadable, {std::to_string(r)}};
        partTotal += q;
    }
    if (sheetTotal > kMaxStockSheets)
        return Status{Msg::TooManySheets};
    if (partTotal > kMaxParts)
        return Status{Msg::TooManyParts};
    return {};
}

} // namespace

void SortSheetTable(TextTable& sheets, LengthUnit unit)
{
    exchangeSort(sheets, unit, SheetCol::Len, SheetCol::Wid,
                 [](std::uint32_t later, std::uint32_t earlier) { return earlier > later; });
}

void SortPartTable(TextTable& parts, LengthUnit unit)
{
    exchangeSort(parts, unit, PartCol::Len, PartCol::Wid,
                 [](std::uint32_t later, std::uint32_t earlier) { return earlier < later; });
}

Status PrepareEngineInput(Project& project, const Settings& settings)
{
    if (project.sheetRowCount() == 0 || project.partRowCount() == 0)
        return Status{Msg::TablesEmpty};
    const LengthUnit unit = lengthUnitFromInt(settings.JedMere);
    if (Status st = checkTables(project, unit); !st.ok())
        return st;

    SortSheetTable(project.sheets, unit);
    SortPartTable(project.parts, unit);

    project.result.elements.clear();
    project.result.offcuts.clear();
    project.result.method = ResultMethod::Automatic;
    EngineInput& in = project.input;
    in = EngineInput{};

    for (int r = 1; r <= project.sheetRowCount(); ++r) {
        const std::int32_t q = quantityOf(project.sheets.cell(r, SheetCol::Qty));
        const Length len = ParseLength(unit, project.sheets.cell(r, SheetCol::Len));
        const Length wid = ParseLength(unit, project.sheets.cell(r, SheetCol::Wid));
        for (std::int32_t i = 0; i < q; ++i)
            in.sheets.push_back(SheetInstance{len, wid, q, static_cast<std::int32_t>(in.sheets.size()) + 1, r});
    }
    for (int r = 1; r <= project.partRowCount(); ++r) {
        const Footprint f = partFootprint(project.parts, r, unit, settings.Testera);
        PartDemand d;
        d.len = f.len;
        d.wid = f.wid;
        d.qty = quantityOf(project.parts.cell(r, PartCol::Qty));
        d.row = r;
        d.lock = 0;
        (void)parseInteger(project.parts.cell(r, PartCol::Rot), d.lock);  // checked above
        in.parts.push_back(d);
        in.totalParts += d.qty;
    }
    in.remaining = in.parts;
    in.totalPartsManual = in.totalParts;
    return {};
}

int automaticAttempts(int autoparam)
{
    switch (autoparam) {
    case 0: return 100;
    case 1: return 200;
    default: return 300;
    }
}

int automaticProgress(int a, int n)
{
    const int step = n / 100 > 0 ? n / 100 : 1;
    return static_cast<int>(std::trunc(static_cast<double>(a) / step));
}

namespace {
AutoRunOutcome runEngine(Project& project, const Settings& settings, const AutoRunOptions& options,
                         AutoRunOutcome out);
} // namespace

AutoRunOutcome runAutomatic(Project& project, const Settings& settings, const AutoRunOptions& options)
{
    AutoRunOutcome out;
    out.status = PrepareEngineInput(project, settings);
    if (!out.status.ok())
        return out;
    out.attempts = automaticAttempts(settings.autoparam);

    // The engine's work area and its threads are the run's large needs; a
    // run that cannot have them ends with a message, the project unchanged
    // but for the sorted tables.
    try {
        return runEngine(project, settings, options, out);
    } catch (const std::bad_alloc&) {
    } catch (const std::system_error&) {
    }
    out.status = Status{Msg::RunFailed};
    return out;
}

namespace {

AutoRunOutcome runEngine(Project& project, const Settings& settings, const AutoRunOptions& options,
                         AutoRunOutcome out)
{
    AutoEngine engine;
    engine.Load(project.input.parts, project.input.sheets, settings.Testera, out.attempts);
    Rand31& rng = options.rng ? *options.rng : programRand31();
    // The run draws from a copy, which becomes the generator only when every
    // attempt ran: a cancelled run must leave the sequence where it was.
    Rand31 draw = rng;
    const int n = out.attempts;
    // runAll has no way to stop early but joins its workers when the
    // callback throws; the exception never leaves this function.
    struct Cancelled {};
    try {
        engine.runAll(draw, options.threads, [&](int a) {
            if (options.progress)
                options.progress(automaticProgress(a, n));
            if (options.cancel && options.cancel->load() && a + 1 < n)
                throw Cancelled{};
        });
    } catch (const Cancelled&) {
        out.cancelled = true;
        return out;
    }
    rng = draw;
    out.bestAttempt = engine.ChooseBest();

    CuttingResult& result = project.result;
    result.elements.clear();
    for (const PartSlot& s : engine.best().slots)
        if (s.tnb != 0)
            result.elements.push_back(PlacedElement{s.tnb, s.x, s.y, s.x1, s.y1, s.rot, s.row});
    result.offcuts = engine.best().offcuts;
    // A new result: the stock commands may run on it once more.
    result.offcutsTaken = false;
    result.sheetsSubtracted = false;
    result.method = ResultMethod::Automatic;
    return out;
}

} // namespace

} // namespace engine
