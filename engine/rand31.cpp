#include "engine/rand31.h"

namespace engine {

void Rand31::jump(std::uint64_t n)
{
    // n steps of x -> m x + c compose into x -> M x + C; square the step map
    // (m, c) -> (m^2, m c + c) for each bit of n.
    std::uint64_t mulAcc = 1;
    std::uint64_t addAcc = 0;
    std::uint64_t mul = kMultiplier;
    std::uint64_t add = kIncrement;
    while (n > 0) {
        if (n & 1U) {
            mulAcc *= mul;
            addAcc = addAcc * mul + add;
        }
        add = (mul + 1) * add;
        mul *= mul;
        n >>= 1U;
    }
    m_state = mulAcc * m_state + addAcc;
}

Rand31& programRand31()
{
    static Rand31 generator;
    return generator;
}

} // namespace engine
