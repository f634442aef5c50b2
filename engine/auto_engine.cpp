#include "engine/auto_engine.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <limits>
#include <mutex>
#include <system_error>
#include <thread>

namespace engine {

namespace detail {

struct AutoRow {
    std::int32_t len = 0;
    std::int32_t wid = 0;
    std::int32_t lock = 0;
    std::int32_t row = 0;
    std::int64_t qty = 0;
    std::int64_t firstSlot = 0;
};

struct AutoSheet {
    std::int32_t len = 0;
    std::int32_t wid = 0;
    std::int32_t tnb = 0;
};

// What Load keeps: shared read-only by every builder, also across threads.
struct AutoInput {
    std::vector<AutoRow> rows;
    std::vector<AutoSheet> sheets;
    std::vector<PartSlot> unplacedSlots;
    std::int64_t partCount = 0;
};

// Builds one attempt. Holds only per-attempt scratch, so one builder per
// thread can work on different attempts at once.
class AttemptBuilder {
public:
    explicit AttemptBuilder(const AutoInput& input) : m_in(input) {}

    // Attempts 0 and 1 draw nothing (their split direction is fixed); later
    // attempts draw one value of `rng` per placement.
    void build(int attempt, Rand31& rng, AutoAttempt& out);

private:
    struct Rect {
        std::int32_t x = 0;
        std::int32_t y = 0;
        std::int32_t x1 = 0;
        std::int32_t y1 = 0;
    };
    struct Choice {
        int index = -1;
        std::int32_t w = 0;
        std::int32_t h = 0;
        std::int32_t rot = 0;
    };

    [[nodiscard]] Choice choose(const AutoRow& row) const;
    void refreshExtent();
    void mergeFreeRects();

