#include "engine/guillotine.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace engine {

CutWalk walkCuts(std::span<CutRect> rects)
{
    CutWalk walk;
    // Ranges of `rects` still to be cut apart, worked off a list instead of
    // by recursion (a deep cut tree must not exhaust the stack) and in place.
    std::vector<std::pair<std::size_t, std::size_t>> pending;
    pending.emplace_back(0, rects.size());
    while (!pending.empty()) {
        const auto [from, to] = pending.back();
        pending.pop_back();
        if (to - from <= 1)
            continue;
        const std::span<CutRect> group = rects.subspan(from, to - from);
        // A cut along x = c is possible when no piece straddles c; the
        // candidates are the pieces' edges. All the cuts possible along one
        // axis are made at once: each part is a subset, and a subset of a
        // separable set is separable.
        bool cut = false;
        for (int axis = 0; axis < 2 && !cut; ++axis) {
            const auto lo = [axis](const CutRect& r) { return axis == 0 ? r.x : r.y; };
            const auto hi = [axis](const CutRect& r) { return axis == 0 ? r.x1 : r.y1; };
            std::sort(group.begin(), group.end(), [&](const CutRect& a, const CutRect& b) {
                return lo(a) != lo(b) ? lo(a) < lo(b) : hi(a) < hi(b);
            });
            std::size_t start = 0;
            std::int64_t reach = hi(group[0]);
            for (std::size_t k = 1; k <= group.size(); ++k) {
                if (k == group.size() || lo(group[k]) >= reach) {
                    if (start == 0 && k == group.size())
                        break;  // no cut along this axis
                    if (k < group.size())
                        ++walk.cuts;
                    pending.emplace_back(from + start, from + k);
                    cut = true;
                    start = k;
                }
                if (k < group.size())
                    reach = std::max(reach, hi(group[k]));
            }
        }
        if (!cut) {
            walk.separable = false;
            walk.cuts += static_cast<std::int64_t>(group.size());
        }
    }
    return walk;
}

bool isGuillotineSeparableInPlace(std::span<CutRect> rects)
{
    return walkCuts(rects).separable;
}

} // namespace engine
