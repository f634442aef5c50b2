#include "engine/sheet_fill.h"

#include <algorithm>
#include <limits>
#include <numeric>

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
    case 3:
        // A part as wide as the piece leaves a strip above it, one as high
        // as the piece a strip beside it: cut so the strip is whole.
        if (pw == pieceW || ph == pieceH) {
            across = pw == pieceW;
            break;
        }
        [[fallthrough]];
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

void SheetFiller::fillPieces(std::span<const FillItem> items, std::span<const double> value, const FillPolicy& policy,
                             DeepRng& rng, SheetFill& out)
{
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
        if (pw < m_minW || ph < m_minH) {
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
}

void SheetFiller::fillBeam(std::int32_t w, std::int32_t h, std::span<const FillItem> items,
                           std::span<const double> value, const FillPolicy& policy, SheetFill& out)
{
    double partValue = 0;
    double partArea = 0;
    for (const std::int32_t i : m_order) {
        const auto k = static_cast<std::size_t>(i);
        partValue += value[k] * m_left[k];
        partArea += static_cast<double>(items[k].len) * items[k].wid * m_left[k];
    }
    const double density = partArea > 0 ? partValue / partArea : 0;
    const auto freeArea = [](const BeamState& s) {
        std::int64_t a = 0;
        for (const FillRect& r : s.free)
            a += r.area();
        return a;
    };
    // The states live in two arrays that are reused from fill to fill
    // (states are swapped and copied into kept storage, never freed), with
    // the number in use beside each.
    const std::size_t width = static_cast<std::size_t>(std::max(1, policy.beamWidth));
    if (m_beam.size() < width)
        m_beam.resize(width);
    std::size_t beamN = 1;
    {
        BeamState& s0 = m_beam[0];
        s0.free.assign(1, FillRect{0, 0, w, h});
        s0.placed.clear();
        s0.waste.clear();
        s0.left = m_left;
        s0.value = 0;
        s0.area = 0;
        s0.score = 0;
    }
    const auto nextSlot = [&](std::size_t& nextN) -> BeamState& {
        if (nextN == m_next.size())
            m_next.emplace_back();
        return m_next[nextN++];
    };
    using Cand = BeamCand;
    std::vector<Cand>& cands = m_cands;
    for (;;) {
        bool open = false;
        std::size_t nextN = 0;
        for (std::size_t b = 0; b < beamN; ++b) {
            BeamState& s = m_beam[b];
            if (s.free.empty()) {
                std::swap(nextSlot(nextN), s);
                continue;
            }
            open = true;
            std::size_t pick = s.free.size() - 1;
            if (policy.smallestPieceFirst)
                for (std::size_t j = 0; j + 1 < s.free.size(); ++j)
                    if (s.free[j].area() < s.free[pick].area())
                        pick = j;
            const FillRect piece = s.free[pick];
            s.free[pick] = s.free.back();
            s.free.pop_back();
            const std::int32_t pw = piece.x1 - piece.x;
            const std::int32_t ph = piece.y1 - piece.y;
            cands.clear();
            if (pw >= m_minW && ph >= m_minH) {
                for (const std::int32_t i : m_order) {
                    if (s.left[static_cast<std::size_t>(i)] <= 0)
                        continue;
                    ++m_work;
                    const FillItem& it = items[static_cast<std::size_t>(i)];
                    const double base = m_score[static_cast<std::size_t>(i)];
                    if (it.len <= pw && it.wid <= ph)
                        cands.push_back(Cand{i, false, base * (1.0 + policy.exactBonus * ((it.len == pw ? 1 : 0) + (it.wid == ph ? 1 : 0)))});
                    if (it.turnable && it.len != it.wid && it.wid <= pw && it.len <= ph)
                        cands.push_back(Cand{i, true, base * (1.0 + policy.exactBonus * ((it.wid == pw ? 1 : 0) + (it.len == ph ? 1 : 0)))});
                }
            }
            if (cands.empty()) {
                s.waste.push_back(piece);
                s.score = s.value + density * static_cast<double>(freeArea(s));
                std::swap(nextSlot(nextN), s);
                continue;
            }
            const std::size_t keep = std::min<std::size_t>(cands.size(), static_cast<std::size_t>(std::max(1, policy.beamBranch)));
            std::partial_sort(cands.begin(), cands.begin() + static_cast<std::ptrdiff_t>(keep), cands.end(),
                              [](const Cand& a, const Cand& b) {
                                  return a.score != b.score ? a.score > b.score : (a.item != b.item ? a.item < b.item : a.turned < b.turned);
                              });
            for (std::size_t c = 0; c < keep; ++c) {
                const FillItem& it = items[static_cast<std::size_t>(cands[c].item)];
                const std::int32_t qw = cands[c].turned ? it.wid : it.len;
                const std::int32_t qh = cands[c].turned ? it.len : it.wid;
                const bool oneCut = qw == pw || qh == ph;
                for (int across = 0; across < (oneCut ? 1 : 2); ++across) {
                    BeamState& child = nextSlot(nextN);
                    child = s;  // reuses the child's storage
                    // Copying a state is work too.
                    m_work += 1 + (child.placed.size() + child.free.size() + child.left.size()) / 8;
                    const FillRect part{piece.x, piece.y, piece.x + qw, piece.y + qh};
                    child.placed.push_back(FillPlacement{cands[c].item, part, cands[c].turned});
                    child.area += part.area();
                    child.value += value[static_cast<std::size_t>(cands[c].item)];
                    --child.left[static_cast<std::size_t>(cands[c].item)];
                    const bool cutAcross = oneCut ? qw == pw : across == 1;
                    FillRect right = cutAcross ? FillRect{part.x1, piece.y, piece.x1, part.y1}
                                               : FillRect{part.x1, piece.y, piece.x1, piece.y1};
                    FillRect top = cutAcross ? FillRect{piece.x, part.y1, piece.x1, piece.y1}
                                             : FillRect{piece.x, part.y1, part.x1, piece.y1};
                    if (right.area() < top.area())
                        std::swap(right, top);
                    if (right.x1 > right.x && right.y1 > right.y)
                        child.free.push_back(right);
                    if (top.x1 > top.x && top.y1 > top.y)
                        child.free.push_back(top);
                    child.score = child.value + density * static_cast<double>(freeArea(child));
                }
            }
        }
        // The most promising states go on (ties in the order made).
        m_rank.resize(nextN);
        std::iota(m_rank.begin(), m_rank.end(), std::size_t{0});
        const std::size_t kept = std::min(width, nextN);
        if (nextN > width)
            std::stable_sort(m_rank.begin(), m_rank.end(),
                             [&](std::size_t a, std::size_t b) { return m_next[a].score > m_next[b].score; });
        for (std::size_t r = 0; r < kept; ++r)
            std::swap(m_beam[r], m_next[m_rank[r]]);
        beamN = kept;
        if (!open)
            break;
    }
    const BeamState* best = nullptr;
    for (std::size_t b = 0; b < beamN; ++b)
        if (!best || m_beam[b].value > best->value)
            best = &m_beam[b];
    out.placed = best->placed;
    out.leftover = best->waste;
    out.value = best->value;
    out.area = best->area;
}

void SheetFiller::makeShelves(std::int32_t w, std::int32_t h, std::span<const FillItem> items,
                              std::span<const double> value, const FillPolicy& policy, SheetFill& out)
{
    m_free.clear();
    // Widths in knapsack units: the greatest common divisor of the sheet
    // width and the part sides, or a coarser unit (widths rounded up, so a
    // chosen strip always fits) when that would give more than 1000 units.
    std::int64_t g = w;
    for (const std::int32_t i : m_order) {
        g = std::gcd(g, static_cast<std::int64_t>(items[static_cast<std::size_t>(i)].len));
        g = std::gcd(g, static_cast<std::int64_t>(items[static_cast<std::size_t>(i)].wid));
    }
    std::int64_t q = std::max<std::int64_t>(g, 1);
    if (w / q > 1000)
        q = (w + 999) / 1000;
    const auto cap = static_cast<std::int32_t>(w / q);
    const auto stride = static_cast<std::size_t>(cap) + 1;
    std::int32_t y = 0;
    while (y < h) {
        const std::int32_t rest = h - y;
        // Strip heights: those of the most valuable parts left.
        m_heights.clear();
        for (const std::int32_t i : m_order) {
            if (m_left[static_cast<std::size_t>(i)] <= 0)
                continue;
            const FillItem& it = items[static_cast<std::size_t>(i)];
            const auto add = [&](std::int32_t a, std::int32_t b) {
                if (a <= w && b <= rest && std::find(m_heights.begin(), m_heights.end(), b) == m_heights.end())
                    m_heights.push_back(b);
            };
            add(it.len, it.wid);
            if (it.turnable)
                add(it.wid, it.len);
            if (static_cast<int>(m_heights.size()) >= policy.shelfHeights)
                break;
        }
        double bestDensity = -1;
        std::int32_t bestH = 0;
        m_shelf.clear();
        for (const std::int32_t hs : m_heights) {
            m_copies.clear();
            for (const std::int32_t i : m_order) {
                const std::int32_t left = m_left[static_cast<std::size_t>(i)];
                if (left <= 0)
                    continue;
                const FillItem& it = items[static_cast<std::size_t>(i)];
                const bool asIs = it.len <= w && it.wid <= hs;
                const bool turn = it.turnable && it.wid <= w && it.len <= hs;
                if (!asIs && !turn)
                    continue;
                // The narrower way, when both are low enough.
                const bool turned = turn && (!asIs || it.wid < it.len);
                const std::int32_t pw = turned ? it.wid : it.len;
                const std::int32_t ph = turned ? it.len : it.wid;
                const auto units = static_cast<std::int32_t>((pw + q - 1) / q);
                if (units > cap || units <= 0)
                    continue;
                const std::int32_t n = std::min(left, cap / units);
                for (std::int32_t k = 0; k < n; ++k)
                    m_copies.push_back(Copy{i, pw, ph, turned, units});
            }
            if (m_copies.empty())
                continue;
            m_dp.assign(stride, 0.0);
            m_take.assign(m_copies.size() * stride, 0);
            for (std::size_t c = 0; c < m_copies.size(); ++c) {
                const Copy& cp = m_copies[c];
                const double v = m_score[static_cast<std::size_t>(cp.item)];
                for (std::int32_t x = cap; x >= cp.units; --x) {
                    const double with = m_dp[static_cast<std::size_t>(x - cp.units)] + v;
                    if (with > m_dp[static_cast<std::size_t>(x)]) {
                        m_dp[static_cast<std::size_t>(x)] = with;
                        m_take[c * stride + static_cast<std::size_t>(x)] = 1;
                    }
                }
            }
            m_work += m_copies.size() * stride;
            std::int32_t x = cap;
            std::int32_t height = 0;
            m_pick.clear();
            for (std::size_t c = m_copies.size(); c-- > 0;) {
                if (m_take[c * stride + static_cast<std::size_t>(x)]) {
                    m_pick.push_back(m_copies[c]);
                    height = std::max(height, m_copies[c].h);
                    x -= m_copies[c].units;
                }
            }
            if (m_pick.empty() || height <= 0)
                continue;
            const double density = m_dp[static_cast<std::size_t>(cap)] / height;
            if (density > bestDensity) {
                bestDensity = density;
                bestH = height;
                std::swap(m_shelf, m_pick);
            }
        }
        if (m_shelf.empty())
            break;
        std::stable_sort(m_shelf.begin(), m_shelf.end(), [](const Copy& a, const Copy& b) { return a.h > b.h; });
        std::int32_t x = 0;
        for (const Copy& cp : m_shelf) {
            const FillRect part{x, y, x + cp.w, y + cp.h};
            out.placed.push_back(FillPlacement{cp.item, part, cp.turned});
            out.area += part.area();
            out.value += value[static_cast<std::size_t>(cp.item)];
            --m_left[static_cast<std::size_t>(cp.item)];
            if (cp.h < bestH)
                m_free.push_back(FillRect{x, y + cp.h, x + cp.w, y + bestH});
            x += cp.w;
        }
        if (x < w)
            m_free.push_back(FillRect{x, y, w, y + bestH});
        y += bestH;
    }
    if (y < h)
        m_free.push_back(FillRect{0, y, w, h});
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

    m_minW = minW;
    m_minH = minH;
    if (policy.beamWidth > 0) {
        fillBeam(w, h, items, value, policy, out);
        return;
    }
    if (policy.shelves) {
        makeShelves(w, h, items, value, policy, out);
        fillPieces(items, value, policy, rng, out);
        return;
    }
    if (policy.pieceDriven) {
        fillPieces(items, value, policy, rng, out);
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
