#include "engine/units.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <vector>

namespace engine {

namespace {

constexpr double kAreaFactor[6] = {
    0.01, 0.0001, 1e-8, 1.0 / 64516.0, 1.0 / 9290304.0, 1.0 / 83612736.0,
};
constexpr int kAreaDecimals[6] = {2, 2, 3, 2, 2, 2};

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimBlanks(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Internal lengths are 32-bit; a typed value that does not fit is no length.
Length toLength(double rounded)
{
    if (!(rounded >= std::numeric_limits<Length>::min() && rounded <= std::numeric_limits<Length>::max()))
        return -1;
    return static_cast<Length>(rounded);
}

std::string intText(long long v) { return std::to_string(v); }

} // namespace

double RoundHalfUp(double x, int d)
{
    const double p = std::pow(10.0, d);
    return std::trunc(x / p + 0.5) * p;
}

bool parseDecimal(std::string_view text, double& out)
{
    std::string_view s = trimBlanks(text);
    if (s.empty())
        return false;
    size_t i = 0;
    if (s[i] == '+' || s[i] == '-')
        ++i;
    size_t digits = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
        ++i;
        ++digits;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            ++i;
        size_t expDigits = 0;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
            ++i;
            ++expDigits;
        }
        if (expDigits == 0)
            return false;
    }
    if (i != s.size())
        return false;
    const std::string copy(s);
    char* end = nullptr;
    const double v = std::strtod(copy.c_str(), &end);
    if (end != copy.c_str() + copy.size() || !std::isfinite(v))
        return false;
    out = v;
    return true;
}

bool parseInteger(std::string_view text, std::int32_t& out)
{
    std::string_view s = trimBlanks(text);
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    if (s.empty())
        return false;
    std::int32_t v = 0;
    const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || ptr != s.data() + s.size())
        return false;
    out = v;
    return true;
}

std::string formatGeneral(double value, int precision, int digits)
{
    if (value == 0.0 || !std::isfinite(value))
        return value == 0.0 ? "0" : (std::isnan(value) ? "NAN" : (value > 0 ? "INF" : "-INF"));
    if (precision < 1)
        precision = 1;
    if (precision > 18)
        precision = 18;

    // The exact decimal expansion, rounded half up (not half even) at the
    // last kept digit, as the display of every number always did.
    char buf[128];
    std::snprintf(buf, sizeof buf, "%.80e", std::fabs(value));
    std::string mant;
    const char* p = buf;
    for (; *p && *p != 'e'; ++p)
        if (*p != '.')
            mant.push_back(*p);
    int exponent = std::atoi(p + 1);
    std::string kept = mant.substr(0, static_cast<size_t>(precision));
    if (mant.size() > static_cast<size_t>(precision) && mant[static_cast<size_t>(precision)] >= '5') {
        int i = precision - 1;
        while (i >= 0) {
            if (kept[static_cast<size_t>(i)] == '9') {
                kept[static_cast<size_t>(i)] = '0';
                --i;
            } else {
                ++kept[static_cast<size_t>(i)];
                break;
            }
        }
        if (i < 0) {
            kept.insert(kept.begin(), '1');
            kept.pop_back();
            ++exponent;
        }
    }
    while (kept.size() > 1 && kept.back() == '0')
        kept.pop_back();

    std::string out = value < 0 ? "-" : "";
    if (exponent >= precision || std::fabs(value) < 0.00001) {
        out += kept[0];
        if (kept.size() > 1) {
            out += '.';
            out += kept.substr(1);
        }
        out += 'E';
        if (exponent < 0)
            out += '-';
        std::string e = std::to_string(std::abs(exponent));
        while (static_cast<int>(e.size()) < digits)
            e.insert(e.begin(), '0');
        out += e;
        return out;
    }
    if (exponent >= 0) {
        const size_t intDigits = static_cast<size_t>(exponent) + 1;
        if (kept.size() <= intDigits) {
            out += kept;
            out.append(intDigits - kept.size(), '0');
        } else {
            out += kept.substr(0, intDigits);
            out += '.';
            out += kept.substr(intDigits);
        }
    } else {
        out += "0.";
        out.append(static_cast<size_t>(-exponent - 1), '0');
        out += kept;
    }
    return out;
}

std::string formatGeneral(double value, int precision) { return formatGeneral(value, precision, 0); }

Fraction NearestFraction(double x)
{
    static constexpr std::array<int, 6> kDenominators = {2, 4, 8, 16, 32, 64};
    Fraction best;
    double bestError = 1.7e308;
    for (int den : kDenominators) {
        const int n = static_cast<int>(RoundHalfUp(den * x, 0));
        const double err = std::fabs(x - static_cast<double>(n) / den);
        if (err < bestError) {
            bestError = err;
            best = {n, den};
        }
    }
    return best;
}

