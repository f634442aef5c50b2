#pragma once

// A plain transcription of the automatic layout method, kept as the yardstick
// for engine::AutoEngine: every attempt stored, every unplaced part tested
// against the whole free table on every pass, no threads. Slow on purpose.

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "engine/project.h"
#include "engine/rand31.h"

namespace reference {

class AutoEngineReference {
public:
    struct Slot {
        std::int32_t len = 0, wid = 0, tnb = 0, x = 0, y = 0, x1 = 0, y1 = 0, rot = 0, enb = 0;
    };
    struct Cut {
        std::int32_t x = 0, y = 0, x1 = 0, y1 = 0, tnb = 0;
    };
    struct Attempt {
        std::vector<Slot> slots;
        std::vector<Cut> offcuts;
        std::int32_t sheetsUsed = 0;
        double fill = 0;
        std::int32_t cut = 0;
    };

    void Load(const std::vector<engine::PartDemand>& demand, const std::vector<engine::SheetInstance>& sheets,
              int kerf, int attempts)
    {
        m_n = attempts;
        m_kerf = kerf;
        m_attempts.assign(static_cast<size_t>(attempts), Attempt{});
        m_sheets = sheets;
        m_p = 0;
        for (const engine::PartDemand& d : demand) {
            for (std::int32_t i = 0; i < d.qty; ++i) {
                for (Attempt& at : m_attempts)
                    at.slots.push_back(Slot{d.len, d.wid, 0, 0, 0, 0, 0, d.lock, d.row});
                ++m_p;
            }
        }
    }

    void RunAttempt(int a, engine::Rand31& rng)
    {
        m_a = a;
        Attempt& at = m_attempts[static_cast<size_t>(a)];
        at.sheetsUsed = 0;
        at.fill = 0;
        at.cut = 0;
        for (Slot& s : at.slots)
            s.tnb = 0;
        m_placed = 0;
        at.offcuts.clear();
        m_free.clear();
        for (m_s = 0; m_s < static_cast<int>(m_sheets.size()) && m_placed != m_p; ++m_s) {
            const std::int32_t w = m_sheets[static_cast<size_t>(m_s)].len;
            const std::int32_t h = m_sheets[static_cast<size_t>(m_s)].wid;
            m_area = 0;
            m_free.assign(1, Free{0, 0, w, h, 1, 0, 0, 0});
            do {
                m_idle = true;
                for (int k = 0; k < m_p; ++k) {
                    if (at.slots[static_cast<size_t>(k)].tnb != 0)
                        continue;
                    FitTest(k);
                    if (m_fit)
                        PlacePart(k, rng);
                }
                MergeFreeRects();
            } while (!m_idle);
            CollectOffcuts();
            const std::uint32_t hundredth = static_cast<std::uint32_t>(w) * static_cast<std::uint32_t>(h) / 100U;
            at.fill = hundredth == 0 ? 0.0 : static_cast<double>(static_cast<std::int32_t>(m_area)) / hundredth;
            at.sheetsUsed += 1;
        }
    }

    // The choice as written; should it fall on an attempt whose parts the
    // saw cannot free, the choice runs again over those it can free (over
    // all when none can be freed).
    int ChooseBest() const
    {
        const int written = ChooseAmong(false);
        return Cuttable(m_attempts[static_cast<size_t>(written)]) ? written : ChooseAmong(true);
    }

    int ChooseAmong(bool cuttableOnly) const
    {
        std::vector<int> order;
        for (int a = 0; a < m_n; ++a)
            if (!cuttableOnly || Cuttable(m_attempts[static_cast<size_t>(a)]))
                order.push_back(a);
        if (order.empty())
            for (int a = 0; a < m_n; ++a)
                order.push_back(a);
        const Attempt& first = m_attempts[static_cast<size_t>(order[0])];
        float sheets = static_cast<float>(first.sheetsUsed);
        float fill = static_cast<float>(first.fill);
        float index = static_cast<float>(order[0]);
        float cut = 0;
        for (const int a : order) {
            const Attempt& at = m_attempts[static_cast<size_t>(a)];
            if (static_cast<double>(at.sheetsUsed) > static_cast<double>(sheets))
                continue;
            const auto take = [&] {
                sheets = static_cast<float>(at.sheetsUsed);
                fill = static_cast<float>(at.fill);
                index = static_cast<float>(a);
                cut = static_cast<float>(at.cut);
            };
            if (at.fill == static_cast<double>(fill) || static_cast<double>(at.cut) < static_cast<double>(cut))
                take();
            if (at.fill < static_cast<double>(fill))
                take();
        }
        return static_cast<int>(index);
    }

