#include "engine/auto_engine.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <new>
#include <optional>
#include <system_error>
#include <thread>

#include "engine/attempt_builder.h"
#include "engine/guillotine.h"

namespace engine {

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
    for (const SheetInstance& s : sheets) {
        m_input->sheets.push_back(detail::AutoSheet{s.len, s.wid, s.tnb});
        if (s.len < 0 || s.wid < 0)
            m_input->positiveFootprints = false;
    }
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
        if (row.qty > 0 && (row.len <= 0 || row.wid <= 0))
            m_input->positiveFootprints = false;
        // Corners are then never below 0 and every difference of two stays
        // within 32 bits (see choosePositive).
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
    m_cuttableOnly = false;
    m_haveCuttable = false;
}

void AutoEngine::RunAttempt(int a, Rand31& rng)
{
    m_builder->build(a, rng, m_current);
    if (a < 2)
        rng.jump(static_cast<std::uint64_t>(m_current.placed));
    foldIntoBest(a, m_current);
}

namespace {

bool attemptCuttable(const AutoAttempt& attempt)
{
    // The placed parts gathered sheet by sheet (a counting sort on the sheet
    // number), each sheet then checked in place.
    thread_local std::vector<std::int32_t> firstOf;
    thread_local std::vector<CutRect> pieces;
    std::int32_t lastSheet = 0;
    for (const PartSlot& s : attempt.slots)
        lastSheet = std::max(lastSheet, s.tnb);
    firstOf.assign(static_cast<std::size_t>(lastSheet) + 2, 0);
    // A part without area (a band as thick as the part) needs no cut.
    const auto counts = [](const PartSlot& s) { return s.tnb > 0 && s.x1 > s.x && s.y1 > s.y; };
    for (const PartSlot& s : attempt.slots)
        if (counts(s))
            ++firstOf[static_cast<std::size_t>(s.tnb) + 1];
    for (std::size_t t = 1; t < firstOf.size(); ++t)
        firstOf[t] += firstOf[t - 1];
    pieces.resize(static_cast<std::size_t>(firstOf.back()));
    std::vector<std::int32_t> next(firstOf.begin(), firstOf.end());
    for (const PartSlot& s : attempt.slots)
        if (counts(s))
            pieces[static_cast<std::size_t>(next[static_cast<std::size_t>(s.tnb)]++)] = CutRect{s.x, s.y, s.x1, s.y1};
    const std::span<CutRect> all(pieces);
    for (std::size_t t = 1; t + 1 < firstOf.size(); ++t) {
        const auto from = static_cast<std::size_t>(firstOf[t]);
        const auto to = static_cast<std::size_t>(firstOf[t + 1]);
        if (to - from > 1 && !isGuillotineSeparableInPlace(all.subspan(from, to - from)))
            return false;
    }
    return true;
}

} // namespace

bool AutoEngine::bestCuttable() const { return attemptCuttable(m_best); }

