#pragma once

#include <cstdint>

namespace engine {

// The random source of the automatic optimisation: a 64-bit linear
// congruential generator, state = state * M + 1 (mod 2^64), returning bits
// 32..62 of the new state. The program keeps one (programRand31) for its
// whole run and never reseeds it, so the first run after start-up is
// reproducible and later runs continue the sequence. Tests make their own.
class Rand31 {
public:
    static constexpr std::uint64_t kMultiplier = 0x15A00004E35ULL;  // 346 * 2^32 + 20021
    static constexpr std::uint64_t kIncrement = 1;
    static constexpr std::uint64_t kStartState = 22695478;

    Rand31() = default;
    explicit Rand31(std::uint64_t state) : m_state(state) {}

    // Advances the state and returns a value in 0..2^31-1.
    std::int32_t next()
    {
        m_state = m_state * kMultiplier + kIncrement;
        return static_cast<std::int32_t>((m_state >> 32) & 0x7FFFFFFFULL);
    }

    // Advances the state by n steps in O(log n), as n calls of next() would.
    void jump(std::uint64_t n);

    // A copy advanced by n steps.
    [[nodiscard]] Rand31 jumped(std::uint64_t n) const
    {
        Rand31 r = *this;
        r.jump(n);
        return r;
    }

    [[nodiscard]] std::uint64_t state() const { return m_state; }
    bool operator==(const Rand31&) const = default;

private:
    std::uint64_t m_state = kStartState;
};

// The generator of this program run.
[[nodiscard]] Rand31& programRand31();

} // namespace engine
