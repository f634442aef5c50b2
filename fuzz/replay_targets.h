#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace fuzz {

// A fuzz target as the replay program calls it.
struct ReplayTarget {
    const char* name;
    int (*run)(const std::uint8_t* data, std::size_t size);
};

// Every target of fuzz/targets.cmake (generated with the test build).
const std::vector<ReplayTarget>& replayTargets();

} // namespace fuzz
