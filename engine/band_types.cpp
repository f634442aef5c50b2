#include "engine/band_types.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace engine {

namespace {

bool isValidUtf8(std::string_view s)
{
    size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        int more = 0;
        unsigned min = 0;
        unsigned cp = 0;
        if (c < 0x80) {
            ++i;
            continue;
        }
        if ((c & 0xE0) == 0xC0) {
            more = 1;
            min = 0x80;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            more = 2;
            min = 0x800;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            more = 3;
            min = 0x10000;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + static_cast<size_t>(more) >= s.size())
            return false;
        for (int k = 1; k <= more; ++k) {
            const auto cc = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
            if ((cc & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += static_cast<size_t>(more) + 1;
    }
    return true;
}

void appendUtf8(std::string& out, unsigned cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Band files written by older versions are in the Windows code page; files
// written now are UTF-8. Bytes 0x80..0x9F map to the code page's extras,
// the five undefined ones to the C1 controls of the same number.
std::string toUtf8(std::string_view s)
{
    if (isValidUtf8(s))
        return std::string(s);
    static constexpr std::array<unsigned, 32> k80 = {
        0x20AC, 0x81, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x8D, 0x017D, 0x8F, 0x90, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D, 0x017E, 0x0178,
    };
    std::string out;
    out.reserve(s.size() + s.size() / 4);
    for (char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        appendUtf8(out, c >= 0x80 && c < 0xA0 ? k80[c - 0x80] : c);
    }
    return out;
}

std::vector<std::string> splitLines(std::string_view text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        const bool last = end == std::string_view::npos;
        if (last)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.emplace_back(line);
        start = last ? text.size() : end + 1;
    }
    return lines;
}

bool convertCell(std::string& cell, LengthUnit from, LengthUnit to)
{
    const Length v = ParseLength(from, cell);
    if (v < 0)
        return false;
    cell = FormatLength(v, to);
    return true;
}

} // namespace

std::vector<std::string> BandTypeTable::names() const
{
    std::vector<std::string> out;
    out.reserve(records.size());
    for (const BandType& b : records)
        out.push_back(b.name);
    return out;
}

std::string bandTypesPath(const std::string& programFolder)
{
    return programFolder + "Config/bands.vlb";
}

Result<BandTypeTable> parseBandTypes(std::string_view content)
{
    if (content.substr(0, 3) == "\xEF\xBB\xBF")
        content.remove_prefix(3);
    const std::vector<std::string> lines = splitLines(toUtf8(content));
    if (lines.empty() || lines.size() % 5 != 0)
        return Status(Msg::BandFileNotWholeRecords, {std::to_string(lines.size())});
    if (lines.size() / 5 > static_cast<size_t>(BandTypeTable::kMaxRecords))
        return Status(Msg::BandFileTooManyRecords, {std::to_string(lines.size() / 5)});
    BandTypeTable table;
    for (size_t i = 0; i < lines.size(); i += 5)
        table.records.push_back({lines[i], lines[i + 1], lines[i + 2], lines[i + 3], lines[i + 4]});
    return table;
}

Result<BandTypeTable> LoadBandTypes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Status(Msg::CannotAccessBandFile, {path});
    std::ostringstream buf;
    buf << in.rdbuf();
    if (in.bad())
        return Status(Msg::CannotAccessBandFile, {path});
    Result<BandTypeTable> r = parseBandTypes(buf.str());
    if (!r.ok()) {
        Status st = r.error();
        st.args.insert(st.args.begin(), path);
        return st;
    }
    return r;
}

std::string serializeBandTypes(const BandTypeTable& table)
{
    std::string out;
    for (const BandType& b : table.records)
        for (const std::string* f : {&b.name, &b.thickness, &b.mark, &b.extraLength, &b.price})
            out += *f + "\r\n";
    return out;
}

BandTypeTable bandTypesForSaving(const BandTypeTable& table)
{
    BandTypeTable kept;
    for (size_t i = 0; i < table.records.size(); ++i) {
        const BandType& b = table.records[i];
        if (i == 0 || (!b.thickness.empty() && !b.extraLength.empty()))
            kept.records.push_back(b);
    }
    return kept;
}

Status SaveBandTypes(const std::string& path, const BandTypeTable& table)
{
    const BandTypeTable kept = bandTypesForSaving(table);
    if (kept.count() > BandTypeTable::kMaxRecords)
        return Status(Msg::BandFileTooManyRecords, {path, std::to_string(kept.count())});
    // A line break inside a field would shift every later record.
    for (const BandType& b : kept.records)
        for (const std::string* f : {&b.name, &b.thickness, &b.mark, &b.extraLength, &b.price})
            if (f->find_first_of("\r\n") != std::string::npos)
                return Status(Msg::BandFileNotWholeRecords, {path});

    const std::string tmp = path + ".tmp";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out)
            return Status(Msg::CannotAccessBandFile, {path});
        out << serializeBandTypes(kept);
        out.flush();
        if (!out) {
            out.close();
            std::error_code ec;
            std::filesystem::remove(tmp, ec);
            return Status(Msg::CannotAccessBandFile, {path});
        }
    }
    std::error_code ec;
    std::filesystem::rename(tmp, path, ec);
    if (ec) {
        std::filesystem::remove(tmp, ec);
        return Status(Msg::CannotAccessBandFile, {path});
    }
    return {};
}

std::vector<Status> convertBandTypes(BandTypeTable& table, LengthUnit from, LengthUnit to)
{
    std::vector<Status> failures;
    if (from == to)
        return failures;
    for (size_t i = 0; i < table.records.size(); ++i) {
        BandType& b = table.records[i];
        const std::pair<std::string*, const char*> cells[] = {{&b.thickness, "thickness"},
                                                              {&b.extraLength, "extra length"}};
        for (const auto& [cell, field] : cells)
            if (!convertCell(*cell, from, to) && i > 0)
                failures.emplace_back(Msg::BandCellNotConverted, std::vector<std::string>{std::to_string(i), field});
    }
    return failures;
}

} // namespace engine
