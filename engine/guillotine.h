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

// How a saw frees the pieces: whether every piece falls free under straight
// cuts, and how many cuts that takes, each run right across the piece it is
// made in. Pieces that no cut separates any further count one cut each.
// Pieces must not overlap. Reorders the pieces.
struct CutWalk {
    bool separable = true;
    std::int64_t cuts = 0;
};
[[nodiscard]] CutWalk walkCuts(std::span<CutRect> rects);

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