ImperialValue ParseImperialText(std::string_view text)
{
    ImperialValue r;
    if (text.empty()) {
        r.msg = Msg::ImperialEmpty;
        return r;
    }

    enum class Mark { None, Inch, Foot };
    struct Group {
        std::string text;
        Mark mark = Mark::None;
    };
    std::vector<Group> groups;
    bool open = false;
    for (char c : text) {
        if (std::isdigit(static_cast<unsigned char>(c)) || c == '/') {
            if (!open) {
                groups.emplace_back();
                open = true;
            }
            groups.back().text.push_back(c);
        } else if (c == '"' || c == '\'' || c == ' ') {
            if (open) {
                groups.back().mark = c == '"' ? Mark::Inch : (c == '\'' ? Mark::Foot : Mark::None);
                open = false;
            }
        } else {
            r.msg = Msg::ImperialBadCharacter;
            return r;
        }
    }
    const size_t n = groups.size();
    if (n < 1 || n > 3) {
        r.msg = Msg::ImperialGroupCount;
        return r;
    }
    if (text.back() == '/') {
        r.msg = Msg::ImperialEndsWithSlash;
        return r;
    }
    const bool anySlash = text.find('/') != std::string_view::npos;
    if (n == 3 && !anySlash) {
        r.msg = Msg::ImperialNoFraction;
        return r;
    }

    std::string feet, inches, num, den;
    bool haveFeet = false, haveInches = false, haveFraction = false;
    for (size_t k = 1; k <= n; ++k) {
        const Group& g = groups[k - 1];
        const size_t slash = g.text.find('/');
        if (slash != std::string::npos) {
            if (haveFraction && k > 1) {
                r.msg = Msg::ImperialSecondFraction;
                return r;
            }
            if (k != n) {
                r.msg = Msg::ImperialFractionNotLast;
                return r;
            }
            if (g.mark == Mark::Foot && n == 1) {
                r.msg = Msg::ImperialLoneFractionFeet;
                return r;
            }
            haveFraction = true;
            num = g.text.substr(0, slash);
            den = g.text.substr(slash + 1);
            // A fraction marked as feet keeps its mark and so fails below.
            if (g.mark == Mark::Foot)
                den += '\'';
        } else if (g.mark == Mark::Foot) {
            if (haveFeet) {
                r.msg = Msg::ImperialFeetTwice;
                return r;
            }
            feet = g.text;
            haveFeet = true;
        } else if (g.mark == Mark::None && k == 1 && (n == 3 || (n == 2 && !anySlash))) {
            feet = g.text;
            haveFeet = true;
            inches = g.text;
            haveInches = true;
        } else if (g.mark == Mark::Inch) {
            if (haveInches) {
                r.msg = Msg::ImperialInchesTwice;
                return r;
            }
            inches = g.text;
            haveInches = true;
        } else {
            inches = g.text;
            haveInches = true;
        }
    }

    auto toInt = [](const std::string& s, bool present, std::int32_t missing, std::int32_t& out) {
        if (!present) {
            out = missing;
            return true;
        }
        return parseInteger(s, out) && s.find_first_of("+- ") == std::string::npos;
    };
    if (!toInt(feet, haveFeet, 0, r.feet) || !toInt(inches, haveInches, 0, r.inches)
        || !toInt(num, haveFraction, 0, r.numerator) || !toInt(den, haveFraction, 1, r.denominator)
        || r.denominator == 0) {
        r = ImperialValue{};
        r.msg = Msg::ImperialBadInteger;
        return r;
    }
    return r;
}

Length ParseLength(LengthUnit unit, std::string_view text)
{
    static constexpr double kFactor[4] = {10.0, 100.0, 10000.0, 254.0};
    const int u = toInt(unit);
    if (u >= 0 && u <= 3) {
        double v = 0;
        if (!parseDecimal(text, v))
            return -1;
        return toLength(RoundHalfUp(v * kFactor[u], 0));
    }
    if (u == 4 || u == 5) {
        const ImperialValue iv = ParseImperialText(text);
        if (iv.msg != Msg::Ok)
            return -1;
        const long double inches = static_cast<long double>(iv.numerator) / iv.denominator
            + iv.inches + 12.0L * iv.feet;
        return toLength(RoundHalfUp(static_cast<double>(inches * 254.0L), 0));
    }
    return 0;
}

