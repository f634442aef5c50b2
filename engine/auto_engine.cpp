#include "engine/auto_engine.h"

#include "engine/guillotine.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <limits>
#include <mutex>
#include <new>
#include <optional>
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
    bool positiveFootprints = true;  // parts all above 0 in both sizes, no sheet size below 0
};

// Sizes of a free rectangle as the fit tests want them: width and
// height for rows that keep their direction, short and long side for
// rows that may turn (a part fits a rectangle one way or the other
// exactly when its short side fits the short side and its long side the
// long one). Used only with parts of positive size, where every size
// fits 32 bits.
struct FreeDims {
    std::int32_t v[4] = {0, 0, 0, 0};  // width, height, short, long
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
    using Dims = FreeDims;
    struct Choice {
        int index = -1;
        std::int32_t w = 0;
        std::int32_t h = 0;
        std::int32_t rot = 0;
    };
    // A part row with parts left, in row order.
    struct RowState {
        std::int64_t len = 0;
        std::int64_t wid = 0;
        std::int64_t left = 0;       // parts still to place
        std::int64_t nextSlot = 0;   // slot of the next part to place
        std::int64_t failedSheet = -1;
        std::size_t failedAt = 0;    // merge log size when it last found no room
        // Compared with the free-size bounds: the short and long side when
        // the part may turn, else its length and width.
        std::int64_t boundFirst = 0;
        std::int64_t boundSecond = 0;
        bool unlocked = true;
    };

    [[nodiscard]] Choice choose(const RowState& row) const;
    [[nodiscard]] Choice choosePositive(const RowState& row);
    [[nodiscard]] Choice bestScored(const RowState& row) const;
    [[nodiscard]] Choice scoredChoice(const RowState& row, int index) const;
    void refreshExtent();
    [[nodiscard]] bool extentMayHold(const RowState& row) const;
    [[nodiscard]] bool mergedSinceMayHold(const RowState& row, std::size_t since) const;
    void mergeFreeRects();

    const AutoInput& m_in;
    // The free table. With parts of positive size a deleted entry (all 0) can
    // take part in nothing, so deleted entries are dropped at each merge and
    // m_last counts the entries the table has had on this sheet, as if they
    // were still there.
    std::vector<Rect> m_free;
    int m_last = 0;
    // Sizes of the rectangles that merges produced on the current sheet.
    std::vector<Dims> m_merged;
    // Sizes of the free table entry by entry, kept in step by placements
    // and rebuilt after a merge.
    std::vector<Dims> m_extent;
    std::vector<std::uint64_t> m_corner;  // scratch of mergeFreeRects
    std::vector<RowState> m_rows;
    // Scores of every entry for the row choosePositive saw last: the next
    // part of the same row only needs the entries a placement changed.
    std::vector<std::int32_t> m_score;
    std::vector<std::uint8_t> m_scoreRot;
    bool m_extentStale = true;  // m_extent does not describe m_free
    int m_deleted = 0;          // entries deleted since the last clean-up
    bool m_mergeMayChange = true;  // false after a merge that changed nothing
};

AttemptBuilder::Choice AttemptBuilder::choose(const RowState& row) const
{
    // The fit test and the choice in one scan: every usable rectangle is
    // scored, the smallest leftover wins and the lower index wins ties.
    // Rectangles without extent in both directions can never hold a part of
    // positive size, so they are left out.
    constexpr std::int64_t kNoFit = std::numeric_limits<std::int32_t>::max();
    const std::int64_t len = row.len;
    const std::int64_t wid = row.wid;
    const bool unlocked = row.unlocked;
    Choice best;
    std::int64_t bestScore = kNoFit;
    const int n = static_cast<int>(m_free.size());
    const Rect* table = m_free.data();
    for (int j = 0; j < n; ++j) {
        const Rect& e = table[j];
        const std::int64_t rw = static_cast<std::int64_t>(e.x1) - e.x;
        const std::int64_t rh = static_cast<std::int64_t>(e.y1) - e.y;
        if (rw <= 0 || rh <= 0)
            continue;
        // Leftover as entered and turned; a way that does not fit scores
        // kNoFit. Equal leftovers keep the part as entered.
        const std::int64_t straight = rw >= len && rh >= wid ? std::min(rw - len, rh - wid) : kNoFit;
        const std::int64_t across = unlocked && rw >= wid && rh >= len ? std::min(rw - wid, rh - len) : kNoFit;
        const std::int64_t score = std::min(straight, across);
        if (score < bestScore) {
            bestScore = score;
            best.index = j;
            best.rot = across < straight ? 1 : 0;
        }
    }
    if (best.index >= 0) {
        best.w = static_cast<std::int32_t>(best.rot ? wid : len);
        best.h = static_cast<std::int32_t>(best.rot ? len : wid);
    }
    return best;
}

