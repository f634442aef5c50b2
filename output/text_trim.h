#pragma once

#include <string>
#include <string_view>

namespace output {

// A cell's text without the spaces and tabs around it, as labels and list
// columns show it.
[[nodiscard]] inline std::string trimmed(std::string_view s)
{
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(" \t");
    return std::string(s.substr(first, last - first + 1));
}

} // namespace output
