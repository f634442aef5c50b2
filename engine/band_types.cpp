#include "engine/band_types.h"

#include "engine/file_io.h"
#include "engine/text_encoding.h"

namespace engine {

namespace {

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

} // namespace

std::string bandTypesPath(const std::string& programFolder, DataUse use)
{
    return programDataPath(programFolder, "Config/bands.vlb", use);
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
        table.append({lines[i], lines[i + 1], lines[i + 2], lines[i + 3], lines[i + 4]});
    return table;
}

BandTypeTable wholeBandRecords(std::string_view content)
{
    if (content.substr(0, 3) == "\xEF\xBB\xBF")
        content.remove_prefix(3);
    const std::vector<std::string> lines = splitLines(toUtf8(content));
    BandTypeTable table;
    for (size_t i = 0; i + 5 <= lines.size() && table.count() < BandTypeTable::kMaxRecords; i += 5)
        table.append({lines[i], lines[i + 1], lines[i + 2], lines[i + 3], lines[i + 4]});
    return table;
}

Result<BandTypeTable> LoadBandTypes(const std::string& path)
{
    const Result<std::string> bytes = readWholeFile(path, FileLimit::kBandTypes);
    if (!bytes.ok())
        return becauseOf(Msg::CannotReadBandFile, {path}, bytes.error());
    Result<BandTypeTable> r = parseBandTypes(*bytes);
    if (!r.ok()) {
        Status st = r.error();
        st.args.insert(st.args.begin(), path);
        return st;
    }
    return r;
}

Status readBandTypes(const std::string& path, BandTypeTable& table)
{
    const Result<BandTypeTable> read = LoadBandTypes(path);
    if (read.ok()) {
        table = *read;
        return {};
    }
    if (read.error().msg == Msg::CannotReadBandFile)
        return read.error();
    // A damaged file: what it still holds goes beside the message.
    const Result<std::string> content = readWholeFile(path, FileLimit::kBandTypes);
    table = wholeBandRecords(content.ok() ? *content : std::string());
    return read.error();
}

std::string serializeBandTypes(const BandTypeTable& table)
{
    std::string out;
    for (const BandType& b : table.records())
        for (const std::string* f : {&b.name, &b.thickness, &b.mark, &b.extraLength, &b.price})
            out += *f + "\r\n";
    return out;
}

BandTypeTable bandTypesForSaving(const BandTypeTable& table)
{
    BandTypeTable kept;
    for (int i = 0; i < table.count(); ++i) {
        const BandType& b = table.record(i);
        if (i == 0 || (!b.thickness.empty() && !b.extraLength.empty()))
            kept.append(b);
    }
    return kept;
}

Status saveBandTypes(const std::string& path, const BandTypeTable& table)
{
    const BandTypeTable kept = bandTypesForSaving(table);
    if (kept.count() > BandTypeTable::kMaxRecords)
        return Status(Msg::BandFileTooManyRecords, {path, std::to_string(kept.count())});
    // A line break inside a field would shift every later record.
    for (const BandType& b : kept.records())
        for (const std::string* f : {&b.name, &b.thickness, &b.mark, &b.extraLength, &b.price})
            if (f->find_first_of("\r\n") != std::string::npos)
                return Status(Msg::BandFileNotWholeRecords, {path});

    const Status written = writeFileAtomically(path, serializeBandTypes(kept));
    if (!written.ok())
        return becauseOf(Msg::CannotWriteBandFile, {path}, written);
    return {};
}

} // namespace engine