namespace {

constexpr std::int32_t kNoFit32 = std::numeric_limits<std::int32_t>::max();

// Leftover of a part in a free rectangle of rw x rh, the smaller of the two
// ways it can lie, kNoFit32 when it fits neither way; `rot` tells whether
// the turned way won (equal leftovers keep the part as entered). Written
// without branches on the data: which rectangle fits and which wins is
// unpredictable, and mispredicted jumps cost more than the arithmetic.
inline std::int32_t positiveScore(std::int32_t rw, std::int32_t rh, std::int32_t len, std::int32_t wid,
                                  bool unlocked, std::uint8_t& rot)
{
    std::int32_t straight = std::min(rw - len, rh - wid);
    std::int32_t across = std::min(rw - wid, rh - len);
    straight = straight >= 0 ? straight : kNoFit32;
    across = (across >= 0) & unlocked ? across : kNoFit32;
    rot = static_cast<std::uint8_t>(across < straight);
    return std::min(straight, across);
}

} // namespace

AttemptBuilder::Choice AttemptBuilder::choosePositive(const RowState& row)
{
    // choose() for parts of positive size on a table whose corners are all
    // at or above 0: such a part fits no rectangle without extent, and no
    // difference leaves 32 bits. Keeps every entry's score for the next
    // part of the same row.
    const auto len = static_cast<std::int32_t>(row.len);
    const auto wid = static_cast<std::int32_t>(row.wid);
    const size_t n = m_free.size();
    m_score.resize(n);
    m_scoreRot.resize(n);
    const Rect* table = m_free.data();
    for (size_t j = 0; j < n; ++j)
        m_score[j] = positiveScore(table[j].x1 - table[j].x, table[j].y1 - table[j].y, len, wid, row.unlocked,
                                   m_scoreRot[j]);
    return bestScored(row);
}

AttemptBuilder::Choice AttemptBuilder::bestScored(const RowState& row) const
{
    std::int32_t bestScore = kNoFit32;
    int bestIndex = -1;
    const int n = static_cast<int>(m_score.size());
    for (int j = 0; j < n; ++j) {
        const bool better = m_score[static_cast<size_t>(j)] < bestScore;
        bestScore = better ? m_score[static_cast<size_t>(j)] : bestScore;
        bestIndex = better ? j : bestIndex;
    }
    Choice best;
    best.index = bestIndex;
    if (bestIndex >= 0) {
        best.rot = m_scoreRot[static_cast<size_t>(bestIndex)];
        best.w = static_cast<std::int32_t>(best.rot ? row.wid : row.len);
        best.h = static_cast<std::int32_t>(best.rot ? row.len : row.wid);
    }
    return best;
}

AttemptBuilder::Choice AttemptBuilder::scoredChoice(const RowState& row, int index) const
{
    Choice best;
    best.index = index;
    best.rot = m_scoreRot[static_cast<size_t>(index)];
    best.w = static_cast<std::int32_t>(best.rot ? row.wid : row.len);
    best.h = static_cast<std::int32_t>(best.rot ? row.len : row.wid);
    return best;
}

namespace {

inline FreeDims dimsOf(std::int32_t w, std::int32_t h)
{
    return FreeDims{{w, h, std::min(w, h), std::max(w, h)}};
}

} // namespace

