#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace engine {

// A piece on a sheet, corners (x, y) and (x1, y1).
struct CutRect {
    std::int64_t x = 0;
    std::int64_t y = 0;
    std::int64_t x1 = 0;
    std::int64_t y1 = 0;
};

// Whether a panel saw can free every piece: the pieces must fall apart under
// a sequence of straight cuts, each running right across the piece of board
// it is made in. Pieces must not overlap. Reorders the pieces.
[[nodiscard]] bool isGuillotineSeparableInPlace(std::span<CutRect> rects);

// The same on a copy.
[[nodiscard]] inline bool isGuillotineSeparable(std::vector<CutRect> rects)
{
    return isGuillotineSeparableInPlace(rects);
}

} // namespace engine
