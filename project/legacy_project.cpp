#include "project/legacy_project.h"

#include <array>
#include <limits>
#include <optional>

#include "engine/file_io.h"
#include "engine/text_encoding.h"
#include "project/limits.h"

namespace project_io {

namespace {

using engine::Msg;
using engine::Status;

constexpr std::size_t kNpos = static_cast<std::size_t>(-1);

// Record sizes of the section keys.
constexpr int kSheetRecord = 6;
constexpr int kShortPartRecord = 8;
constexpr int kFullPartRecord = 18;
constexpr int kElementRecord = 9;
constexpr int kOffcutRecord = 5;
constexpr int kSheetInstanceRecord = 5;

// A section about to be read: where its records start and how many there are.
struct Section {
    std::size_t start = kNpos;
    int count = 0;
};

class LegacyReader {
public:
    LegacyReader(std::vector<std::string> lines, bool addMode, engine::Project& project,
                 const engine::Settings& settings)
        : m_lines(std::move(lines)), m_addMode(addMode), m_project(project), m_settings(settings)
    {
    }

    ReadOutcome run();

private:
    [[nodiscard]] std::string entry(std::string_view key) const { return FindLegacyEntry(m_lines, key); }
    [[nodiscard]] std::optional<std::int32_t> integerEntry(std::string_view key) const;
    [[nodiscard]] std::optional<Section> section(std::string_view key, std::int32_t count, int recordSize) const;
    [[nodiscard]] std::optional<Section> textSection(std::string_view key) const;

    void readDetails();
    void readStats();
    void readSheets(const Section& s);
    void readParts(const Section& s, bool shortForm);
    [[nodiscard]] bool readResult(const Section& elems, const Section& offcuts, const Section& table);
    void readText(const Section& s, engine::RichText& into) const;

