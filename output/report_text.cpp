#include "output/report_text.h"

#include <algorithm>
#include <limits>

namespace output {

int displayWidth(std::string_view s)
{
    int n = 0;
    for (char c : s)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++n;
    return n;
}

std::string pad(std::string_view s, int width)
{
    const int blanks = std::max(0, width - displayWidth(s));
    std::string out(static_cast<size_t>(blanks), ' ');
    out += s;
    return out;
}

std::string num(std::int64_t k)
{
    return pad(std::to_string(k), 3) + ".";
}

AlignedColumn alignColumn(const std::vector<std::string>& raw, bool widthCountsDecimals)
{
    int decimals = 0;
    int longest = 0;
    for (const std::string& t : raw) {
        longest = std::max(longest, displayWidth(t));
        if (const size_t dot = t.find('.'); dot != std::string::npos)
            decimals = std::max(decimals, displayWidth(std::string_view(t).substr(dot + 1)));
    }
    AlignedColumn col;
    col.width = longest + 1 + (widthCountsDecimals ? decimals : 0);
    col.texts.reserve(raw.size());
    for (const std::string& t : raw) {
        std::string s = t;
        const size_t dot = s.find('.');
        if (dot == std::string::npos) {
            if (decimals >= 1)
                s += "." + std::string(static_cast<size_t>(decimals), '0');
        } else {
            const int have = displayWidth(std::string_view(s).substr(dot + 1));
            s.append(static_cast<size_t>(std::max(0, decimals - have)), '0');
        }
        col.texts.push_back(std::move(s));
    }
    return col;
}

std::string formatTotalLength(std::int64_t value, engine::LengthUnit unit)
{
    if (value >= std::numeric_limits<engine::Length>::min() && value <= std::numeric_limits<engine::Length>::max())
        return engine::FormatLength(static_cast<engine::Length>(value), unit);
    // Beyond 32 bits only the decimal units make sense for a total; the
    // imperial ones fall back to decimal inches.
    const double v = engine::LengthInUnit(static_cast<double>(value), unit);
    switch (unit) {
    case engine::LengthUnit::Millimetre: return engine::formatGeneral(engine::RoundHalfUp(v, -1));
    case engine::LengthUnit::Centimetre: return engine::formatGeneral(engine::RoundHalfUp(v, -2));
    case engine::LengthUnit::Metre: return engine::formatGeneral(engine::RoundHalfUp(v, -4));
    default: return engine::formatGeneral(engine::RoundHalfUp(v, -3));
    }
}

std::string toPlainText(const engine::RichText& text, std::string_view eol)
{
    std::string out;
    for (const engine::RichLine& line : text) {
        out += line.text;
        out += eol;
    }
    return out;
}

bool boldInEffect(const engine::RichText& text, size_t index)
{
    for (size_t i = 0; i <= index && i < text.size(); ++i)
        if (text[i].bold)
            return true;
    return false;
}

} // namespace output