    // Every sheet's parts fall apart under cuts right across the board:
    // tries every part edge as a cut line.
    static bool Cuttable(const Attempt& at)
    {
        std::vector<std::int32_t> sheetsSeen;
        for (const Slot& s : at.slots)
            if (s.tnb != 0 && std::find(sheetsSeen.begin(), sheetsSeen.end(), s.tnb) == sheetsSeen.end())
                sheetsSeen.push_back(s.tnb);
        for (const std::int32_t tnb : sheetsSeen) {
            std::vector<Slot> parts;
            for (const Slot& s : at.slots)
                if (s.tnb == tnb && s.x1 > s.x && s.y1 > s.y)
                    parts.push_back(s);
            if (!Separable(parts))
                return false;
        }
        return true;
    }

    static bool Separable(const std::vector<Slot>& parts)
    {
        if (parts.size() <= 1)
            return true;
        for (int axis = 0; axis < 2; ++axis) {
            for (const Slot& edge : parts) {
                const std::int32_t c = axis == 0 ? edge.x1 : edge.y1;
                std::vector<Slot> before, after;
                bool straddles = false;
                for (const Slot& p : parts) {
                    const std::int32_t lo = axis == 0 ? p.x : p.y;
                    const std::int32_t hi = axis == 0 ? p.x1 : p.y1;
                    if (hi <= c)
                        before.push_back(p);
                    else if (lo >= c)
                        after.push_back(p);
                    else
                        straddles = true;
                }
                if (!straddles && !before.empty() && !after.empty())
                    return Separable(before) && Separable(after);
            }
        }
        return false;
    }

    const Attempt& attempt(int a) const { return m_attempts[static_cast<size_t>(a)]; }

private:
    static constexpr std::int64_t kNoFit = std::numeric_limits<std::int32_t>::max();

    struct Free {
        std::int32_t x = 0, y = 0, x1 = 0, y1 = 0;
        std::int64_t score = 0;
        std::int32_t pw = 0, ph = 0, rot = 0;
    };

    void FitTest(int k)
    {
        const Slot& slot = m_attempts[static_cast<size_t>(m_a)].slots[static_cast<size_t>(k)];
        const std::int64_t l = slot.len;
        const std::int64_t d = slot.wid;
        for (Free& e : m_free) {
            const std::int64_t rw = static_cast<std::int64_t>(e.x1) - e.x;
            const std::int64_t rh = static_cast<std::int64_t>(e.y1) - e.y;
            // Deleted entries are skipped; so are slivers without extent in
            // one direction, which no part of positive size fits anyway.
            if (rw <= 0 || rh <= 0)
                continue;
            e.score = kNoFit;
            const std::int64_t a = rw - l, b = rh - d, c = rw - d, dd = rh - l;
            bool fits = false;
            if (slot.rot == 1) {
                if (rw >= l && rh >= d) {
                    e.score = std::min(a, b);
                    e.pw = slot.len; e.ph = slot.wid; e.rot = 0;
                    fits = true;
                }
            } else if (slot.rot == 0) {
                const bool straight = rw >= l && rh >= d;
                const bool turned = rw >= d && rh >= l;
                if (straight && turned) {
                    if (std::min(a, b) <= std::min(c, dd)) {
                        e.score = std::min(a, b);
                        e.pw = slot.len; e.ph = slot.wid; e.rot = 0;
                    } else {
                        e.score = std::min(c, dd);
                        e.pw = slot.wid; e.ph = slot.len; e.rot = 1;
                    }
                    fits = true;
                } else if (straight) {
                    e.score = std::min(a, b);
                    e.pw = slot.len; e.ph = slot.wid; e.rot = 0;
                    fits = true;
                } else if (turned) {
                    e.score = std::min(c, dd);
                    e.pw = slot.wid; e.ph = slot.len; e.rot = 1;
                    fits = true;
                }
            }
            if (fits) {
                m_fit = true;
                m_idle = false;
            }
        }
    }

    int ChooseFreeRect() const
    {
        int best = -1;
        std::int64_t score = kNoFit;
        for (int j = 0; j < static_cast<int>(m_free.size()); ++j) {
            const Free& e = m_free[static_cast<size_t>(j)];
            if (e.x1 - e.x > 0 && e.y1 - e.y > 0 && e.score < score) {
                score = e.score;
                best = j;
            }
        }
        return best;
    }

