#include "engine/format_float.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "engine/units.h"

namespace engine {

namespace {

struct Picture {
    int minIntDigits = 0;   // '0's from the first '0' before the point
    int minDecimals = 0;    // decimals up to the last '0' after the point
    int maxDecimals = 0;    // '0' and '#' after the point
    bool thousands = false;
    std::string prefix;     // literal text before the first digit placeholder
    std::string suffix;     // literal text after the last one
};

Picture parsePicture(std::string_view pic)
{
    Picture p;
    const size_t first = pic.find_first_of("0#.,");
    const size_t last = pic.find_last_of("0#.,");
    if (first == std::string_view::npos) {
        p.prefix = std::string(pic);
        return p;
    }
    p.prefix = std::string(pic.substr(0, first));
    p.suffix = std::string(pic.substr(last + 1));
    const std::string_view body = pic.substr(first, last - first + 1);
    const size_t point = body.find('.');
    const std::string_view intPart = body.substr(0, point);
    const size_t firstZero = intPart.find('0');
    if (firstZero != std::string_view::npos)
        for (size_t i = firstZero; i < intPart.size(); ++i)
            if (intPart[i] == '0' || intPart[i] == '#')
                ++p.minIntDigits;
    p.thousands = intPart.find(',') != std::string_view::npos;
    if (point != std::string_view::npos) {
        const std::string_view dec = body.substr(point + 1);
        for (size_t i = 0; i < dec.size(); ++i) {
            if (dec[i] == '0' || dec[i] == '#')
                ++p.maxDecimals;
            if (dec[i] == '0')
                p.minDecimals = p.maxDecimals;
        }
    }
    return p;
}

// The value's decimal digits rounded to `decimals` places, as integer and
// fraction digit strings. The value is first taken to 15 significant digits:
// a product such as 2.5 x 4.21 is 10.524999... in binary but was always shown
// as 10.53, because the figures were rounded from their decimal form.
void roundedDigits(double value, int decimals, std::string& intDigits, std::string& fracDigits)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
    std::string mant;
    const char* c = buf;
    for (; *c && *c != 'e'; ++c)
        if (*c != '.')
            mant.push_back(*c);
    const int exponent = std::atoi(c + 1);
    // digits as a fixed-point string: position of the point = exponent + 1
    std::string all;
    int pointPos = exponent + 1;
    if (pointPos <= 0) {
        all = std::string(static_cast<size_t>(-pointPos), '0') + mant;
        pointPos = 0;
    } else {
        all = mant;
        if (static_cast<int>(all.size()) < pointPos)
            all.append(static_cast<size_t>(pointPos - static_cast<int>(all.size())), '0');
    }
    const size_t keep = static_cast<size_t>(pointPos + decimals);
    if (all.size() < keep + 1)
        all.append(keep + 1 - all.size(), '0');
    const bool up = all[keep] >= '5';
    std::string kept = all.substr(0, keep);
    if (up) {
        int i = static_cast<int>(kept.size()) - 1;
        for (; i >= 0; --i) {
            if (kept[static_cast<size_t>(i)] == '9') {
                kept[static_cast<size_t>(i)] = '0';
            } else {
                ++kept[static_cast<size_t>(i)];
                break;
            }
        }
        if (i < 0) {
            kept.insert(kept.begin(), '1');
            ++pointPos;
        }
    }
    intDigits = kept.substr(0, static_cast<size_t>(pointPos));
    fracDigits = kept.substr(static_cast<size_t>(pointPos));
    const size_t nz = intDigits.find_first_not_of('0');
    intDigits = nz == std::string::npos ? std::string() : intDigits.substr(nz);
}

} // namespace

std::string formatFloat(std::string_view picture, double value)
{
    const Picture p = parsePicture(picture);
    if (!std::isfinite(value))
        return std::isnan(value) ? "NAN" : (value > 0 ? "INF" : "-INF");

    std::string intDigits;
    std::string fracDigits;
    roundedDigits(value, p.maxDecimals, intDigits, fracDigits);
    while (static_cast<int>(fracDigits.size()) > p.minDecimals && !fracDigits.empty() && fracDigits.back() == '0')
        fracDigits.pop_back();
    if (static_cast<int>(intDigits.size()) < p.minIntDigits)
        intDigits.insert(0, static_cast<size_t>(p.minIntDigits) - intDigits.size(), '0');
    if (p.thousands && intDigits.size() > 3) {
        std::string grouped;
        const size_t n = intDigits.size();
        for (size_t i = 0; i < n; ++i) {
            if (i > 0 && (n - i) % 3 == 0)
                grouped += ',';
            grouped += intDigits[i];
        }
        intDigits = grouped;
    }
    const bool isZero = intDigits.find_first_not_of("0,") == std::string::npos &&
                        fracDigits.find_first_not_of('0') == std::string::npos;
    std::string out = p.prefix;
    if (value < 0 && !isZero)
        out += '-';
    out += intDigits;
    if (!fracDigits.empty()) {
        out += '.';
        out += fracDigits;
    }
    out += p.suffix;
    return out;
}

std::string shortestFloatText(float value)
{
    if (!std::isfinite(value))
        return std::isnan(value) ? "NAN" : (value > 0 ? "INF" : "-INF");
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    if (ec != std::errc())
        return formatGeneral(static_cast<double>(value));
    return std::string(buf, end);
}

} // namespace engine
