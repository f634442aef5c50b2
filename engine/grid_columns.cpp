#include "engine/grid_columns.h"

#include <cstddef>

namespace engine {

namespace {

// Splits `width` by `weights`; the last column takes what rounding left.
std::vector<int> split(int width, const std::vector<int>& weights)
{
    long long total = 0;
    for (int w : weights)
        total += w;
    std::vector<int> out(weights.size(), 0);
    if (total <= 0 || width <= 0)
        return out;
    int used = 0;
    for (std::size_t i = 0; i + 1 < weights.size(); ++i) {
        out[i] = static_cast<int>(static_cast<long long>(width) * weights[i] / total);
        used += out[i];
    }
    out.back() = width - used;
    return out;
}

} // namespace

std::vector<int> partColumnWidths(int width, bool banding, const PartColumnNeeds& needs)
{
    if (!banding)
        return split(width, {30, 30, 10, 20, 10});
    if (width <= 0)
        return std::vector<int>(9, 0);
    const int fixed = 2 * needs.length + needs.quantity + needs.lock;
    const int rest = width - fixed;
    constexpr int kLabelWeight = 2;
    constexpr int kBandWeight = 4;
    constexpr int kShares = kLabelWeight + 4 * kBandWeight;
    if (rest * kBandWeight / kShares < needs.length) {
        const int l = needs.length > 0 ? needs.length : 1;
        return split(width, {l, l, needs.quantity, l, needs.lock, l, l, l, l});
    }
    std::vector<int> out{needs.length, needs.length, needs.quantity};
    const std::vector<int> shared =
        split(rest, {kLabelWeight, kBandWeight, kBandWeight, kBandWeight, kBandWeight});
    out.push_back(shared[0]);
    out.push_back(needs.lock);
    out.insert(out.end(), shared.begin() + 1, shared.end());
    return out;
}

} // namespace engine