    void PlacePart(int k, engine::Rand31& rng)
    {
        Attempt& at = m_attempts[static_cast<size_t>(m_a)];
        ++m_placed;
        m_fit = false;
        const int j = ChooseFreeRect();
        const Free f = m_free[static_cast<size_t>(j)];
        Slot& slot = at.slots[static_cast<size_t>(k)];
        slot.x = f.x;
        slot.y = f.y;
        slot.x1 = f.x + f.pw;
        slot.y1 = f.y + f.ph;
        slot.tnb = m_sheets[static_cast<size_t>(m_s)].tnb;
        slot.rot = f.rot;
        m_area += static_cast<std::uint32_t>(f.pw) * static_cast<std::uint32_t>(f.ph);
        at.cut = static_cast<std::int32_t>(static_cast<std::uint32_t>(at.cut) + static_cast<std::uint32_t>(f.pw)
                                           + static_cast<std::uint32_t>(f.ph));
        m_free[static_cast<size_t>(j)] = Free{};
        const std::int32_t v = rng.next();
        int dir = v % 10 > 5 ? 1 : 0;
        if (m_a == 0)
            dir = 1;
        if (m_a == 1)
            dir = 0;
        const std::int32_t rx = f.x + f.pw;
        const std::int32_t ry = f.y + f.ph;
        Free& e = m_free[static_cast<size_t>(j)];
        if (rx < f.x1 && ry < f.y1) {
            if (dir == 1) {
                e = Free{rx, f.y, f.x1, ry, kNoFit, 0, 0, 0};
                m_free.push_back(Free{f.x, ry, f.x1, f.y1, kNoFit, 0, 0, 0});
            } else {
                e = Free{rx, f.y, f.x1, f.y1, kNoFit, 0, 0, 0};
                m_free.push_back(Free{f.x, ry, rx, f.y1, kNoFit, 0, 0, 0});
            }
        } else if (rx < f.x1) {
            e = Free{rx, f.y, f.x1, f.y1, kNoFit, 0, 0, 0};
        } else if (ry < f.y1) {
            e = Free{f.x, ry, f.x1, f.y1, kNoFit, 0, 0, 0};
        }
    }

    void MergeFreeRects()
    {
        const int last = static_cast<int>(m_free.size()) - 1;
        if (last < 3)
            return;
        for (int q = 0; q <= last - 1; ++q) {
            const Free a = m_free[static_cast<size_t>(q)];
            if (static_cast<std::uint32_t>(a.x) + static_cast<std::uint32_t>(a.y) + static_cast<std::uint32_t>(a.x1)
                    + static_cast<std::uint32_t>(a.y1) == 0)
                continue;
            for (int s = q + 1; s <= last; ++s) {
                Free& b = m_free[static_cast<size_t>(s)];
                if ((a.y1 == b.y && a.x == b.x && a.x1 == b.x1) || (a.x1 == b.x && a.y == b.y && a.y1 == b.y1)) {
                    b.x = a.x;
                    b.y = a.y;
                    Free& z = m_free[static_cast<size_t>(q)];
                    z.x = z.y = z.x1 = z.y1 = 0;
                    break;
                }
            }
        }
    }

    void CollectOffcuts()
    {
        Attempt& at = m_attempts[static_cast<size_t>(m_a)];
        if (m_free.size() <= 1)
            return;
        for (const Free& e : m_free) {
            if (e.x1 - e.x > 0 && e.y1 - e.y > 0) {
                at.offcuts.push_back(Cut{e.x, e.y, e.x1, e.y1, m_sheets[static_cast<size_t>(m_s)].tnb});
                at.cut = static_cast<std::int32_t>(static_cast<std::uint32_t>(at.cut)
                                                   + static_cast<std::uint32_t>(e.x1 - e.x)
                                                   + static_cast<std::uint32_t>(e.y1 - e.y));
            }
        }
    }

    int m_n = 0;
    int m_kerf = 0;
    int m_p = 0;
    int m_a = 0;
    int m_s = 0;
    int m_placed = 0;
    std::uint32_t m_area = 0;
    bool m_fit = false;
    bool m_idle = true;
    std::vector<engine::SheetInstance> m_sheets;
    std::vector<Attempt> m_attempts;
    std::vector<Free> m_free;
};

} // namespace reference
