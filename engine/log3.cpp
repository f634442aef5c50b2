#include "engine/log3.h"

#include <algorithm>
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

std::uint64_t keyHash(std::uint32_t waste, std::uint32_t len, std::uint32_t wid)
{
    std::uint64_t h = (std::uint64_t{waste} * 0x9E3779B97F4A7C15ull) ^ (std::uint64_t{len} << 32 | wid);
    h ^= h >> 29;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 32;
    return h;
}

// Waste rectangle of B stacked above A: right of B when A is longer, else
// right of A. Corners (x1, y1)-(x2, y2).
struct WasteRect {
    std::uint32_t x1, y1, x2, y2;
    std::uint32_t area() const { return (x2 - x1) * (y2 - y1); }
};

WasteRect stackedWaste(std::uint32_t aL, std::uint32_t aW, std::uint32_t bL, std::uint32_t bW)
{
    if (aL > bL)
        return {bL, aW, aL, aW + bW};
    return {aL, 0, bL, aW};
}

// Waste rectangle of B right of A: above B when B is narrower, else above A.
WasteRect sideWaste(std::uint32_t aL, std::uint32_t aW, std::uint32_t bL, std::uint32_t bW)
{
    if (bW < aW)
        return {aL, bW, aL + bL, aW};
    return {0, aW, aL, bW};
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

template <class T>
void log3::PagedArray<T>::setElementWidth(std::size_t width)
{
    clear();
    m_perPage = std::max<std::size_t>(width, 1);
}

template <class T>
void log3::PagedArray<T>::clear()
{
    m_pages.clear();
    m_size = 0;
}

template <class T>
T* log3::PagedArray<T>::append()
{
    if (m_size == m_pages.size() * kPageElems)
        m_pages.push_back(std::make_unique_for_overwrite<T[]>(kPageElems * m_perPage));
    return at(m_size++);
}

void log3::List::clear()
{
    len.clear();
    wid.clear();
    waste.clear();
    node.clear();
    counts.clear();
}

void log3::List::push(std::uint32_t l, std::uint32_t w, std::uint32_t ws, std::uint32_t n, const std::uint32_t* c,
                      std::size_t rows)
{
    len.push_back(l);
    wid.push_back(w);
    waste.push_back(ws);
    node.push_back(n);
    std::copy_n(c, rows, counts.append());
}

std::size_t log3::List::bytes() const
{
    return (len.capacity() + wid.capacity() + waste.capacity() + node.capacity()) * sizeof(std::uint32_t) +
           counts.bytes();
}

// ---------------------------------------------------------------------------

log3::log3() = default;
log3::~log3() = default;

void log3::FreeArrays()
{
    m_known = List{};
    m_last = List{};
    m_new = List{};
    m_nodes.clear();
    m_hash = {};
    m_scores = {};
    m_avail = {};
    m_best = 0;
    m_allocated = false;
}

std::size_t log3::memoryInUse() const
{
    return m_known.bytes() + m_last.bytes() + m_new.bytes() + m_nodes.bytes() +
           m_hash.capacity() * sizeof(std::uint32_t) + m_scores.capacity() * sizeof(std::uint32_t);
}

void log3::Init(const std::vector<PartDemand>& rows, std::uint32_t limit, float alpha, std::uint32_t L,
                std::uint32_t W, std::int32_t pi, std::uint32_t turnedOffset)
{
    FreeArrays();
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

    for (List* list : {&m_known, &m_last, &m_new})
        list->counts.setElementWidth(m_rows);
    m_joinCounts.assign(m_rows, 0);
    rehash(1024);

    m_avail.assign(m_rows, 0);
    std::vector<std::uint32_t> counts(m_rows, 0);
    const auto addPart = [&](std::uint32_t id, std::uint32_t len, std::uint32_t wid, std::size_t l) {
        const std::uint32_t n = static_cast<std::uint32_t>(m_nodes.size());
        *m_nodes.append() = Node{len, wid, id, 0, 1, 1, NodeKind::Part};
        counts[l] = 1;
        m_known.push(len, wid, 0, n, counts.data(), m_rows);
        knownInsert(m_known.size() - 1);
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

bool log3::CountsFit(std::size_t i, std::size_t j)
{
    const std::uint32_t* a = m_known.counts.at(i);
    const std::uint32_t* b = m_last.counts.at(j);
    std::uint32_t* sum = m_joinCounts.data();
    for (std::uint32_t l = 0; l < m_rows; ++l) {
        sum[l] = a[l] + b[l];
        if (sum[l] > m_avail[l])
            return false;
    }
    return true;
}

int log3::appendJoin(std::size_t i, std::size_t j, NodeKind kind, std::uint32_t len, std::uint32_t wid,
                     std::uint32_t waste, std::uint32_t total)
{
    m_generated = true;
    if (m_new.size() >= m_limit)
        return 2;
    const Node& a = *m_nodes.at(m_known.node[i]);
    const Node& b = *m_nodes.at(m_last.node[j]);
    const std::uint32_t items = a.items + b.items + (waste > 0 ? 2 : 0);
    const std::uint32_t parts = a.parts + b.parts;
    const std::uint32_t n = static_cast<std::uint32_t>(m_nodes.size());
    *m_nodes.append() = Node{len, wid, m_known.node[i], m_last.node[j], items, parts, kind};
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
    const std::uint32_t waste = stackedWaste(aL, aW, bL, bW).area();
    const std::uint32_t total = waste + m_known.waste[i] + m_last.waste[j];
    const std::uint32_t len = std::max(aL, bL);
    if (!wasteAdmitted(total, (aW + bW) * len, m_alpha))
        return 1;
    return appendJoin(i, j, NodeKind::Stacked, len, aW + bW, waste, total);
}

int log3::JoinSideBySide(std::size_t i, std::size_t j)
{
    const std::uint32_t aL = m_known.len[i], aW = m_known.wid[i];
    const std::uint32_t bL = m_last.len[j], bW = m_last.wid[j];
    if (aL + bL > m_L)
        return 1;
    const std::uint32_t waste = sideWaste(aL, aW, bL, bW).area();
    const std::uint32_t total = waste + m_known.waste[i] + m_last.waste[j];
    const std::uint32_t wid = std::max(aW, bW);
    if (!wasteAdmitted(total, (aL + bL) * wid, m_alpha))
        return 1;
    return appendJoin(i, j, NodeKind::SideBySide, aL + bL, wid, waste, total);
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

void log3::MergeNewBlocks()
{
    m_alpha = grownAlpha(m_alpha);
    for (std::size_t p = 0; p < m_new.size(); ++p) {
        if (knownHas(m_new.waste[p], m_new.len[p], m_new.wid[p]))
            continue;
        m_known.push(m_new.len[p], m_new.wid[p], m_new.waste[p], m_new.node[p], m_new.counts.at(p), m_rows);
        knownInsert(m_known.size() - 1);
    }
}

void log3::ReplaceLastList()
{
    std::swap(m_last, m_new);
    m_new.clear();
}

bool log3::knownListCouldOverflow() const
{
    if (m_known.size() + m_limit > m_knownLimit)
        return true;
    // A full generation adds up to `limit` nodes, new-list entries and known
    // entries, and may double the hash table.
    const std::size_t perBlock = sizeof(Node) + 2 * (4 * sizeof(std::uint32_t) + m_rows * sizeof(std::uint32_t));
    std::size_t hashGrowth = 0;
    if ((m_known.size() + m_limit) * 2 > m_hash.size())
        hashGrowth = m_hash.size() * 2 * sizeof(std::uint32_t);
    return memoryInUse() + std::size_t{m_limit} * perBlock + hashGrowth > kMemoryBudget;
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

        const std::size_t knownCount = m_known.size();
        const std::size_t lastCount = m_last.size();
        if (lastCount > 0) {
            const std::uint32_t* bLen = m_last.len.data();
            const std::uint32_t* bWid = m_last.wid.data();
            const std::uint32_t* bWaste = m_last.waste.data();
            const std::uint32_t minBLen = *std::min_element(bLen, bLen + lastCount);
            const std::uint32_t minBWid = *std::min_element(bWid, bWid + lastCount);
            const float alpha = m_alpha;
            const std::uint32_t L = m_L, W = m_W;
            bool done = false;
            for (std::size_t i = 0; i < knownCount && !done; ++i) {
                const std::uint32_t aL = m_known.len[i], aW = m_known.wid[i], aWaste = m_known.waste[i];
                const bool anyStack = aW + minBWid <= W;
                const bool anySide = aL + minBLen <= L;
                if (!anyStack && !anySide)
                    continue;
                for (std::size_t j = 0; j < lastCount; ++j) {
                    const std::uint32_t bL = bLen[j], bW = bWid[j];
                    bool stacked = aW + bW <= W;
                    bool side = aL + bL <= L;
                    if (!stacked && !side)
                        continue;
                    const std::uint32_t both = aWaste + bWaste[j];
                    if (stacked) {
                        const std::uint32_t waste = aL > bL ? (aL - bL) * bW : (bL - aL) * aW;
                        stacked = wasteAdmitted(waste + both, (aW + bW) * std::max(aL, bL), alpha);
                    }
                    if (side) {
                        const std::uint32_t waste = bW < aW ? (aW - bW) * bL : (bW - aW) * aL;
                        side = wasteAdmitted(waste + both, (aL + bL) * std::max(aW, bW), alpha);
                    }
                    if (!stacked && !side)
                        continue;
                    if (TryPair(i, j, stacked, side) == 2) {
                        done = true;
                        break;
                    }
                }
            }
        }

        if (m_generated) {
            MergeNewBlocks();
            if (progress)
                progress({true, m_generation, static_cast<std::uint32_t>(m_new.size()),
                          static_cast<std::uint32_t>(m_known.size())});
            if (stop != nullptr && stop->load()) {
                m_end = SearchEnd::Stopped;
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
    return m_nodes.at(m_known.node[k])->parts;
}

std::uint32_t log3::knownItemCount(std::size_t k) const
{
    return m_nodes.at(m_known.node[k])->items;
}

Block log3::knownBlock(std::size_t k) const
{
    Block block;
    block.length = m_known.len[k];
    block.width = m_known.wid[k];
    const std::uint32_t* c = m_known.counts.at(k);
    block.counts.assign(c, c + m_rows);
    const Node& root = *m_nodes.at(m_known.node[k]);
    block.items.reserve(root.items);

    // Depth-first, A before B; a join's waste pair follows B's items.
    struct Frame {
        std::uint32_t node;
        std::uint32_t x, y;
        bool wastePending;
    };
    std::vector<Frame> stack{{m_known.node[k], 0, 0, false}};
    while (!stack.empty()) {
        const Frame f = stack.back();
        stack.pop_back();
        const Node& n = *m_nodes.at(f.node);
        if (f.wastePending) {
            const Node& a = *m_nodes.at(n.a);
            const Node& b = *m_nodes.at(n.b);
            const WasteRect r = n.kind == NodeKind::Stacked ? stackedWaste(a.len, a.wid, b.len, b.wid)
                                                             : sideWaste(a.len, a.wid, b.len, b.wid);
            if (r.area() > 0) {
                block.items.push_back({0, f.x + r.x1, f.y + r.y1});
                block.items.push_back({0, f.x + r.x2, f.y + r.y2});
            }
            continue;
        }
        if (n.kind == NodeKind::Part) {
            block.items.push_back({n.a, f.x, f.y});
            continue;
        }
        const Node& a = *m_nodes.at(n.a);
        const std::uint32_t bx = n.kind == NodeKind::SideBySide ? f.x + a.len : f.x;
        const std::uint32_t by = n.kind == NodeKind::Stacked ? f.y + a.wid : f.y;
        stack.push_back({f.node, f.x, f.y, true});
        stack.push_back({n.b, bx, by, false});
        stack.push_back({n.a, f.x, f.y, false});
    }
    return block;
}

// ---------------------------------------------------------------------------

bool log3::knownHas(std::uint32_t waste, std::uint32_t len, std::uint32_t wid) const
{
    const std::size_t mask = m_hash.size() - 1;
    for (std::size_t s = keyHash(waste, len, wid) & mask;; s = (s + 1) & mask) {
        const std::uint32_t e = m_hash[s];
        if (e == 0)
            return false;
        const std::size_t k = e - 1;
        if (m_known.waste[k] == waste && m_known.len[k] == len && m_known.wid[k] == wid)
            return true;
    }
}

void log3::knownInsert(std::size_t k)
{
    if (m_known.size() * 2 > m_hash.size()) {
        rehash(m_hash.size() * 2);  // puts k in with the others
        return;
    }
    const std::size_t mask = m_hash.size() - 1;
    std::size_t s = keyHash(m_known.waste[k], m_known.len[k], m_known.wid[k]) & mask;
    while (m_hash[s] != 0)
        s = (s + 1) & mask;
    m_hash[s] = static_cast<std::uint32_t>(k + 1);
}

void log3::rehash(std::size_t slots)
{
    m_hash.assign(slots, 0);
    const std::size_t mask = slots - 1;
    // Init puts identical blocks (square parts) in the known list; every one
    // goes into the table, the lookup only asks whether a key is present.
    for (std::size_t k = 0; k < m_known.size(); ++k) {
        std::size_t s = keyHash(m_known.waste[k], m_known.len[k], m_known.wid[k]) & mask;
        while (m_hash[s] != 0)
            s = (s + 1) & mask;
        m_hash[s] = static_cast<std::uint32_t>(k + 1);
    }
}

} // namespace engine