void AutoEngine::foldIntoBest(int a, AutoAttempt& attempt)
{
    // Joining neighbouring free rectangles can now and then give one that
    // spans two branches of the cut tree; a part placed across it leaves a
    // plan the saw cannot cut. In the second round of runAll such an attempt
    // never replaces one that can be cut: the choice runs over the cuttable
    // attempts as it would over all of them, starting from the first
    // cuttable one as it would start from attempt 0. The test is made only
    // when the attempt would start or win.
    bool cuttable = false;
    bool known = false;
    const auto isCuttable = [&] {
        if (!known) {
            cuttable = attemptCuttable(attempt);
            known = true;
        }
        return cuttable;
    };
    bool start = a == 0;
    if (m_cuttableOnly) {
        if (a == 0)
            m_haveCuttable = isCuttable();
        else if (!m_haveCuttable && isCuttable())
            start = m_haveCuttable = true;
    }
    if (start) {
        // The running best lives in 32-bit floats; every comparison is
        // between the candidate's exact value and the stored float.
        m_bestSheets = static_cast<float>(attempt.sheetsUsed);
        m_bestFill = static_cast<float>(attempt.lastFill);
        m_bestIndex = static_cast<float>(a);
        m_bestCut = 0;
    }
    float sheets = m_bestSheets;
    float fill = m_bestFill;
    float index = m_bestIndex;
    float cut = m_bestCut;
    bool taken = false;
    const auto take = [&] {
        sheets = static_cast<float>(attempt.sheetsUsed);
        fill = static_cast<float>(attempt.lastFill);
        index = static_cast<float>(a);
        cut = static_cast<float>(attempt.cutMeasure);
        taken = true;
    };
    if (!(static_cast<double>(attempt.sheetsUsed) > static_cast<double>(sheets))) {
        if (attempt.lastFill == static_cast<double>(fill) || static_cast<double>(attempt.cutMeasure) < static_cast<double>(cut))
            take();
        if (attempt.lastFill < static_cast<double>(fill))
            take();
    }
    if (m_cuttableOnly && !start && taken && m_haveCuttable && !isCuttable())
        return;
    m_bestSheets = sheets;
    m_bestFill = fill;
    m_bestIndex = index;
    m_bestCut = cut;
    // The starting attempt is the best until another is taken, whatever the floats say.
    if (taken || start)
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
    bool failed = false;  // the worker ran out of memory: this thread builds it
    AutoAttempt result;
};

} // namespace

void AutoEngine::runAll(Rand31& rng, int threads, const std::function<void(int)>& afterAttempt)
{
    const Rand31 start = rng;
    m_cuttableOnly = false;
    runAllOnce(rng, threads, afterAttempt);
    if (m_attempts <= 0 || bestCuttable())
        return;
    // Seldom: the choice fell on a plan the saw cannot cut. The same
    // attempts again, choosing among those it can.
    m_best = AutoAttempt{};
    m_bestSheets = m_bestFill = m_bestIndex = m_bestCut = 0;
    m_cuttableOnly = true;
    m_haveCuttable = false;
    rng = start;
    runAllOnce(rng, threads, afterAttempt);
}

void AutoEngine::runAllOnce(Rand31& rng, int threads, const std::function<void(int)>& afterAttempt)
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

    // An exception must not leave a thread (that ends the program): a
    // worker without memory hands its jobs back undone, and this thread
    // builds them itself.
    const auto worker = [&] {
        std::optional<detail::AttemptBuilder> builder;
        try {
            builder.emplace(*m_input);
        } catch (const std::bad_alloc&) {
        }
        std::unique_lock lock(mutex);
        for (;;) {
            workReady.wait(lock, [&] { return stop || !queue.empty(); });
            if (stop)
                return;
            Job* job = queue.front();
            queue.pop_front();
            lock.unlock();
            bool failed = !builder;
            if (builder) {
                try {
                    Rand31 r = base.jumped(job->start);
                    builder->build(job->attempt, r, job->result);
                } catch (const std::bad_alloc&) {
                    failed = true;
                }
            }
            lock.lock();
            job->failed = failed;
            job->done = true;
            jobDone.notify_all();
        }
    };
    std::vector<std::thread> pool;
    // Stops and joins the workers however this function is left (a progress
    // callback that throws included).
    struct Joiner {
        std::vector<std::thread>& pool;
        std::mutex& mutex;
        std::condition_variable& workReady;
        bool& stop;
        ~Joiner()
        {
            {
                std::lock_guard lock(mutex);
                stop = true;
            }
            workReady.notify_all();
            for (std::thread& t : pool)
                t.join();
        }
    } joiner{pool, mutex, workReady, stop};
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
                    next.failed = false;
                    queue.push_back(&next);
                    ++nextIssue;
                }
                workReady.notify_all();
                jobDone.wait(lock, [&] { return job.done; });
            }
        }
        if (pool.empty() || job.failed || (c >= 2 && job.start != offset)) {
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
    rng = base.jumped(offset);
}

} // namespace engine
