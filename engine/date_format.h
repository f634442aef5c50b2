#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace engine {

// A date and time written in the style of the DateFormat setting, the one
// formatter for every printed or saved date. Letters are case-blind:
//   d dd ddd dddd   day (1, 01, Mon, Monday)
//   m mm mmm mmmm   month (1, 01, Jan, January); an m that follows an h (with
//                   only non-letters between, as in "hh:mm") is the minute
//   yy yyyy         year (26, 2026); a run of 1-2 y is two digits
//   h hh            hour of the day, 0-23
//   n nn            minute
//   s ss            second
//   t / tt          hh:nn / hh:nn:ss
//   c               the date as "dd/mm/yyyy" and the time as hh:nn:ss
//   'text' "text"   written as it stands
// Every other character is written as it stands.
[[nodiscard]] std::string FormatDateTime(std::string_view pattern, const std::tm& when);

// The current local time, or the moment given in the SOURCE_DATE_EPOCH
// environment variable (seconds since 1970, UTC), so that printouts made for
// comparison carry the same date.
[[nodiscard]] std::tm printTime();

} // namespace engine
