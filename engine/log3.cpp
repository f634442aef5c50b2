#include "engine/log3.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cmath>
#include <limits>

namespace engine {

namespace {

double nowSeconds()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

bool wasteAdmitted(std::uint32_t total, std::uint32_t area, float alpha)
{
    const float limit = alpha * static_cast<float>(area);
    if (!(limit >= 0.0f))
        return limit > -1.0f && total == 0;  // trunc of (-1, 0) is 0; NaN admits nothing
    if (limit >= 4294967296.0f)
        return true;
    return total <= static_cast<std::uint32_t>(limit);
}

float grownAlpha(float alpha)
{
    return static_cast<float>(static_cast<double>(alpha) * 1.2);
}

// ---------------------------------------------------------------------------

log3::log3() = default;
log3::~log3() = default;

void log3::FreeArrays()
{
    m_known = detail::BlockList{};
    m_last = detail::BlockList{};
    m_new = detail::BlockList{};
    m_nodes.release();
    m_knownIndex.release();
    m_candLen = {};
    m_candWid = {};
    m_candWaste = {};
    m_candIndex = {};
    m_candMask = {};
    m_byLen = {};
    m_byWid = {};
    m_sortScratch = {};
    m_sortedLen = {};
    m_sortedWid = {};
    m_bits = {};
    m_scores = {};
    m_avail = {};
    m_best = 0;
    m_allocated = false;
}

std::size_t log3::memoryInUse() const
{
    return m_known.bytes() + m_last.bytes() + m_new.bytes() + m_nodes.bytes() +
           m_knownIndex.bytes() + m_scores.capacity() * sizeof(std::uint32_t);
}

// Empties the lists for a new search but keeps a bounded amount of their
// storage: the sheets of a session are searched one after the other, and
// memory the previous search touched costs no page faults when reused.
void log3::resetStorage()
{
    constexpr std::size_t kKeep = std::size_t{64} << 20;
    m_nodes.clearKeeping(kKeep);
    for (detail::BlockList* list : {&m_known, &m_last, &m_new})
        list->clearKeeping(kKeep, m_rows);
    if (m_knownIndex.bytes() > kKeep)
        m_knownIndex.release();
    m_scores.clear();
    m_best = 0;
}

void log3::Init(const std::vector<PartDemand>& rows, std::uint32_t limit, float alpha, std::uint32_t L,
                std::uint32_t W, std::int32_t pi, std::uint32_t turnedOffset)
{
    m_rows = static_cast<std::uint32_t>(rows.size());
    resetStorage();
    m_limit = limit;
    m_alpha = alpha;
    m_L = L;
    m_W = W;
    m_area = L * W;
    m_pi = pi;
    m_rows = static_cast<std::uint32_t>(rows.size());
    m_turnedOffset = turnedOffset;
    m_generation = 0;
    m_generated = true;
    m_goodEnough = false;
    m_end = SearchEnd::NotRun;
    m_start = nowSeconds();
    m_elapsed = {};

    m_joinCounts.assign(m_rows, 0);
    m_knownIndex.rebuild(m_known, 1024);

    m_avail.assign(m_rows, 0);
    std::vector<std::uint32_t> counts(m_rows, 0);
    const auto addPart = [&](std::uint32_t id, std::uint32_t len, std::uint32_t wid, std::size_t l) {
        const std::uint32_t n = m_nodes.add({len, wid, id, 0, 1, 1, detail::BlockNodeKind::Part});
        counts[l] = 1;
        m_known.push(len, wid, 0, n, counts.data(), m_rows);
        m_knownIndex.insert(m_known, m_known.size() - 1);
        m_last.push(len, wid, 0, n, counts.data(), m_rows);
        counts[l] = 0;
    };
    for (std::size_t l = 0; l < rows.size(); ++l) {
        const PartDemand& p = rows[l];
        const auto len = static_cast<std::uint32_t>(p.len);
        const auto wid = static_cast<std::uint32_t>(p.wid);
        const auto qty = static_cast<std::uint32_t>(p.qty);
        const std::uint32_t partArea = len * wid;
        // A row without parts to place, or a part without area, gives no
        // block: a block may never hold more pieces of a row than avail, and
        // a part of no area would divide by zero below.
        if (p.qty <= 0 || partArea == 0)
            continue;
        const auto id = static_cast<std::uint32_t>(p.row);
        if (len <= L && wid <= W)
            addPart(id, len, wid, l);
        if (p.lock == 0 && wid <= L && len <= W)
            addPart(id + turnedOffset, wid, len, l);
        m_avail[l] = std::min(qty, m_area / partArea);
    }
    m_allocated = true;
}

namespace {

// Sums the two count rows and tells whether every sum stays within avail;
// without an early exit, so that it vectorises.
__attribute__((optimize("O3"))) bool sumCounts(const std::uint32_t* __restrict a, const std::uint32_t* __restrict b,
                                               const std::uint32_t* __restrict avail,
                                               std::uint32_t* __restrict sum, std::uint32_t rows)
{
    std::uint32_t over = 0;
    for (std::uint32_t l = 0; l < rows; ++l) {
        sum[l] = a[l] + b[l];
        over |= static_cast<std::uint32_t>(sum[l] > avail[l]);
    }
    return over == 0;
}

} // namespace

bool log3::CountsFit(std::size_t i, std::size_t j)
{
    return sumCounts(m_known.counts.at(i), m_last.counts.at(j), m_avail.data(), m_joinCounts.data(), m_rows);
}

int log3::appendJoin(std::size_t i, std::size_t j, detail::BlockNodeKind kind, std::uint32_t len, std::uint32_t wid,
                     std::uint32_t waste, std::uint32_t total)
{
    m_generated = true;
    if (m_new.size() >= m_limit)
        return 2;
    const detail::BlockNode& a = m_nodes[m_known.node[i]];
    const detail::BlockNode& b = m_nodes[m_last.node[j]];
    const std::uint32_t items = a.items + b.items + (waste > 0 ? 2 : 0);
    const std::uint32_t parts = a.parts + b.parts;
    const std::uint32_t n = m_nodes.add({len, wid, m_known.node[i], m_last.node[j], items, parts, kind});
    m_new.push(len, wid, total, n, m_joinCounts.data(), m_rows);
    const std::uint32_t used = (len * wid - total) / std::max<std::uint32_t>(m_area / 100, 1);
    if (static_cast<std::int64_t>(used) > m_pi) {
        m_goodEnough = true;
        return 2;
    }
    return 1;
}

int log3::JoinStacked(std::size_t i, std::size_t j)
{
    const std::uint32_t aL = m_known.len[i], aW = m_known.wid[i];
    const std::uint32_t bL = m_last.len[j], bW = m_last.wid[j];
    if (aW + bW > m_W)
        return 1;
    const std::uint32_t waste = detail::stackedWaste(aL, aW, bL, bW).area();
    const std::uint32_t total = waste + m_known.waste[i] + m_last.waste[j];
    const std::uint32_t len = std::max(aL, bL);
    if (!wasteAdmitted(total, (aW + bW) * len, m_alpha))
        return 1;
    return appendJoin(i, j, detail::BlockNodeKind::Stacked, len, aW + bW, waste, total);
}

int log3::JoinSideBySide(std::size_t i, std::size_t j)
{
    const std::uint32_t aL = m_known.len[i], aW = m_known.wid[i];
    const std::uint32_t bL = m_last.len[j], bW = m_last.wid[j];
    if (aL + bL > m_L)
        return 1;
    const std::uint32_t waste = detail::sideWaste(aL, aW, bL, bW).area();
    const std::uint32_t total = waste + m_known.waste[i] + m_last.waste[j];
    const std::uint32_t wid = std::max(aW, bW);
    if (!wasteAdmitted(total, (aL + bL) * wid, m_alpha))
        return 1;
    return appendJoin(i, j, detail::BlockNodeKind::SideBySide, aL + bL, wid, waste, total);
}

// The caller has already found that at least one of the two joins passes its
// size and waste tests; those tests do not depend on the counts, so running
// them first changes nothing but the time spent on pairs that cannot join.
int log3::TryPair(std::size_t i, std::size_t j, bool stacked, bool sideBySide)
{
    if (!CountsFit(i, j))
        return 1;
    if (stacked && JoinStacked(i, j) == 2)
        return 2;
    if (sideBySide && JoinSideBySide(i, j) == 2)
        return 2;
    return 1;
}

bool log3::MergeNewBlocks()
{
    m_alpha = grownAlpha(m_alpha);
    const std::size_t capacity = knownCapacity();
    for (std::size_t p = 0; p < m_new.size(); ++p) {
        if (m_knownIndex.has(m_known, m_new.waste[p], m_new.len[p], m_new.wid[p]))
            continue;
        if (m_known.size() >= capacity)
            return false;
        m_known.push(m_new.len[p], m_new.wid[p], m_new.waste[p], m_new.node[p], m_new.counts.at(p), m_rows);
        m_knownIndex.insert(m_known, m_known.size() - 1);
    }
    return true;
}

std::size_t log3::knownCapacity() const
{
    return std::min(m_knownLimit, std::max<std::size_t>(m_limit, kKnownFloor));
}

void log3::ReplaceLastList()
{
    std::swap(m_last, m_new);
    m_new.clear();
    if (m_nodes.compactionDue())
        m_nodes.compact(m_known, m_last);
}

bool log3::knownListCouldOverflow() const
{
    if (m_known.size() >= knownCapacity())
        return true;
    // A full generation adds up to `limit` nodes, new-list entries and known
    // entries, and may double the hash table.
    const std::size_t perBlock = sizeof(detail::BlockNode) + 2 * (4 * sizeof(std::uint32_t) + m_rows * sizeof(std::uint32_t));
    std::size_t hashGrowth = 0;
    if ((m_known.size() + m_limit) * 2 > m_knownIndex.slotCount())
        hashGrowth = m_knownIndex.slotCount() * 2 * sizeof(std::uint32_t);
    return memoryInUse() + std::size_t{m_limit} * perBlock + hashGrowth > kMemoryBudget;
}

namespace {

// float(x) within a few units in the last place, for x up to 2^32 - 1 (the
// plain conversion of a signed value vectorises, the unsigned one does not).
inline float approxFloat(std::uint32_t x)
{
    const auto half = static_cast<std::int32_t>(x >> 1);
    const auto odd = static_cast<std::int32_t>(x & 1);
    return static_cast<float>(half) * 2.0f + static_cast<float>(odd);
}

// A generous float bound on the admitted waste: never below the exact
// trunc(alpha x area) test's threshold, so everything the exact test admits
// passes here too.
inline bool mayAdmit(std::uint32_t total, std::uint32_t area, float alpha)
{
    const float limit = alpha * approxFloat(area);
    return approxFloat(total) <= limit + std::fabs(limit) * (1.0f / 1024) + 4.0f;
}

// Least-significant-digit radix sort on a 32-bit key, 11 bits a pass;
// passes above the largest key are skipped.
template <class T, class Key>
void sortByKey(std::vector<T>& v, std::vector<T>& scratch, Key key)
{
    std::uint32_t maxKey = 0;
    for (const T& x : v)
        maxKey = std::max(maxKey, key(x));
    scratch.resize(v.size());
    for (unsigned shift = 0; shift < 32 && (maxKey >> shift) != 0; shift += 11) {
        std::size_t start[2048 + 1] = {};
        for (const T& x : v)
            ++start[((key(x) >> shift) & 2047) + 1];
        for (std::size_t d = 1; d <= 2048; ++d)
            start[d] += start[d - 1];
        for (const T& x : v)
            scratch[start[(key(x) >> shift) & 2047]++] = x;
        v.swap(scratch);
    }
}

struct Pair {
    std::uint32_t aL, aW, aWaste, L, W;
    float alpha;
};

// mask[c] bit 0: B = candidate c may stack above A; bit 1: it may go right
// of A. Returns the OR of all marks. Kept free of branches so that it
// vectorises; this loop is where a search spends its time.
__attribute__((optimize("O3"))) std::uint32_t markCandidates(const Pair p, const std::uint32_t* __restrict bLen,
                                                             const std::uint32_t* __restrict bWid,
                                                             const std::uint32_t* __restrict bWaste, std::size_t n,
                                                             std::uint8_t* __restrict mask)
{
    const std::uint32_t aL = p.aL, aW = p.aW;
    std::uint32_t any = 0;
    for (std::size_t c = 0; c < n; ++c) {
        const std::uint32_t bL = bLen[c], bW = bWid[c];
        const std::uint32_t both = p.aWaste + bWaste[c];
        const std::uint32_t longL = aL > bL ? aL : bL;
        const std::uint32_t wideW = aW > bW ? aW : bW;
        // Stacked: the shorter block's width times the length difference.
        const std::uint32_t stWaste = (longL - (aL > bL ? bL : aL)) * (aL > bL ? bW : aW);
        // Side by side: the shorter length times the width difference.
        const std::uint32_t sdWaste = (wideW - (bW < aW ? bW : aW)) * (bW < aW ? bL : aL);
        const std::uint32_t stArea = (aW + bW) * longL;
        const std::uint32_t sdArea = (aL + bL) * wideW;
        const std::uint32_t st = static_cast<std::uint32_t>(aW + bW <= p.W) &
                                 static_cast<std::uint32_t>(mayAdmit(stWaste + both, stArea, p.alpha));
        const std::uint32_t sd = static_cast<std::uint32_t>(aL + bL <= p.L) &
                                 static_cast<std::uint32_t>(mayAdmit(sdWaste + both, sdArea, p.alpha));
        const std::uint32_t m = st | (sd << 1);
        mask[c] = static_cast<std::uint8_t>(m);
        any |= m;
    }
    return any;
}

} // namespace

// One generation of joins: every known block i with every last block j, in
// that order. A pair changes nothing unless one of its joins fits the sheet
// and passes the waste test, and neither test depends on the counts, so the
// loop first marks the pairs that may pass, with a branch-free bound that the
// compiler vectorises, and runs the exact tests and the count test on those
// only.
void log3::runGeneration()
{
    const std::size_t knownCount = m_known.size();
    const std::size_t lastCount = m_last.size();
    if (knownCount == 0 || lastCount == 0)
        return;
    const float alpha = m_alpha;
    const std::uint32_t L = m_L, W = m_W;

    // No join is larger than the sheet, so none admits more waste than
    // alpha x sheet area; blocks holding more waste than that sit out this
    // generation. (Only when the sheet area fits in 32 bits and alpha is not
    // negative; otherwise every block takes part.)
    std::uint64_t maxWaste = std::numeric_limits<std::uint64_t>::max();
    if (std::uint64_t{L} * W <= 0xFFFFFFFFull && alpha >= 0.0f) {
        const float limit = alpha * static_cast<float>(m_area);
        if (limit < 4294967296.0f)
            maxWaste = static_cast<std::uint64_t>(limit);
    }

    m_candLen.clear();
    m_candWid.clear();
    m_candWaste.clear();
    m_candIndex.clear();
    std::uint32_t minBLen = std::numeric_limits<std::uint32_t>::max();
    std::uint32_t minBWid = minBLen, minBWaste = minBLen;
    for (std::size_t j = 0; j < lastCount; ++j) {
        if (m_last.waste[j] > maxWaste)
            continue;
        m_candLen.push_back(m_last.len[j]);
        m_candWid.push_back(m_last.wid[j]);
        m_candWaste.push_back(m_last.waste[j]);
        m_candIndex.push_back(static_cast<std::uint32_t>(j));
        minBLen = std::min(minBLen, m_last.len[j]);
        minBWid = std::min(minBWid, m_last.wid[j]);
        minBWaste = std::min(minBWaste, m_last.waste[j]);
    }
    const std::size_t cand = m_candIndex.size();
    if (cand == 0)
        return;
    m_candMask.resize(cand);
    const std::uint32_t* bLen = m_candLen.data();
    const std::uint32_t* bWid = m_candWid.data();
    const std::uint32_t* bWaste = m_candWaste.data();
    std::uint8_t* mask = m_candMask.data();

    // Exact tests for known block i and candidate c; `which` bit 0 asks for
    // the stacked join, bit 1 for side by side. Returns TryPair's 2 to end
    // the generation.
    const auto tryCandidate = [&](std::size_t i, std::size_t c, unsigned which) {
        const std::uint32_t aL = m_known.len[i], aW = m_known.wid[i];
        const std::uint32_t bL = bLen[c], bW = bWid[c];
        const std::uint32_t both = m_known.waste[i] + bWaste[c];
        bool stacked = false, side = false;
        if ((which & 1) != 0 && aW + bW <= W) {
            const std::uint32_t waste = aL > bL ? (aL - bL) * bW : (bL - aL) * aW;
            stacked = wasteAdmitted(waste + both, (aW + bW) * std::max(aL, bL), alpha);
        }
        if ((which & 2) != 0 && aL + bL <= L) {
            const std::uint32_t waste = bW < aW ? (aW - bW) * bL : (bW - aW) * aL;
            side = wasteAdmitted(waste + both, (aL + bL) * std::max(aW, bW), alpha);
        }
        if (!stacked && !side)
            return 1;
        return TryPair(i, m_candIndex[c], stacked, side);
    };

    // With a waste bound, a join's waste rectangle bounds how far the two
    // lengths (stacked) or widths (side by side) may differ: stacked, the
    // shorter block's width times the length difference is waste, side by
    // side the shorter block's length times the width difference. The
    // candidates sorted by length and by width then give, per known block,
    // two ranges holding every candidate that can join it; their union,
    // taken in list order, is tried instead of the whole list. (Sorted
    // only once a known block is to be paired: a generation that pairs none
    // does not sort.)
    const bool bounded = maxWaste != std::numeric_limits<std::uint64_t>::max();
    bool ranged = false;
    const auto sortCandidates = [&] {
        m_byLen.resize(cand);
        for (std::size_t c = 0; c < cand; ++c)
            m_byLen[c] = SortedCandidate{bLen[c], bWid[c], bWaste[c], static_cast<std::uint32_t>(c)};
        m_byWid = m_byLen;
        sortByKey(m_byLen, m_sortScratch, [](const SortedCandidate& x) { return x.len; });
        sortByKey(m_byWid, m_sortScratch, [](const SortedCandidate& x) { return x.wid; });
        m_sortedLen.resize(cand);
        m_sortedWid.resize(cand);
        for (std::size_t c = 0; c < cand; ++c) {
            m_sortedLen[c] = m_byLen[c].len;
            m_sortedWid[c] = m_byWid[c].wid;
        }
        m_bits.assign((cand + 63) / 64, 0);
        ranged = true;
    };
    const auto range = [](const std::vector<std::uint32_t>& sorted, std::uint64_t lo, std::uint64_t hi) {
        const auto first = std::lower_bound(sorted.begin(), sorted.end(), lo,
                                            [](std::uint32_t v, std::uint64_t x) { return v < x; });
        const auto last = std::upper_bound(first, sorted.end(), hi,
                                           [](std::uint64_t x, std::uint32_t v) { return x < v; });
        return std::pair<std::size_t, std::size_t>(first - sorted.begin(), last - sorted.begin());
    };
    const auto below = [](std::uint32_t v, std::uint64_t d) { return d >= v ? 0 : v - d; };
    const auto per = [](std::uint64_t waste, std::uint32_t side) {
        return side == 0 ? std::numeric_limits<std::uint32_t>::max() : waste / side;
    };

    for (std::size_t i = 0; i < knownCount; ++i) {
        const std::uint32_t aL = m_known.len[i], aW = m_known.wid[i], aWaste = m_known.waste[i];
        if (std::uint64_t{aWaste} + minBWaste > maxWaste)
            continue;
        const bool canStack = aW + minBWid <= W;
        const bool canSide = aL + minBLen <= L;
        if (!canStack && !canSide)
            continue;

        if (bounded && !ranged)
            sortCandidates();
        if (ranged) {
            const std::uint64_t room = maxWaste - aWaste;
            // When B is the shorter (stacked) or narrower (side by side) one,
            // the join is no larger than W x aL or L x aW, which bounds its
            // admitted waste more tightly than the sheet area does.
            const auto roomWithin = [&](std::uint32_t area) -> std::uint64_t {
                const auto limit = static_cast<std::uint64_t>(alpha * static_cast<float>(area));
                return limit > aWaste ? limit - aWaste : 0;
            };
            std::pair<std::size_t, std::size_t> st{0, 0}, sd{0, 0};
            if (canStack)
                st = range(m_sortedLen, below(aL, per(roomWithin(W * aL), minBWid)), std::uint64_t{aL} + per(room, aW));
            if (canSide)
                sd = range(m_sortedWid, below(aW, per(roomWithin(L * aW), minBLen)), std::uint64_t{aW} + per(room, aL));
            // Mark the union in a bitmap and walk it in list order.
            std::fill(m_bits.begin(), m_bits.end(), 0);
            for (std::size_t k = st.first; k < st.second; ++k)
                if (const SortedCandidate& b = m_byLen[k]; aW + b.wid <= W && b.waste <= room)
                    m_bits[b.c >> 6] |= std::uint64_t{1} << (b.c & 63);
            for (std::size_t k = sd.first; k < sd.second; ++k)
                if (const SortedCandidate& b = m_byWid[k]; aL + b.len <= L && b.waste <= room)
                    m_bits[b.c >> 6] |= std::uint64_t{1} << (b.c & 63);
            for (std::size_t w = 0; w < m_bits.size(); ++w)
                for (std::uint64_t bits = m_bits[w]; bits != 0; bits &= bits - 1) {
                    const std::size_t c = w * 64 + static_cast<std::size_t>(std::countr_zero(bits));
                    if (tryCandidate(i, c, 3) == 2)
                        return;
                }
            continue;
        }

        const Pair pair{aL, aW, aWaste, L, W, alpha};
        if (markCandidates(pair, bLen, bWid, bWaste, cand, mask) == 0)
            continue;
        for (std::size_t c = 0; c < cand; ++c)
            if (mask[c] != 0 && tryCandidate(i, c, mask[c]) == 2)
                return;
    }
}

void log3::Search(const SearchProgressFn& progress, const std::atomic<bool>* stop)
{
    while (m_generated) {
        if (knownListCouldOverflow()) {
            m_end = SearchEnd::KnownListFull;
            break;
        }
        m_generated = false;
        m_new.clear();
        ++m_generation;
        if (progress)
            progress({false, m_generation, static_cast<std::uint32_t>(m_last.size()), 0});

        runGeneration();

        if (m_generated) {
            const bool allKept = MergeNewBlocks();
            if (progress)
                progress({true, m_generation, static_cast<std::uint32_t>(m_new.size()),
                          static_cast<std::uint32_t>(m_known.size())});
            if (stop != nullptr && stop->load()) {
                m_end = SearchEnd::Stopped;
                break;
            }
            if (!allKept) {
                m_end = SearchEnd::KnownListFull;
                break;
            }
            if (m_goodEnough) {
                m_end = SearchEnd::GoodEnough;
                break;
            }
            ReplaceLastList();
        } else {
            m_end = SearchEnd::Exhausted;
        }
    }
    m_allocated = true;
    ChooseBlock();
}

void log3::ChooseBlock()
{
    constexpr std::uint32_t kNone = 2147483647;
    const std::size_t count = m_known.size();
    m_scores.assign(count, 0);
    m_best = 0;
    std::uint32_t bestScore = kNone;
    std::uint32_t bestWaste = kNone;
    for (std::size_t k = 0; k < count; ++k) {
        std::uint32_t score = kNone;
        std::uint32_t waste = kNone;
        if (m_known.len[k] <= m_L && m_known.wid[k] <= m_W) {
            waste = m_known.waste[k];
            score = m_area + waste - m_known.len[k] * m_known.wid[k];
        }
        m_scores[k] = score;
        if (score < bestScore || (score == bestScore && waste < bestWaste)) {
            bestScore = score;
            bestWaste = waste;
            m_best = k;
        }
    }
    const double seconds = std::max(0.0, nowSeconds() - m_start);
    const auto ms = static_cast<std::uint64_t>(seconds * 1000.0);
    m_elapsed.totalSeconds = seconds;
    m_elapsed.milliseconds = static_cast<std::uint16_t>(ms % 1000);
    m_elapsed.seconds = static_cast<std::uint16_t>(ms / 1000 % 60);
    m_elapsed.minutes = static_cast<std::uint16_t>(ms / 60000 % 60);
    m_elapsed.hours = static_cast<std::uint16_t>(std::min<std::uint64_t>(ms / 3600000, 65535));
}

std::uint32_t log3::knownPartCount(std::size_t k) const
{
    return m_nodes[m_known.node[k]].parts;
}

std::uint32_t log3::knownItemCount(std::size_t k) const
{
    return m_nodes[m_known.node[k]].items;
}

Block log3::knownBlock(std::size_t k) const
{
    Block block;
    block.length = m_known.len[k];
    block.width = m_known.wid[k];
    const std::uint32_t* c = m_known.counts.at(k);
    block.counts.assign(c, c + m_rows);
    block.items.reserve(m_nodes[m_known.node[k]].items);
    m_nodes.appendItems(m_known.node[k], block.items);
    return block;
}

} // namespace engine