void AttemptBuilder::refreshExtent()
{
    // Only called with shortcuts on: corners at or above 0, deleted entries
    // all 0, so every size fits 32 bits and a deleted entry holds nothing.
    m_extent.resize(m_free.size());
    Dims* out = m_extent.data();
    for (const Rect& e : m_free)
        *out++ = dimsOf(e.x1 - e.x, e.y1 - e.y);
    m_extentStale = false;
}

namespace {

// Whether any of the sizes holds a part whose bounds (see RowState) are
// `first` and `second`; `k` is 2 for rows that may turn, else 0.
inline bool anyHolds(const FreeDims* p, const FreeDims* end, size_t k, std::int32_t first,
                     std::int32_t second)
{
    bool hit = false;
    for (; p != end; ++p)
        hit |= (p->v[k] >= first) & (p->v[k + 1] >= second);
    return hit;
}

} // namespace

bool AttemptBuilder::extentMayHold(const RowState& row) const
{
    return anyHolds(m_extent.data(), m_extent.data() + m_extent.size(), row.unlocked ? 2 : 0,
                    static_cast<std::int32_t>(row.boundFirst), static_cast<std::int32_t>(row.boundSecond));
}

bool AttemptBuilder::mergedSinceMayHold(const RowState& row, std::size_t since) const
{
    return anyHolds(m_merged.data() + since, m_merged.data() + m_merged.size(), row.unlocked ? 2 : 0,
                    static_cast<std::int32_t>(row.boundFirst), static_cast<std::int32_t>(row.boundSecond));
}

namespace {

inline std::uint64_t corner(std::int32_t x, std::int32_t y)
{
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(x)) << 32) | static_cast<std::uint32_t>(y);
}

// One bit of 64 for a corner: a set of corners in one word, which can say
// for sure that a corner is not among them.
inline std::uint64_t cornerBit(std::uint64_t c)
{
    return std::uint64_t{1} << ((c * 0x9E3779B97F4A7C15ULL) >> 58);
}

} // namespace

