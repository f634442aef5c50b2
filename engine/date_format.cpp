#include "engine/date_format.h"

#include <array>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace engine {

namespace {

constexpr std::array<const char*, 12> kMonthShort = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::array<const char*, 12> kMonthLong = {"January", "February", "March",     "April",
                                                    "May",     "June",     "July",      "August",
                                                    "September", "October", "November", "December"};
constexpr std::array<const char*, 7> kDayShort = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr std::array<const char*, 7> kDayLong = {"Sunday", "Monday", "Tuesday", "Wednesday",
                                                 "Thursday", "Friday", "Saturday"};

std::string twoDigits(int v)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", v);
    return buf;
}

char lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

size_t index(int v, size_t n) { return static_cast<size_t>(((v % static_cast<int>(n)) + static_cast<int>(n)) % static_cast<int>(n)); }

} // namespace

std::string FormatDateTime(std::string_view f, const std::tm& when)
{
    std::string out;
    size_t i = 0;
    char lastLetter = 0;  // the last format letter taken, lower case
    const auto run = [&](char c) {
        size_t n = 0;
        while (i + n < f.size() && lower(f[i + n]) == c)
            ++n;
        return n;
    };
    while (i < f.size()) {
        const char raw = f[i];
        char c = lower(raw);
        if (raw == '\'' || raw == '"') {
            ++i;
            while (i < f.size() && f[i] != raw)
                out += f[i++];
            ++i;
            continue;
        }
        if (c == 'm' && lastLetter == 'h')
            c = 'n';
        if (c >= 'a' && c <= 'z')
            lastLetter = c;
        switch (c) {
        case 'd': {
            const size_t n = run('d');
            if (n == 1)
                out += std::to_string(when.tm_mday);
            else if (n == 2)
                out += twoDigits(when.tm_mday);
            else if (n == 3)
                out += kDayShort[index(when.tm_wday, 7)];
            else
                out += kDayLong[index(when.tm_wday, 7)];
            i += n;
            break;
        }
        case 'm': {
            const size_t n = run('m');
            if (n == 1)
                out += std::to_string(when.tm_mon + 1);
            else if (n == 2)
                out += twoDigits(when.tm_mon + 1);
            else if (n == 3)
                out += kMonthShort[index(when.tm_mon, 12)];
            else
                out += kMonthLong[index(when.tm_mon, 12)];
            i += n;
            break;
        }
        case 'n': {
            // "m" taken as the minute, or "n" itself.
            const size_t n = run(lower(raw));
            out += n == 1 ? std::to_string(when.tm_min) : twoDigits(when.tm_min);
            i += n;
            break;
        }
        case 'y': {
            const size_t n = run('y');
            const int year = when.tm_year + 1900;
            out += n <= 2 ? twoDigits(year % 100) : std::to_string(year);
            i += n;
            break;
        }
        case 'h': {
            const size_t n = run('h');
            out += n == 1 ? std::to_string(when.tm_hour) : twoDigits(when.tm_hour);
            i += n;
            break;
        }
        case 's': {
            const size_t n = run('s');
            out += n == 1 ? std::to_string(when.tm_sec) : twoDigits(when.tm_sec);
            i += n;
            break;
        }
        case 't': {
            const size_t n = run('t');
            out += twoDigits(when.tm_hour) + ":" + twoDigits(when.tm_min);
            if (n >= 2)
                out += ":" + twoDigits(when.tm_sec);
            i += n;
            break;
        }
        case 'c':
            out += FormatDateTime("dd/mm/yyyy", when) + " " + FormatDateTime("hh:nn:ss", when);
            ++i;
            break;
        default:
            out += raw;
            ++i;
            break;
        }
    }
    return out;
}

std::tm printTime()
{
    std::tm out{};
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch && *epoch) {
        errno = 0;
        char* end = nullptr;
        const long long v = std::strtoll(epoch, &end, 10);
        if (errno == 0 && end && *end == '\0' && v >= 0) {
            const std::time_t t = static_cast<std::time_t>(v);
            gmtime_r(&t, &out);
            return out;
        }
    }
    const std::time_t now = std::time(nullptr);
    localtime_r(&now, &out);
    return out;
}

} // namespace engine
