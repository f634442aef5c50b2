#pragma once

#include <string>
#include <string_view>

namespace engine {

// Formats a number with a picture such as "0.00", "00.00" or
// "###,###,###.00": '0' is a digit that is always written, '#' a digit
// written only when significant, '.' the decimal point (always "."), and a
// ',' anywhere before the point groups the integer digits in threes with ",".
// Rounds half away from zero. A picture without '0' before the point writes
// no integer digit for a value below 1 (".50"), as the archive always showed
// its grand total. Only these picture characters are understood; any other
// character is copied through.
[[nodiscard]] std::string formatFloat(std::string_view picture, double value);

// The shortest plain decimal text (no exponent) that reads back as the same
// single-precision value: 7.99f gives "7.99", not "7.9899998".
[[nodiscard]] std::string shortestFloatText(float value);

} // namespace engine