    const AutoInput& m_in;
    std::vector<Rect> m_free;          // entries 0..last, deleted ones all 0
    std::vector<int> m_active;         // rows with parts left that can ever fit
    std::vector<std::int64_t> m_done;  // parts of each row placed so far
    std::int64_t m_maxW = 0;           // largest free extents, for quick refusal
    std::int64_t m_maxH = 0;
    bool m_extentStale = true;
};

AttemptBuilder::Choice AttemptBuilder::choose(const AutoRow& row) const
{
    // The fit test and the choice in one scan: every usable rectangle is
    // scored, the smallest leftover wins and the lower index wins ties.
    // Rectangles without extent in both directions can never hold a part of
    // positive size, so they are left out.
    constexpr std::int64_t kNoFit = std::numeric_limits<std::int32_t>::max();
    const std::int64_t len = row.len;
    const std::int64_t wid = row.wid;
    Choice best;
    std::int64_t bestScore = kNoFit;
    const int n = static_cast<int>(m_free.size());
    for (int j = 0; j < n; ++j) {
        const Rect& e = m_free[static_cast<size_t>(j)];
        const std::int64_t rw = static_cast<std::int64_t>(e.x1) - e.x;
        const std::int64_t rh = static_cast<std::int64_t>(e.y1) - e.y;
        if (rw <= 0 || rh <= 0)
            continue;
        const bool asEntered = rw >= len && rh >= wid;
        const bool turned = row.lock == 0 && rw >= wid && rh >= len;
        std::int64_t score = 0;
        std::int32_t rot = 0;
        if (asEntered && turned) {
            const std::int64_t straight = std::min(rw - len, rh - wid);
            const std::int64_t across = std::min(rw - wid, rh - len);
            if (straight <= across) {
                score = straight;
            } else {
                score = across;
                rot = 1;
            }
        } else if (asEntered) {
            score = std::min(rw - len, rh - wid);
        } else if (turned) {
            score = std::min(rw - wid, rh - len);
            rot = 1;
        } else {
            continue;
        }
        if (score < bestScore) {
            bestScore = score;
            best.index = j;
            best.rot = rot;
        }
    }
    if (best.index >= 0) {
        best.w = best.rot ? row.wid : row.len;
        best.h = best.rot ? row.len : row.wid;
    }
    return best;
}

void AttemptBuilder::refreshExtent()
{
    m_maxW = 0;
    m_maxH = 0;
    for (const Rect& e : m_free) {
        const std::int64_t rw = static_cast<std::int64_t>(e.x1) - e.x;
        const std::int64_t rh = static_cast<std::int64_t>(e.y1) - e.y;
        if (rw > 0 && rh > 0) {
            m_maxW = std::max(m_maxW, rw);
            m_maxH = std::max(m_maxH, rh);
        }
    }
    m_extentStale = false;
}

void AttemptBuilder::mergeFreeRects()
{
    // Joins a rectangle with the first later one that lies directly on top of
    // it or directly right of it with the same span. The joined rectangle
    // takes the later position, so it can be joined again in the same call.
    const int last = static_cast<int>(m_free.size()) - 1;
    if (last < 3)
        return;
    for (int q = 0; q < last; ++q) {
        const Rect a = m_free[static_cast<size_t>(q)];
        const std::uint32_t sum = static_cast<std::uint32_t>(a.x) + static_cast<std::uint32_t>(a.y)
            + static_cast<std::uint32_t>(a.x1) + static_cast<std::uint32_t>(a.y1);
        if (sum == 0)
            continue;
        for (int s = q + 1; s <= last; ++s) {
            Rect& b = m_free[static_cast<size_t>(s)];
            if ((a.y1 == b.y && a.x == b.x && a.x1 == b.x1) || (a.x1 == b.x && a.y == b.y && a.y1 == b.y1)) {
                b = Rect{a.x, a.y, b.x1, b.y1};
                m_free[static_cast<size_t>(q)] = Rect{};
                m_extentStale = true;
                break;
            }
        }
    }
}

void AttemptBuilder::build(int attempt, Rand31& rng, AutoAttempt& out)
{
    out.slots = m_in.unplacedSlots;
    out.offcuts.clear();
    out.sheetsUsed = 0;
    out.lastFill = 0;
    std::uint32_t cut = 0;
    std::int64_t placed = 0;

    const size_t rowCount = m_in.rows.size();
    m_done.assign(rowCount, 0);
    m_active.clear();
    for (size_t r = 0; r < rowCount; ++r) {
        const AutoRow& row = m_in.rows[r];
        // A rotation lock other than 0 or 1 never fits anywhere.
        if (row.qty > 0 && (row.lock == 0 || row.lock == 1))
            m_active.push_back(static_cast<int>(r));
    }

    const std::int64_t total = m_in.partCount;
    const size_t sheetCount = m_in.sheets.size();
    for (size_t s = 0; s < sheetCount && placed != total; ++s) {
        const AutoSheet& sheet = m_in.sheets[s];
        std::uint32_t area = 0;
        m_free.clear();
        m_free.push_back(Rect{0, 0, sheet.len, sheet.wid});
        m_extentStale = true;

        bool idle = true;
        do {
            idle = true;
            for (const int r : m_active) {
                const AutoRow& row = m_in.rows[static_cast<size_t>(r)];
                std::int64_t& done = m_done[static_cast<size_t>(r)];
                // The parts of one row are identical and tested one after the
                // other: once one finds no room, the rest of the row cannot
                // either, as long as the free table stays as it is.
                while (done < row.qty) {
                    if (m_extentStale)
                        refreshExtent();
                    const bool mayFitStraight = row.len <= m_maxW && row.wid <= m_maxH;
                    const bool mayFitTurned = row.lock == 0 && row.wid <= m_maxW && row.len <= m_maxH;
                    if (!mayFitStraight && !mayFitTurned)
                        break;
                    const Choice c = choose(row);
                    if (c.index < 0)
                        break;

                    Rect& e = m_free[static_cast<size_t>(c.index)];
                    const Rect r0 = e;
                    PartSlot& slot = out.slots[static_cast<size_t>(row.firstSlot + done)];
                    slot.tnb = sheet.tnb;
                    slot.x = r0.x;
                    slot.y = r0.y;
                    slot.x1 = r0.x + c.w;
                    slot.y1 = r0.y + c.h;
                    slot.rot = c.rot;
                    ++done;
                    ++placed;
                    idle = false;
                    area += static_cast<std::uint32_t>(c.w) * static_cast<std::uint32_t>(c.h);
                    cut += static_cast<std::uint32_t>(c.w) + static_cast<std::uint32_t>(c.h);

                    int dir = attempt == 0 ? 1 : 0;
                    if (attempt >= 2)
                        dir = rng.next() % 10 > 5 ? 1 : 0;
                    const std::int32_t rx = slot.x1;
                    const std::int32_t ry = slot.y1;
                    if (rx < r0.x1 && ry < r0.y1) {
                        if (dir == 1) {
                            e = Rect{rx, r0.y, r0.x1, ry};
                            m_free.push_back(Rect{r0.x, ry, r0.x1, r0.y1});
                        } else {
                            e = Rect{rx, r0.y, r0.x1, r0.y1};
                            m_free.push_back(Rect{r0.x, ry, rx, r0.y1});
                        }
                    } else if (rx < r0.x1) {
                        e = Rect{rx, r0.y, r0.x1, r0.y1};
                    } else if (ry < r0.y1) {
                        e = Rect{r0.x, ry, r0.x1, r0.y1};
                    } else {
                        e = Rect{};
                    }
                    m_extentStale = true;
                }
            }
            std::erase_if(m_active, [&](int r) {
                return m_done[static_cast<size_t>(r)] >= m_in.rows[static_cast<size_t>(r)].qty;
            });
            mergeFreeRects();
        } while (!idle);

        // A table that never grew past one entry leaves no offcut: the strip
        // that remains is the rest of the stock sheet, not a piece cut off.
        if (m_free.size() > 1) {
            for (const Rect& e : m_free) {
                if (e.x1 - e.x > 0 && e.y1 - e.y > 0) {
                    out.offcuts.push_back(Offcut{sheet.tnb, e.x, e.y, e.x1, e.y1});
                    cut += static_cast<std::uint32_t>(e.x1 - e.x) + static_cast<std::uint32_t>(e.y1 - e.y);
                }
            }
        }
        const std::uint32_t hundredth =
            static_cast<std::uint32_t>(sheet.len) * static_cast<std::uint32_t>(sheet.wid) / 100U;
        out.lastFill = hundredth == 0 ? 0.0 : static_cast<double>(static_cast<std::int32_t>(area)) / hundredth;
        ++out.sheetsUsed;
    }
    out.cutMeasure = static_cast<std::int32_t>(cut);
    out.placed = placed;
}

} // namespace detail

AutoEngine::AutoEngine() = default;
AutoEngine::~AutoEngine() = default;

std::int64_t AutoEngine::partCount() const
{
    return m_input ? m_input->partCount : 0;
}

void AutoEngine::Load(std::span<const PartDemand> demand, std::span<const SheetInstance> sheets, int kerf,
                      int attempts)
{
    m_input = std::make_unique<detail::AutoInput>();
    m_attempts = std::max(attempts, 0);
    m_kerf = kerf;
    m_input->sheets.reserve(sheets.size());
    for (const SheetInstance& s : sheets)
        m_input->sheets.push_back(detail::AutoSheet{s.len, s.wid, s.tnb});
    std::int64_t slot = 0;
    for (const PartDemand& d : demand) {
        detail::AutoRow row;
        row.len = d.len;
        row.wid = d.wid;
        row.lock = d.lock;
        row.row = d.row;
        row.qty = std::max<std::int64_t>(d.qty, 0);
        row.firstSlot = slot;
        slot += row.qty;
        m_input->rows.push_back(row);
    }
    m_input->partCount = slot;
    m_input->unplacedSlots.reserve(static_cast<size_t>(slot));
    for (const detail::AutoRow& row : m_input->rows)
        for (std::int64_t i = 0; i < row.qty; ++i)
            m_input->unplacedSlots.push_back(PartSlot{0, 0, 0, 0, 0, row.lock, row.row});
    m_builder = std::make_unique<detail::AttemptBuilder>(*m_input);
    m_best = AutoAttempt{};
    m_bestSheets = m_bestFill = m_bestIndex = m_bestCut = 0;
}

void AutoEngine::RunAttempt(int a, Rand31& rng)
{
    m_builder->build(a, rng, m_current);
    if (a < 2)
        rng.jump(static_cast<std::uint64_t>(m_current.placed));
    foldIntoBest(a, m_current);
}

void AutoEngine::foldIntoBest(int a, AutoAttempt& attempt)
{
    // The running best lives in 32-bit floats; every comparison is between
    // the candidate's exact value and the stored float.
    if (a == 0) {
        m_bestSheets = static_cast<float>(attempt.sheetsUsed);
        m_bestFill = static_cast<float>(attempt.lastFill);
        m_bestIndex = 0;
        m_bestCut = 0;
    }
    bool taken = false;
    const auto take = [&] {
        m_bestSheets = static_cast<float>(attempt.sheetsUsed);
        m_bestFill = static_cast<float>(attempt.lastFill);
        m_bestIndex = static_cast<float>(a);
        m_bestCut = static_cast<float>(attempt.cutMeasure);
        taken = true;
    };
    if (!(static_cast<double>(attempt.sheetsUsed) > static_cast<double>(m_bestSheets))) {
        if (attempt.lastFill == static_cast<double>(m_bestFill)
            || static_cast<double>(attempt.cutMeasure) < static_cast<double>(m_bestCut))
            take();
        if (attempt.lastFill < static_cast<double>(m_bestFill))
            take();
    }
    // Attempt 0 is the best until another is taken, whatever the floats say.
    if (taken || a == 0)
        std::swap(m_best, attempt);
}

int AutoEngine::ChooseBest() const
{
    return static_cast<int>(m_bestIndex);
}

namespace {

// One attempt handed to a worker: built from `start` random values after the
// run's first one, a guess until the attempts before it are known.
struct Job {
    int attempt = -1;
    std::uint64_t start = 0;
    bool done = false;
    AutoAttempt result;
};

} // namespace

void AutoEngine::RunAll(Rand31& rng, int threads, const std::function<void(int)>& afterAttempt)
{
    const int n = m_attempts;
    if (threads <= 0)
        threads = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    threads = std::min(threads, n);
    if (threads <= 1) {
        for (int a = 0; a < n; ++a) {
            RunAttempt(a, rng);
            if (afterAttempt)
                afterAttempt(a);
        }
        return;
    }

    // Attempt a starts in the random sequence after every placement of the
    // attempts before it. Workers build attempts ahead on the guess that each
    // places as many parts as the last one finished; this thread takes the
    // attempts in order, rebuilds one whose guess proved wrong, and compares.
    // Attempts 0 and 1 use no random values, so their start never matters.
    const Rand31 base = rng;
    const int window = 2 * threads;
    std::vector<Job> jobs(static_cast<size_t>(window));
    std::deque<Job*> queue;
    std::mutex mutex;
    std::condition_variable workReady;
    std::condition_variable jobDone;
    bool stop = false;

    const auto worker = [&] {
        detail::AttemptBuilder builder(*m_input);
        std::unique_lock lock(mutex);
        for (;;) {
            workReady.wait(lock, [&] { return stop || !queue.empty(); });
            if (stop)
                return;
            Job* job = queue.front();
            queue.pop_front();
            lock.unlock();
            Rand31 r = base.jumped(job->start);
            builder.build(job->attempt, r, job->result);
            lock.lock();
            job->done = true;
            jobDone.notify_all();
        }
    };
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t) {
        try {
            pool.emplace_back(worker);
        } catch (const std::system_error&) {
            break;
        }
    }

