#include "engine/sheet_fill.h"

#include <algorithm>
#include <limits>

namespace engine::detail {

void SheetFiller::place(const FillRect& piece, std::int32_t item, std::int32_t pw, std::int32_t ph, bool turned,
                        const FillPolicy& policy, DeepRng& rng, SheetFill& out)
{
    const FillRect part{piece.x, piece.y, piece.x + pw, piece.y + ph};
    out.placed.push_back(FillPlacement{item, part, turned});
    out.area += part.area();
    --m_left[static_cast<std::size_t>(item)];

    const std::int64_t restW = piece.x1 - part.x1;
    const std::int64_t restH = piece.y1 - part.y1;
    const std::int64_t pieceW = piece.x1 - piece.x;
    const std::int64_t pieceH = piece.y1 - piece.y;
    // Across: the first cut runs along x above the part, the strip above
    // keeps the piece's whole width. Along: the first cut runs along y right
    // of the part, the strip to the right keeps the whole height.
    bool across = false;
    switch (policy.split) {
    case 0:
        across = std::max(restW * ph, pieceW * restH) > std::max(restW * pieceH, pw * restH);
        break;
    case 1:
        across = restW < restH;
        break;
    default:
        across = (rng.next() & 1U) != 0;
        break;
    }
    FillRect right;
    FillRect top;
    if (across) {
        right = FillRect{part.x1, piece.y, piece.x1, part.y1};
        top = FillRect{piece.x, part.y1, piece.x1, piece.y1};
    } else {
        right = FillRect{part.x1, piece.y, piece.x1, piece.y1};
        top = FillRect{piece.x, part.y1, part.x1, piece.y1};
    }
    // The smaller piece last: the piece made last is the next one filled.
    if (right.area() < top.area())
        std::swap(right, top);
    if (right.x1 > right.x && right.y1 > right.y)
        m_free.push_back(right);
    if (top.x1 > top.x && top.y1 > top.y)
        m_free.push_back(top);
}

void SheetFiller::fill(std::int32_t w, std::int32_t h, std::span<const FillItem> items, std::span<const double> value,
                       std::span<const std::int32_t> avail, const FillPolicy& policy, DeepRng& rng, SheetFill& out)
{
    out.placed.clear();
    out.leftover.clear();
    out.value = 0;
    out.area = 0;
    m_free.clear();
    if (w <= 0 || h <= 0)
        return;
    m_free.push_back(FillRect{0, 0, w, h});
    m_left.assign(avail.begin(), avail.end());
    m_score.assign(items.size(), 0.0);
    m_order.clear();
    std::int32_t minW = std::numeric_limits<std::int32_t>::max();
    std::int32_t minH = minW;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (m_left[i] <= 0)
            continue;
        const double spread = policy.noise > 0 ? 1.0 + policy.noise * (2.0 * rng.uniform() - 1.0) : 1.0;
        m_score[i] = value[i] * spread;
        m_order.push_back(static_cast<std::int32_t>(i));
        const FillItem& it = items[i];
        minW = std::min(minW, it.turnable ? std::min(it.len, it.wid) : it.len);
        minH = std::min(minH, it.turnable ? std::min(it.len, it.wid) : it.wid);
    }
    // Most valuable first; equal values keep the row order.
    std::stable_sort(m_order.begin(), m_order.end(), [&](std::int32_t a, std::int32_t b) {
        return m_score[static_cast<std::size_t>(a)] > m_score[static_cast<std::size_t>(b)];
    });

    if (policy.pieceDriven) {
        while (!m_free.empty()) {
            std::size_t pick = m_free.size() - 1;
            if (policy.smallestPieceFirst) {
                for (std::size_t j = 0; j + 1 < m_free.size(); ++j)
                    if (m_free[j].area() < m_free[pick].area())
                        pick = j;
            }
            const FillRect piece = m_free[pick];
            m_free[pick] = m_free.back();
            m_free.pop_back();
            const std::int32_t pw = piece.x1 - piece.x;
            const std::int32_t ph = piece.y1 - piece.y;
            if (pw < minW || ph < minH) {
                out.leftover.push_back(piece);
                continue;
            }
            std::int32_t best = -1;
            bool bestTurned = false;
            double bestScore = -1;
            for (const std::int32_t i : m_order) {
                if (m_left[static_cast<std::size_t>(i)] <= 0)
                    continue;
                ++m_work;
                const FillItem& it = items[static_cast<std::size_t>(i)];
                const double base = m_score[static_cast<std::size_t>(i)];
                if (it.len <= pw && it.wid <= ph) {
                    const double s = base * (1.0 + policy.exactBonus * ((it.len == pw ? 1 : 0) + (it.wid == ph ? 1 : 0)));
                    if (s > bestScore) {
                        bestScore = s;
                        best = i;
                        bestTurned = false;
                    }
                }
                if (it.turnable && it.len != it.wid && it.wid <= pw && it.len <= ph) {
                    const double s = base * (1.0 + policy.exactBonus * ((it.wid == pw ? 1 : 0) + (it.len == ph ? 1 : 0)));
                    if (s > bestScore) {
                        bestScore = s;
                        best = i;
                        bestTurned = true;
                    }
                }
            }
            if (best < 0) {
                out.leftover.push_back(piece);
                continue;
            }
            const FillItem& it = items[static_cast<std::size_t>(best)];
            out.value += value[static_cast<std::size_t>(best)];
            place(piece, best, bestTurned ? it.wid : it.len, bestTurned ? it.len : it.wid, bestTurned, policy, rng,
                  out);
        }
        return;
    }

    for (const std::int32_t i : m_order) {
        const FillItem& it = items[static_cast<std::size_t>(i)];
        while (m_left[static_cast<std::size_t>(i)] > 0) {
            int bestJ = -1;
            bool bestTurned = false;
            std::int64_t bestShort = std::numeric_limits<std::int64_t>::max();
            std::int64_t bestArea = bestShort;
            for (std::size_t j = 0; j < m_free.size(); ++j) {
                ++m_work;
                const FillRect& r = m_free[j];
                const std::int32_t rw = r.x1 - r.x;
                const std::int32_t rh = r.y1 - r.y;
                const auto consider = [&](std::int32_t pw, std::int32_t ph, bool turned) {
                    if (pw > rw || ph > rh)
                        return;
                    const std::int64_t shortSide = std::min(rw - pw, rh - ph);
                    const std::int64_t area = r.area();
                    if (shortSide < bestShort || (shortSide == bestShort && area < bestArea)) {
                        bestShort = shortSide;
                        bestArea = area;
                        bestJ = static_cast<int>(j);
                        bestTurned = turned;
                    }
                };
                consider(it.len, it.wid, false);
                if (it.turnable && it.len != it.wid)
                    consider(it.wid, it.len, true);
            }
            if (bestJ < 0)
                break;  // the other parts of this row are no smaller
            const FillRect piece = m_free[static_cast<std::size_t>(bestJ)];
            m_free.erase(m_free.begin() + bestJ);
            out.value += value[static_cast<std::size_t>(i)];
            place(piece, i, bestTurned ? it.wid : it.len, bestTurned ? it.len : it.wid, bestTurned, policy, rng, out);
        }
    }
    out.leftover.insert(out.leftover.end(), m_free.begin(), m_free.end());
}

} // namespace engine::detail