void AttemptBuilder::mergeFreeRects()
{
    // Joins a rectangle with the first later one that lies directly on top of
    // it or directly right of it with the same span. The joined rectangle
    // takes the later position, so it can be joined again in the same call.
    // A call on a table that an earlier call left as it was changes nothing.
    if (m_last < 3 || !m_mergeMayChange)
        return;
    m_mergeMayChange = false;
    const int last = static_cast<int>(m_free.size()) - 1;
    Rect* table = m_free.data();
    // The lower-left corner of every entry, kept in step with the table:
    // most entries have no neighbour, and one compare per entry finds that.
    m_corner.resize(m_free.size());
    std::uint64_t* corners = m_corner.data();
    std::uint64_t present = 0;
    for (int s = 0; s <= last; ++s) {
        corners[s] = corner(table[s].x, table[s].y);
        present |= cornerBit(corners[s]);
    }
    for (int q = 0; q < last; ++q) {
        const Rect a = table[q];
        const std::uint32_t sum = static_cast<std::uint32_t>(a.x) + static_cast<std::uint32_t>(a.y)
            + static_cast<std::uint32_t>(a.x1) + static_cast<std::uint32_t>(a.y1);
        if (sum == 0)
            continue;
        // B's corner nearest the origin must be A's upper-left corner (B on
        // top) or its lower-right one (B to the right); corners compared as
        // one 64-bit word each.
        const std::uint64_t onTop = corner(a.x, a.y1);
        const std::uint64_t toRight = corner(a.x1, a.y);
        if ((present & (cornerBit(onTop) | cornerBit(toRight))) == 0)
            continue;
        for (int s = q + 1; s <= last; ++s) {
            const std::uint64_t c = corners[s];
            if ((c != onTop) & (c != toRight))
                continue;
            Rect& b = table[s];
            if (((c == onTop) & (b.x1 == a.x1)) | ((c == toRight) & (b.y1 == a.y1))) {
                b = Rect{a.x, a.y, b.x1, b.y1};
                corners[s] = corner(a.x, a.y);
                present |= cornerBit(corners[s]);
                table[q] = Rect{};
                ++m_deleted;
                if (m_in.positiveFootprints) {
                    const std::int32_t w = b.x1 - b.x;
                    const std::int32_t h = b.y1 - b.y;
                    m_merged.push_back(Dims{{w, h, std::min(w, h), std::max(w, h)}});
                }
                m_extentStale = true;
                m_mergeMayChange = true;
                break;
            }
        }
    }
    if (m_in.positiveFootprints && m_deleted > 0) {
        std::erase_if(m_free, [](const Rect& e) { return e.x == 0 && e.y == 0 && e.x1 == 0 && e.y1 == 0; });
        m_deleted = 0;
        m_extentStale = true;
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

    m_rows.clear();
    for (const AutoRow& row : m_in.rows) {
        // A rotation lock other than 0 or 1 never fits anywhere.
        if (row.qty > 0 && (row.lock == 0 || row.lock == 1)) {
            // Rows of the same size next to each other behave as one row:
            // their slots follow each other and fail together.
            if (!m_rows.empty()) {
                RowState& prev = m_rows.back();
                if (prev.len == row.len && prev.wid == row.wid && prev.unlocked == (row.lock == 0)
                    && prev.nextSlot + prev.left == row.firstSlot) {
                    prev.left += row.qty;
                    continue;
                }
            }
            RowState st;
            st.len = row.len;
            st.wid = row.wid;
            st.left = row.qty;
            st.nextSlot = row.firstSlot;
            st.unlocked = row.lock == 0;
            st.boundFirst = st.unlocked ? std::min(st.len, st.wid) : st.len;
            st.boundSecond = st.unlocked ? std::max(st.len, st.wid) : st.wid;
            m_rows.push_back(st);
        }
    }

    const std::int64_t total = m_in.partCount;
    // Parts without size can make a free rectangle larger than the one they
    // were placed in; then the tests are all made in full.
    const bool shortcuts = m_in.positiveFootprints;
    const size_t sheetCount = m_in.sheets.size();
    for (size_t s = 0; s < sheetCount && placed != total; ++s) {
        const AutoSheet& sheet = m_in.sheets[s];
        std::uint32_t area = 0;
        m_free.clear();
        m_deleted = 0;
        m_free.push_back(Rect{0, 0, sheet.len, sheet.wid});
        m_last = 0;
        m_merged.clear();
        m_extentStale = true;
        m_mergeMayChange = true;
        const auto sheetIndex = static_cast<std::int64_t>(s);

        bool idle = true;
        do {
            idle = true;
            for (RowState& row : m_rows) {
                // The parts of one row are identical and tested one after the
                // other: once one finds no room, the rest of the row cannot
                // either, as long as the free table stays as it is. Placing
                // only cuts free rectangles into smaller ones, so a row that
                // found no room on this sheet can only fit into a rectangle
                // that a merge has made since.
                if (shortcuts && row.failedSheet == sheetIndex
                    && (row.failedAt == m_merged.size() || !mergedSinceMayHold(row, row.failedAt))) {
                    row.failedAt = m_merged.size();
                    continue;
                }
                bool scored = false;  // m_score holds this row's scores
                int known = -1;       // entry that is sure to win the next choice, if any
                while (row.left > 0) {
                    // Right after a change the scan itself is the cheapest
                    // test; the bounds of the free sizes are refreshed only
                    // when a row finds no room, for the rows that follow.
                    Choice c;
                    if (!shortcuts) {
                        c = choose(row);
                    } else if (scored) {
                        c = known >= 0 ? scoredChoice(row, known) : bestScored(row);
                    } else {
                        if (m_extentStale)
                            refreshExtent();
                        if (extentMayHold(row)) {
                            c = choosePositive(row);
                            scored = true;
                        }
                    }
                    if (c.index < 0) {
                        row.failedSheet = sheetIndex;
                        row.failedAt = m_merged.size();
                        break;
                    }

                    Rect& e = m_free[static_cast<size_t>(c.index)];
                    const Rect r0 = e;
                    PartSlot& slot = out.slots[static_cast<size_t>(row.nextSlot)];
                    slot.tnb = sheet.tnb;
                    slot.x = r0.x;
                    slot.y = r0.y;
                    slot.x1 = r0.x + c.w;
                    slot.y1 = r0.y + c.h;
                    slot.rot = c.rot;
                    ++row.nextSlot;
                    --row.left;
                    ++placed;
                    idle = false;
                    area += static_cast<std::uint32_t>(c.w) * static_cast<std::uint32_t>(c.h);
                    cut += static_cast<std::uint32_t>(c.w) + static_cast<std::uint32_t>(c.h);

                    int dir = attempt == 0 ? 1 : 0;
                    if (attempt >= 2)
                        dir = rng.next() % 10 > 5 ? 1 : 0;
                    const std::int32_t rx = slot.x1;
                    const std::int32_t ry = slot.y1;
                    // The rest of the rectangle: what stays in its entry and,
                    // when the part leaves room both ways, a new entry.
                    Rect kept;
                    Rect added;
                    const bool split = rx < r0.x1 && ry < r0.y1;
                    if (split) {
                        if (dir == 1) {
                            kept = Rect{rx, r0.y, r0.x1, ry};
                            added = Rect{r0.x, ry, r0.x1, r0.y1};
                        } else {
                            kept = Rect{rx, r0.y, r0.x1, r0.y1};
                            added = Rect{r0.x, ry, rx, r0.y1};
                        }
                    } else if (rx < r0.x1) {
                        kept = Rect{rx, r0.y, r0.x1, r0.y1};
                    } else if (ry < r0.y1) {
                        kept = Rect{r0.x, ry, r0.x1, r0.y1};
                    } else {
                        ++m_deleted;
                    }
                    e = kept;
                    if (split) {
                        m_free.push_back(added);
                        ++m_last;
                    }
                    if (!m_extentStale) {
                        m_extent[static_cast<size_t>(c.index)] = dimsOf(kept.x1 - kept.x, kept.y1 - kept.y);
                        if (split)
                            m_extent.push_back(dimsOf(added.x1 - added.x, added.y1 - added.y));
                    }
                    m_mergeMayChange = true;
                    if (scored) {
                        // Only these two entries changed; the scores are
                        // taken from the sizes at hand.
                        const auto len = static_cast<std::int32_t>(row.len);
                        const auto wid = static_cast<std::int32_t>(row.wid);
                        if (split) {
                            std::uint8_t rot = 0;
                            m_score.push_back(
                                positiveScore(added.x1 - added.x, added.y1 - added.y, len, wid, row.unlocked, rot));
                            m_scoreRot.push_back(rot);
                        }
                        const auto u = static_cast<size_t>(c.index);
                        const std::int32_t before = m_score[u];
                        const std::int32_t keptScore = positiveScore(kept.x1 - kept.x, kept.y1 - kept.y, len, wid,
                                                                     row.unlocked, m_scoreRot[u]);
                        m_score[u] = keptScore;
                        // Every other entry scores at least `before`, and
                        // those that score just that lie after this one: a
                        // changed entry that does no worse wins without a
                        // scan (the new entry, last in the table, only when
                        // it does strictly better than all).
                        known = -1;
                        const std::int32_t addedScore = split ? m_score.back() : kNoFit32;
                        if (keptScore <= before && keptScore <= addedScore)
                            known = c.index;
                        else if (addedScore < before && addedScore < keptScore)
                            known = static_cast<int>(m_score.size()) - 1;
                    }
                }
            }
            if (!idle)
                std::erase_if(m_rows, [](const RowState& r) { return r.left == 0; });
            const size_t mergedBefore = m_merged.size();
            mergeFreeRects();
            // Every row left has just found no room; if the merge made no
            // larger rectangle, the next pass would place nothing and leave
            // the table as it is.
            if (shortcuts && m_merged.size() == mergedBefore)
                break;
        } while (!idle);

        // A table that never grew past one entry leaves no offcut: the strip
        // that remains is the rest of the stock sheet, not a piece cut off.
        if (m_last > 0) {
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
        if (to - from > 1 && !GuillotineSeparableInPlace(all.subspan(from, to - from)))
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
    // plan the saw cannot cut. In the second round of RunAll such an attempt
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

void AutoEngine::RunAll(Rand31& rng, int threads, const std::function<void(int)>& afterAttempt)
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
