#include "quality/runs.h"

#include "engine/guillotine.h"

#include <algorithm>
#include <chrono>
#include <limits>
#include <map>

#include "engine/auto_run.h"
#include "engine/deep_run.h"
#include "engine/log3.h"
#include "engine/manual_session.h"
#include "engine/rand31.h"

namespace quality {

namespace {

bool fits(const ItemType& item, const StockSize& stock, bool rotation)
{
    return (item.width <= stock.width && item.height <= stock.height)
        || (rotation && item.height <= stock.width && item.width <= stock.height);
}

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

engine::Settings BenchSettings(int autoparam)
{
    engine::Settings s;
    s.JedMere = static_cast<std::int32_t>(engine::LengthUnit::Millimetre);
    s.Testera = 0;
    s.autoparam = autoparam;
    return s;
}

Read<engine::Project> makeProject(const Instance& instance, bool rotation)
{
    Read<engine::Project> r;
    constexpr std::int64_t kMaxSide = std::numeric_limits<std::int32_t>::max() / kInternalPerUnit;
    constexpr auto kMaxArea = static_cast<std::int64_t>(std::numeric_limits<std::uint32_t>::max());
    if (instance.stock.empty() || instance.items.empty()) {
        r.error = instance.id + ": no stock size or no item";
        return r;
    }
    std::int64_t partTotal = 0;
    for (const ItemType& item : instance.items) {
        if (item.width > kMaxSide || item.height > kMaxSide || item.copies < 1) {
            r.error = instance.id + ": an item is too large or has no copies";
            return r;
        }
        if (std::none_of(instance.stock.begin(), instance.stock.end(),
                         [&](const StockSize& s) { return fits(item, s, rotation); })) {
            r.error = instance.id + ": an item " + std::to_string(item.width) + " x " + std::to_string(item.height)
                + " fits no stock size";
            return r;
        }
        partTotal += item.copies;
    }
    if (partTotal > engine::kMaxParts) {
        r.error = instance.id + ": more parts than one run takes";
        return r;
    }
    const auto share = static_cast<std::int64_t>(engine::kMaxStockSheets) / static_cast<std::int64_t>(instance.stock.size());
    engine::Project& p = r.value;
    for (const StockSize& s : instance.stock) {
        if (s.width > kMaxSide || s.height > kMaxSide
            || s.width * kInternalPerUnit * s.height * kInternalPerUnit > kMaxArea) {
            r.error = instance.id + ": a stock size is too large for 32-bit areas";
            r.value = engine::Project{};
            return r;
        }
        std::int64_t qty = 0;
        for (const ItemType& item : instance.items)
            if (fits(item, s, rotation))
                qty += item.copies;
        qty = std::max<std::int64_t>(std::min(qty, share), 1);
        p.sheets.appendRow({"", std::to_string(s.width), std::to_string(s.height), std::to_string(qty)});
    }
    for (const ItemType& item : instance.items) {
        std::vector<std::string> cells(engine::PartCol::Count);
        cells[engine::PartCol::Len] = std::to_string(item.width);
        cells[engine::PartCol::Wid] = std::to_string(item.height);
        cells[engine::PartCol::Qty] = std::to_string(item.copies);
        cells[engine::PartCol::Rot] = rotation ? "0" : "1";
        p.parts.appendRow(cells);
    }
    p.recomputeTotals();
    return r;
}

Outcome inspectLayout(const engine::Project& project)
{
    Outcome out;
    const engine::EngineInput& in = project.input;
    const auto& elements = project.result.elements;
    std::vector<std::int64_t> perRow(in.parts.size(), 0);
    std::map<std::int32_t, std::vector<Rect>> bySheet;
    for (const engine::PlacedElement& e : elements) {
        if (e.tnb < 1 || static_cast<std::size_t>(e.tnb) > in.sheets.size() || e.enb < 1
            || static_cast<std::size_t>(e.enb) > in.parts.size()) {
            out.fault = "a part on no sheet or of no row";
            break;
        }
        const engine::SheetInstance& sheet = in.sheets[static_cast<std::size_t>(e.tnb - 1)];
        const engine::PartDemand& row = in.parts[static_cast<std::size_t>(e.enb - 1)];
        const std::int32_t w = e.rot ? row.wid : row.len;
        const std::int32_t h = e.rot ? row.len : row.wid;
        if (e.rot != 0 && (e.rot != 1 || row.lock != 0)) {
            out.fault = "a part turned that may not turn";
            break;
        }
        if (e.x1 - e.x != w || e.y1 - e.y != h) {
            out.fault = "a part of the wrong size";
            break;
        }
        if (e.x < 0 || e.y < 0 || e.x1 > sheet.len || e.y1 > sheet.wid) {
            out.fault = "a part outside its sheet";
            break;
        }
        if (++perRow[static_cast<std::size_t>(e.enb - 1)] > row.qty) {
            out.fault = "a row placed more often than its quantity";
            break;
        }
        bySheet[e.tnb].push_back(Rect{e.x, e.y, e.x1, e.y1});
    }
    for (auto& [tnb, rects] : bySheet) {
        if (!out.fault.empty())
            break;
        std::sort(rects.begin(), rects.end(), [](const Rect& a, const Rect& b) { return a.x < b.x; });
        for (std::size_t a = 0; a < rects.size() && out.fault.empty(); ++a)
            for (std::size_t b = a + 1; b < rects.size() && rects[b].x < rects[a].x1; ++b)
                if (rects[b].y < rects[a].y1 && rects[a].y < rects[b].y1) {
                    out.fault = "two parts overlap on sheet " + std::to_string(tnb);
                    break;
                }
        if (!engine::isGuillotineSeparable(rects))
            out.guillotine = false;
        const engine::SheetInstance& sheet = in.sheets[static_cast<std::size_t>(tnb - 1)];
        ++out.sheets;
        out.sheetArea += static_cast<std::int64_t>(sheet.len) * sheet.wid / (kInternalPerUnit * kInternalPerUnit);
    }
    out.complete = out.fault.empty() && static_cast<std::int64_t>(elements.size()) == in.totalParts;
    return out;
}

Outcome runAutomaticOn(engine::Project project, const engine::Settings& settings, int threads)
{
    engine::Rand31 rng;  // as the program starts
    engine::AutoRunOptions options;
    options.threads = threads;
    options.rng = &rng;
    const auto start = std::chrono::steady_clock::now();
    const engine::AutoRunOutcome run = engine::runAutomatic(project, settings, options);
    const double seconds = secondsSince(start);
    Outcome out;
    if (!run.status.ok()) {
        out.fault = "the run refused the input (message " + std::to_string(static_cast<int>(run.status.msg)) + ")";
        return out;
    }
    out = inspectLayout(project);
    out.seconds = seconds;
    return out;
}

Outcome runDeepOn(engine::Project project, const engine::Settings& settings, int threads, std::int64_t effort,
                  std::string* method)
{
    engine::Rand31 rng;  // as the program starts
    engine::DeepRunOptions options;
    options.automatic.threads = threads;
    options.automatic.rng = &rng;
    options.deep.threads = threads;
    options.deep.effort = effort;
    const auto start = std::chrono::steady_clock::now();
    const engine::DeepRunOutcome run = engine::runDeep(project, settings, options);
    const double seconds = secondsSince(start);
    Outcome out;
    if (!run.automatic.status.ok()) {
        out.fault = "the run refused the input (message " + std::to_string(static_cast<int>(run.automatic.status.msg)) + ")";
        return out;
    }
    out = inspectLayout(project);
    out.seconds = seconds;
    if (method)
        *method = engine::resultMethodName(run.method);
    return out;
}

Outcome runManualOn(engine::Project project, const engine::Settings& settings, const std::string& alpha,
                    double searchSeconds)
{
    engine::log3 search;
    engine::ManualSession session(project, search);
    Outcome out;
    const auto refused = [&](const engine::Status& st) {
        Outcome r;
        r.fault = "the manual mode stopped (message " + std::to_string(static_cast<int>(st.msg)) + ")";
        return r;
    };
    const auto start = std::chrono::steady_clock::now();
    if (const engine::Status st = session.enter(settings); !st.ok())
        return refused(st);
    int stopped = 0;
    while (session.state() != engine::ManualState::Off) {
        const auto searchStart = std::chrono::steady_clock::now();
        bool stopPressed = false;
        const engine::Status st =
            session.start(alpha, "92", settings.manparam, [&](const engine::SearchProgress&) {
                if (!stopPressed && secondsSince(searchStart) > searchSeconds) {
                    stopPressed = true;
                    session.requestStop();
                }
            });
        if (!st.ok())
            return refused(st);
        stopped += stopPressed ? 1 : 0;
        (void)session.accept(0, settings.ManualDuplicate);
    }
    const double seconds = secondsSince(start);
    out = inspectLayout(project);
    out.seconds = seconds;
    out.stoppedSearches = stopped;
    return out;
}

} // namespace quality