std::string FormatLength(Length value, LengthUnit unit)
{
    const int u = toInt(unit);
    if (u < 0 || u > 5)
        return {};
    if (value == 0)
        return "0";
    switch (u) {
    case 0:
        return formatGeneral(RoundHalfUp(value * 0.1, -1));
    case 1:
        return formatGeneral(RoundHalfUp(value * 0.01, -2));
    case 2:
        return formatGeneral(RoundHalfUp(value * 0.0001, -4));
    default:
        break;
    }
    const double inches = RoundHalfUp(value / 254.0, -3);
    if (u == 3)
        return formatGeneral(inches);
    const double whole = std::floor(inches);
    const double frac = inches - whole;
    Fraction f;
    if (frac > 0)
        f = NearestFraction(frac);
    const auto fractionText = [&] { return intText(f.numerator) + "/" + intText(f.denominator) + "\""; };
    std::string out;
    const long long wholeInt = static_cast<long long>(whole);
    if (u == 4) {
        if (wholeInt > 0)
            out += intText(wholeInt) + (frac > 0 ? " " : "\"");
        if (frac > 0)
            out += fractionText();
        return out;
    }
    const long long feet = wholeInt / 12;
    if (feet > 0)
        out += intText(feet) + "' ";
    const long long rest = wholeInt - 12 * feet;
    if (rest > 0)
        out += intText(rest) + (frac > 0 ? " " : "\"");
    if (frac > 0)
        out += fractionText();
    return out;
}

NormalizedLength NormalizeLengthText(std::string_view text, LengthUnit unit)
{
    NormalizedLength r;
    const int u = toInt(unit);
    if (text == "0") {
        r.text = "0";
        r.hasText = true;
        return r;
    }
    if (u >= 0 && u <= 3) {
        static constexpr int kDecimals[4] = {1, 2, 4, 3};
        double v = 0;
        if (!parseDecimal(text, v)) {
            r.msg = Msg::NotANumber;
            return r;
        }
        r.text = formatGeneral(RoundHalfUp(v, -kDecimals[u]));
        r.hasText = true;
        return r;
    }
    if (u != 4 && u != 5)
        return r;

    ImperialValue iv = ParseImperialText(text);
    if (iv.msg != Msg::Ok) {
        r.msg = iv.msg;
        return r;
    }
    switch (iv.denominator) {
    case 0: case 2: case 4: case 8: case 16: case 32: case 64:
        break;
    default: {
        const Fraction f = NearestFraction(static_cast<double>(iv.numerator) / iv.denominator);
        iv.numerator = f.numerator;
        iv.denominator = f.denominator;
    }
    }
    const std::string fraction = intText(iv.numerator) + "/" + intText(iv.denominator) + "\"";
    std::string out;
    if (u == 4) {
        const long long inches = iv.inches + 12LL * iv.feet;
        if (inches > 0)
            out += intText(inches) + (iv.numerator > 0 ? " " : "\"");
        if (iv.numerator > 0)
            out += fraction;
    } else {
        if (iv.feet > 0)
            out += intText(iv.feet) + "' ";
        if (iv.inches > 0)
            out += intText(iv.inches) + (iv.numerator > 0 ? " " : "\"");
        if (iv.numerator > 0)
            out += fraction;
    }
    r.text = out;
    r.hasText = true;
    return r;
}

std::string LengthUnitLabel(LengthUnit unit, bool valueCarriesMarks)
{
    switch (toInt(unit)) {
    case 0: return "mm";
    case 1: return "cm";
    case 2: return "m";
    case 3: return "in";
    case 4:
    case 5: return valueCarriesMarks ? "" : "in";
    default: return {};
    }
}

std::string AreaUnitName(AreaUnit unit)
{
    switch (toInt(unit)) {
    case 0: return "mm\u00B2";
    case 1: return "cm\u00B2";
    case 2: return "m\u00B2";
    case 3: return "in\u00B2";
    case 4: return "ft\u00B2";
    case 5: return "yd\u00B2";
    default: return {};
    }
}

std::string FormatArea(Area area, AreaUnit unit, bool withName)
{
    const int u = toInt(unit);
    if (u < 0 || u > 5)
        return {};
    const float product = static_cast<float>(static_cast<double>(area) * kAreaFactor[u]);
    std::string text = formatGeneral(RoundHalfUp(product, -kAreaDecimals[u]));
    if (withName)
        text += " " + AreaUnitName(unit);
    return text;
}

double LengthInUnit(double value, LengthUnit unit)
{
    switch (toInt(unit)) {
    case 0: return value * 0.1;
    case 1: return value * 0.01;
    case 2: return value * 0.0001;
    case 3:
    case 4:
    case 5: return value / 254.0;
    default: return 0.0;
    }
}

} // namespace engine