    std::uint64_t offset = 0;
    std::int64_t lastCount = partCount();
    bool speculate = true;
    int nextIssue = 0;
    for (int c = 0; c < n; ++c) {
        Job& job = jobs[static_cast<size_t>(c % window)];
        {
            std::unique_lock lock(mutex);
            if (!pool.empty()) {
                while (nextIssue < n && nextIssue < c + window && (nextIssue <= c || speculate)) {
                    Job& next = jobs[static_cast<size_t>(nextIssue % window)];
                    next.attempt = nextIssue;
                    next.start = offset + static_cast<std::uint64_t>(nextIssue - c) * static_cast<std::uint64_t>(lastCount);
                    next.done = false;
                    queue.push_back(&next);
                    ++nextIssue;
                }
                workReady.notify_all();
                jobDone.wait(lock, [&] { return job.done; });
            }
        }
        if (pool.empty() || (c >= 2 && job.start != offset)) {
            Rand31 r = base.jumped(offset);
            m_builder->build(c, r, job.result);
            job.start = offset;
        }
        speculate = job.result.placed == lastCount;
        lastCount = job.result.placed;
        offset += static_cast<std::uint64_t>(job.result.placed);
        foldIntoBest(c, job.result);
        if (afterAttempt)
            afterAttempt(c);
    }
    {
        std::lock_guard lock(mutex);
        stop = true;
    }
    workReady.notify_all();
    for (std::thread& t : pool)
        t.join();
    rng = base.jumped(offset);
}

} // namespace engine