    std::vector<std::string> m_lines;
    bool m_addMode;
    engine::Project& m_project;
    const engine::Settings& m_settings;
};

ReadOutcome failed(std::string where = {})
{
    std::vector<std::string> args;
    if (!where.empty())
        args.push_back(std::move(where));
    return {-1, Status(Msg::CannotReadProject, std::move(args))};
}

std::optional<std::int32_t> LegacyReader::integerEntry(std::string_view key) const
{
    std::int32_t v = 0;
    if (!engine::parseInteger(entry(key), v))
        return std::nullopt;
    return v;
}

// Checks a counted section against the lines that follow its key, so that
// no record is ever taken from beyond the end of the file.
std::optional<Section> LegacyReader::section(std::string_view key, std::int32_t count, int recordSize) const
{
    Section s;
    s.count = count;
    if (count < 0)
        return std::nullopt;
    if (count == 0)
        return s;
    s.start = findLegacySection(m_lines, key);
    if (s.start == kNpos)
        return std::nullopt;
    const std::size_t needed = static_cast<std::size_t>(count) * static_cast<std::size_t>(recordSize);
    if (needed > m_lines.size() - s.start)
        return std::nullopt;
    return s;
}

// "xxStat1" / "xxStat2": a line count n, then n lines.
std::optional<Section> LegacyReader::textSection(std::string_view key) const
{
    Section s;
    const std::size_t at = findLegacySection(m_lines, key);
    if (at == kNpos)
        return s;
    if (at >= m_lines.size() || !engine::parseInteger(m_lines[at], s.count) || s.count < 0)
        return std::nullopt;
    s.start = at + 1;
    if (static_cast<std::size_t>(s.count) > m_lines.size() - s.start)
        return std::nullopt;
    return s;
}

void LegacyReader::readDetails()
{
    const auto detail = [&](std::string_view key) {
        std::string v = entry(key);
        return v == "0" ? std::string() : v;
    };
    engine::ProjectDetails& d = m_project.details;
    d.coverTitle = detail("[cover_title]");
    d.author = detail("[author]");
    d.clientName = detail("[cl_name]");
    d.clientSurname = detail("[cl_surname]");
    d.clientAddress[0] = detail("[cl_adress1]");
    d.clientAddress[1] = detail("[cl_adress2]");
    d.clientAddress[2] = detail("[cl_adress3]");
    d.clientPhone = detail("[cl_phone]");
    d.clientNote = detail("[cl_note]");
}

void LegacyReader::readStats()
{
    engine::ProjectStats& s = m_project.result.stats;
    s.parts = entry("STAT1");
    s.used_parts = entry("STAT2");
    s.used_sheets = entry("STAT3");
    s.part_area = entry("STAT4");
    s.average_yield = entry("STAT5");
    s.last_sheet_yield = entry("STAT6");
    s.cut_length = entry("STAT7");
    s.banding_length = entry("STAT8");
}

void LegacyReader::readSheets(const Section& s)
{
    for (int r = 0; r < s.count; ++r) {
        const std::size_t at = s.start + static_cast<std::size_t>(r) * kSheetRecord;
        const int row = m_project.sheets.rowCount() + 1;
        for (int c = 0; c < engine::SheetCol::Count; ++c)
            m_project.sheets.setCell(row, c, m_lines[at + static_cast<std::size_t>(c)]);
    }
}

void LegacyReader::readParts(const Section& s, bool shortForm)
{
    const int recordSize = shortForm ? kShortPartRecord : kFullPartRecord;
    const int columns = shortForm ? 6 : engine::PartCol::Count;
    for (int r = 0; r < s.count; ++r) {
        const std::size_t at = s.start + static_cast<std::size_t>(r) * static_cast<std::size_t>(recordSize);
        const int row = m_project.parts.rowCount() + 1;
        for (int c = 0; c < columns; ++c)
            m_project.parts.setCell(row, c, m_lines[at + static_cast<std::size_t>(c)]);
        if (shortForm) {
            for (int e = 0; e < 4; ++e) {
                m_project.parts.setCell(row, engine::PartCol::Band + e, "-");
                m_project.parts.setCell(row, engine::PartCol::Thickness + e, "0");
            }
        }
    }
}

// Reads `n` integers of a record; the fields listed in `scaled` are whole
// millimetres and become tenths. False when one is no integer or the scaled
// value does not fit in 32 bits.
template <std::size_t N>
bool readRecord(const std::vector<std::string>& lines, std::size_t at, std::array<std::int32_t, N>& out,
                std::array<bool, N> scaled)
{
    for (std::size_t k = 0; k < N; ++k) {
        std::int32_t v = 0;
        if (!engine::parseInteger(lines[at + k], v))
            return false;
        if (scaled[k]) {
            if (v > std::numeric_limits<std::int32_t>::max() / 10 || v < std::numeric_limits<std::int32_t>::min() / 10)
                return false;
            v *= 10;
        }
        out[k] = v;
    }
    return true;
}

bool LegacyReader::readResult(const Section& elems, const Section& offcuts, const Section& table)
{
    // Each list is built aside and stored whole, so that a bad number leaves
    // that list empty rather than cut short.
    std::vector<engine::PlacedElement> e;
    for (int r = 0; r < elems.count; ++r) {
        // tnb, x, y, x1, y1, rot, enb, then the two fields of the manual mode
        std::array<std::int32_t, kElementRecord> v{};
        if (!readRecord(m_lines, elems.start + static_cast<std::size_t>(r) * kElementRecord, v,
                        {false, true, true, true, true, false, false, false, false}))
            return false;
        e.push_back({v[0], v[1], v[2], v[3], v[4], v[5], v[6]});
    }
    m_project.result.elements = std::move(e);

    std::vector<engine::Offcut> o;
    for (int r = 0; r < offcuts.count; ++r) {
        std::array<std::int32_t, kOffcutRecord> v{};
        if (!readRecord(m_lines, offcuts.start + static_cast<std::size_t>(r) * kOffcutRecord, v,
                        {false, true, true, true, true}))
            return false;
        o.push_back({v[0], v[1], v[2], v[3], v[4]});
    }
    m_project.result.offcuts = std::move(o);

    std::vector<engine::SheetInstance> t;
    for (int r = 0; r < table.count; ++r) {
        std::array<std::int32_t, kSheetInstanceRecord> v{};
        if (!readRecord(m_lines, table.start + static_cast<std::size_t>(r) * kSheetInstanceRecord, v,
                        {true, true, true, false, false}))
            return false;
        t.push_back({v[0], v[1], v[2], v[3], v[4]});
    }
    m_project.input.sheets = std::move(t);
    return true;
}

void LegacyReader::readText(const Section& s, engine::RichText& into) const
{
    for (int k = 0; k < s.count; ++k)
        into.push_back({m_lines[s.start + static_cast<std::size_t>(k)], false, 0});
}

ReadOutcome LegacyReader::run()
{
    // Every count is read and checked against the file and the capacities
    // first: a damaged file is refused before anything changes.
    const auto unit = integerEntry("JEDMERE");
    if (!unit || *unit < 0 || *unit > 5)
        return failed("JEDMERE: '" + entry("JEDMERE") + "'");
    const std::string header = m_lines.empty() ? std::string() : m_lines.front();
    const auto nElem = integerEntry("DUZ_ELEM");
    const auto nOffcut = integerEntry("DUZ_VISKOVI");
    const auto nTable = integerEntry("DUZ_TABLE");
    const auto nSheets = integerEntry("TABLA1");
    const auto nParts = integerEntry("TABLA2");
    for (const std::string_view key : {"DUZ_ELEM", "DUZ_VISKOVI", "DUZ_TABLE", "TABLA1", "TABLA2"})
        if (!integerEntry(key))
            return failed(std::string(key) + ": '" + entry(key) + "'");
    if (*nSheets > kMaxTableRows - m_project.sheetRowCount())
        return failed("TABLA1: '" + entry("TABLA1") + "'");
    if (*nParts > kMaxTableRows - m_project.partRowCount())
        return failed("TABLA2: '" + entry("TABLA2") + "'");

    const bool shortForm = header == "VELMORA 1.5";
    const auto sheets = section("tab_1", *nSheets, kSheetRecord);
    const auto parts = shortForm ? section("tab_2", *nParts, kShortPartRecord)
                                 : section("tab_2a", *nParts, kFullPartRecord);
    if (!sheets)
        return failed("tab_1: TABLA1 '" + entry("TABLA1") + "'");
    if (!parts)
        return failed((shortForm ? "tab_2" : "tab_2a") + std::string(": TABLA2 '") + entry("TABLA2") + "'");

    const bool readLayouts = !m_addMode && !m_settings.LoadSema;
    const bool readTexts = !m_addMode && !m_settings.LoadReport;
    std::optional<Section> elems{Section{}};
    std::optional<Section> offcuts{Section{}};
    std::optional<Section> table{Section{}};
    if (readLayouts) {
        if (*nElem > kMaxPlacedElements || *nOffcut > kMaxOffcuts || *nTable > kMaxStockSheets)
            return failed("DUZ_ELEM / DUZ_VISKOVI / DUZ_TABLE: '" + entry("DUZ_ELEM") + "' / '"
                          + entry("DUZ_VISKOVI") + "' / '" + entry("DUZ_TABLE") + "'");
        elems = section("elem", *nElem, kElementRecord);
        offcuts = section("viskovi", *nOffcut, kOffcutRecord);
        table = section("table", *nTable, kSheetInstanceRecord);
        if (!elems)
            return failed("elem: DUZ_ELEM '" + entry("DUZ_ELEM") + "'");
        if (!offcuts)
            return failed("viskovi: DUZ_VISKOVI '" + entry("DUZ_VISKOVI") + "'");
        if (!table)
            return failed("table: DUZ_TABLE '" + entry("DUZ_TABLE") + "'");
    }
    std::optional<Section> reportText{Section{}};
    std::optional<Section> billText{Section{}};
    if (readTexts) {
        reportText = textSection("xxStat1");
        billText = textSection("xxStat2");
        if (!reportText)
            return failed("xxStat1");
        if (!billText)
            return failed("xxStat2");
    }

    // The old result does not belong to the rows read now; when the file's
    // layouts are not read the project shows none.
    m_project.clearResult();
    m_project.input.sheets.clear();

    readDetails();
    readStats();
    readSheets(*sheets);
    readParts(*parts, shortForm);
    if (readLayouts && !readResult(*elems, *offcuts, *table))
        return failed("elem / viskovi / table");
    if (readTexts) {
        readText(*reportText, m_project.report);
        readText(*billText, m_project.bill);
    }
    return {*unit, Status()};
}

} // namespace

std::vector<std::string> splitLegacyLines(std::string_view bytes)
{
    const std::string text = engine::toUtf8(bytes);
    std::vector<std::string> lines;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t end = i;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        lines.emplace_back(text, i, end - i);
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
            ++end;
        i = end + 1;
    }
    return lines;
}

std::size_t findLegacySection(const std::vector<std::string>& lines, std::string_view key)
{
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i] == key)
            return i + 1;
    return kNpos;
}

std::string FindLegacyEntry(const std::vector<std::string>& lines, std::string_view key)
{
    const std::size_t at = findLegacySection(lines, key);
    if (at == kNpos)
        return "0";
    return at < lines.size() ? lines[at] : std::string();
}

ReadOutcome readLegacyProjectText(std::string_view bytes, bool addMode, engine::Project& project,
                                  const engine::Settings& settings)
{
    return LegacyReader(splitLegacyLines(bytes), addMode, project, settings).run();
}

ReadOutcome ReadLegacyProject(const std::string& fileName, bool addMode, engine::Project& project,
                              const engine::Settings& settings)
{
    const engine::Result<std::string> bytes = engine::readWholeFile(fileName, engine::FileLimit::kProject);
    if (!bytes.ok())
        return {-1, engine::becauseOf(Msg::CannotOpenProject, {fileName}, bytes.error())};
    ReadOutcome r = readLegacyProjectText(*bytes, addMode, project, settings);
    if (!r.status.ok())
        r.status.args.insert(r.status.args.begin(), fileName);
    return r;
}

} // namespace project_io
