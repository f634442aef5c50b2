#include "project/archive.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <limits>

#include <pugixml.hpp>

#include "engine/file_io.h"
#include "engine/format_float.h"
#include "engine/paths.h"
#include "project/foreign_project.h"
#include "project/legacy_project.h"

namespace project_io {

namespace {

using engine::Msg;
using engine::Status;

constexpr int kQuillonUnit = 1;  // centimetres
constexpr std::size_t kQuillonPriceLine = 1;
constexpr std::size_t kQuillonFirstRecord = 4;
constexpr std::size_t kQuillonRecordStep = 7;
constexpr int kLegacySheetRecord = 6;
constexpr engine::Area kInternalPerCm2 = 10000;
// Square centimetres in one area unit of AreaStyle (mm², cm², m², in², ft², yd²).
constexpr double kCm2PerAreaUnit[6] = {0.01, 1.0, 10000.0, 6.4516, 929.0304, 8361.2736};
constexpr std::size_t kPrintNameWidth = 50;
constexpr std::size_t kPrintFigureWidth = 10;
constexpr std::size_t kPrintRuleWidth = 83;

char lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool wildcardMatch(std::string_view name, std::string_view pattern)
{
    // Iterative '*' matching with one backtrack point: linear enough for file names.
    std::size_t n = 0;
    std::size_t p = 0;
    std::size_t starP = std::string_view::npos;
    std::size_t starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || lower(pattern[p]) == lower(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

// Alphabetical without regard to case; names equal but for case in byte order.
void sortNames(std::vector<std::string>& names)
{
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const auto ci = std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                                     [](char x, char y) { return lower(x) < lower(y); });
        const auto ic = std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(),
                                                     [](char x, char y) { return lower(x) < lower(y); });
        return ci || (!ic && a < b);
    });
}

// Reads a listed file whole, for reading only (a read-only project is no
// locked one); anything but an ordinary file fails (a FIFO would otherwise
// block the scan).
engine::Result<std::string> readForArchive(const std::string& path)
{
    return engine::readWholeFile(path, engine::FileLimit::kProject);
}

// Sheet area in square tenths of a millimetre, summed without overflow.
class AreaSum {
public:
    // False when a length or the quantity does not read, or the sum overflows.
    bool add(std::string_view len, std::string_view wid, std::string_view qty, engine::LengthUnit unit)
    {
        const engine::Length l = engine::ParseLength(unit, len);
        const engine::Length w = engine::ParseLength(unit, wid);
        std::int32_t q = 0;
        if (l < 0 || w < 0 || !engine::parseInteger(qty, q))
            return false;
        std::int64_t product = 0;
        if (__builtin_mul_overflow(static_cast<std::int64_t>(l) * w, static_cast<std::int64_t>(q), &product))
            return false;
        return !__builtin_add_overflow(m_area, product, &m_area);
    }
    [[nodiscard]] engine::Area area() const { return m_area; }

private:
    engine::Area m_area = 0;
};

struct FileFigures {
    engine::Area area = 0;
    double price = 0;
};

bool readLegacyFigures(std::string_view bytes, FileFigures& f)
{
    const std::vector<std::string> lines = splitLegacyLines(bytes);
    std::int32_t unit = 0;
    std::int32_t count = 0;
    if (!engine::parseDecimal(FindLegacyEntry(lines, "CENA1"), f.price) ||
        !engine::parseInteger(FindLegacyEntry(lines, "JEDMERE"), unit) || unit < 0 || unit > 5 ||
        !engine::parseInteger(FindLegacyEntry(lines, "TABLA1"), count) || count < 0)
        return false;
    if (count == 0)
        return true;
    const std::size_t start = findLegacySection(lines, "tab_1");
    if (start == static_cast<std::size_t>(-1) ||
        static_cast<std::size_t>(count) * kLegacySheetRecord > lines.size() - start)
        return false;
    AreaSum sum;
    for (std::size_t r = 0; r < static_cast<std::size_t>(count); ++r) {
        const std::size_t at = start + r * kLegacySheetRecord;
        if (!sum.add(lines[at + 1], lines[at + 2], lines[at + 3], engine::lengthUnitFromInt(unit)))
            return false;
    }
    f.area = sum.area();
    return true;
}

bool readDocumentFigures(std::string_view bytes, FileFigures& f)
{
    pugi::xml_document doc;
    if (!doc.load_buffer(bytes.data(), bytes.size()))
        return false;
    const pugi::xml_node root = doc.document_element();
    if (std::string_view(root.name()) != "velm_root")
        return false;
    const pugi::xml_node job = root.child("job");
    std::int32_t unit = 0;
    std::int32_t count = 0;
    const pugi::xml_node table = job.child("data").child("tab_sheets");
    if (!engine::parseDecimal(job.child("price1").text().get(), f.price) ||
        !engine::parseInteger(job.child("measure").text().get(), unit) || unit < 0 || unit > 5 ||
        !engine::parseInteger(table.attribute("count").value(), count) || count < 0)
        return false;
    AreaSum sum;
    pugi::xml_node sheet = table.child("sheet");
    for (std::int32_t i = 0; i < count; ++i, sheet = sheet.next_sibling("sheet")) {
        if (!sheet)
            return false;  // fewer items than the count
        if (!sum.add(sheet.child("len").text().get(), sheet.child("wid").text().get(),
                     sheet.child("qty").text().get(), engine::lengthUnitFromInt(unit)))
            return false;
    }
    f.area = sum.area();
    return true;
}

Status readQuillonFigures(std::string_view bytes, FileFigures& f)
{
    auto split = splitQuillonPieces(bytes);
    if (!split)
        return split.error();
    const std::vector<std::string>& pieces = *split;
    const auto piece = [&](std::size_t k) { return k < pieces.size() ? std::string_view(pieces[k]) : ""; };
    if (!engine::parseDecimal(piece(kQuillonPriceLine), f.price))
        return Status(Msg::CannotReadProject);
    AreaSum sum;
    for (std::size_t i = kQuillonFirstRecord; i < pieces.size(); i += kQuillonRecordStep) {
        if (pieces[i] != "tab_1")
            continue;
        if (!sum.add(piece(i + 2), piece(i + 3), piece(i + 4), engine::lengthUnitFromInt(kQuillonUnit)))
            return Status(Msg::CannotReadProject);
    }
    f.area = sum.area();
    return Status();
}

double numberOrZero(std::string_view text)
{
    double v = 0;
    return engine::parseDecimal(text, v) ? v : 0.0;
}

// Characters, not bytes, of a UTF-8 text (names and unit names carry
// two-byte letters such as the superscript two).
std::size_t displayWidth(std::string_view s)
{
    return static_cast<std::size_t>(
        std::count_if(s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0U) != 0x80U; }));
}

std::string fillTo(std::string s, std::size_t width, char fill)
{
    const std::size_t n = displayWidth(s);
    if (n < width)
        s.append(width - n, fill);
    return s;
}

std::string trimBlanks(std::string_view s)
{
    const std::size_t first = s.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return std::string(s.substr(first, s.find_last_not_of(' ') - first + 1));
}

} // namespace

std::string archiveMask(const std::string& filter)
{
    return "*" + filter + "*.qln;*" + filter + "*.vlp";
}

bool matchesArchiveMask(const std::string& name, const std::string& mask)
{
    std::size_t start = 0;
    while (start <= mask.size()) {
        std::size_t end = mask.find(';', start);
        if (end == std::string::npos)
            end = mask.size();
        const std::string_view pattern = std::string_view(mask).substr(start, end - start);
        if (!pattern.empty() && wildcardMatch(name, pattern))
            return true;
        start = end + 1;
    }
    return false;
}

std::vector<std::string> listArchiveFolder(const std::string& folder, const std::string& mask)
{
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::error_code typeEc;
        // A link is listed whatever it points to (a dangling one too): the
        // scan then tells that it cannot be opened.
        if (it->symlink_status(typeEc).type() == fs::file_type::directory)
            continue;
        const std::string name = it->path().filename().string();
        if (matchesArchiveMask(name, mask))
            names.push_back(name);
    }
    sortNames(names);
    return names;
}

std::vector<std::string> listSubfolders(const std::string& folder)
{
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::error_code typeEc;
        // The entry's type comes with the listing on most file systems; a
        // link to a folder is a folder here too.
        const std::string name = it->path().filename().string();
        if (!name.empty() && name[0] != '.' && it->is_directory(typeEc))
            names.push_back(name);
    }
    sortNames(names);
    return names;
}

ArchiveListing listArchive(const std::string& folder, const std::string& filter)
{
    ArchiveListing listing;
    std::error_code ec;
    // A folder that is missing or cannot be listed is no empty archive.
    if (!std::filesystem::is_directory(folder, ec) || (std::filesystem::directory_iterator(folder, ec), ec)) {
        listing.status = Status(Msg::ArchiveFolderUnreadable, {folder});
        return listing;
    }
    listing.names = listArchiveFolder(folder, archiveMask(filter));
    return listing;
}

ArchiveRow readArchiveRow(const std::string& folder, const std::string& name, engine::AreaUnit areaUnit)
{
    ArchiveRow row;
    row.name = name;
    const std::string path = (std::filesystem::path(folder) / name).string();
    const engine::Result<std::string> read = readForArchive(path);
    if (!read.ok()) {
        row.problem = engine::becauseOf(Msg::ArchiveCannotOpenFile, {path}, read.error());
        return row;
    }
    const std::string& bytes = *read;
    FileFigures f;
    if (engine::lowerExtension(name) == ".vlp") {
        const bool legacy = !bytes.empty() && bytes[0] == 'V';
        if (!(legacy ? readLegacyFigures(bytes, f) : readDocumentFigures(bytes, f))) {
            row.problem = Status(Msg::CannotReadProject, {path});
            return row;
        }
        row.area = engine::FormatArea(f.area, areaUnit, true);
        row.price = engine::formatFloat("0.00", f.price);
        row.total = engine::formatFloat("0.00", numberOrZero(engine::FormatArea(f.area, areaUnit, false)) * f.price);
        return row;
    }
    if (Status st = readQuillonFigures(bytes, f); !st.ok()) {
        st.args = {path};
        row.problem = st;
        return row;
    }
    // The stored price is per square centimetre (the file's unit) and the
    // total is whole square centimetres times it; the price is shown per
    // shown area unit so that the row reads area x price = total.
    const int unit = engine::toInt(areaUnit);
    const double cm2PerShownUnit = unit >= 0 && unit <= 5 ? kCm2PerAreaUnit[unit] : 1.0;
    row.area = engine::FormatArea(f.area, areaUnit, true);
    row.price = engine::formatGeneral(f.price * cm2PerShownUnit, 8);
    row.total = engine::formatFloat("0.00", static_cast<double>(f.area / kInternalPerCm2) * f.price);
    return row;
}

ArchiveScan scanArchive(const std::string& folder, const std::string& filter, engine::AreaUnit areaUnit)
{
    ArchiveScan scan;
    const ArchiveListing listing = listArchive(folder, filter);
    scan.status = listing.status;
    if (listing.names.empty())
        return scan;
    scan.listed = true;
    scan.rows.reserve(listing.names.size());
    for (const std::string& name : listing.names)
        scan.rows.push_back(readArchiveRow(folder, name, areaUnit));
    scan.grandTotal = archiveGrandTotal(scan.rows);
    return scan;
}

std::string archiveGrandTotal(const std::vector<ArchiveRow>& rows)
{
    double sum = 0;
    for (const ArchiveRow& r : rows)
        if (r.readable())
            sum += numberOrZero(r.total);
    return engine::formatFloat("###,###,###.00", sum);
}

engine::Result<std::string> editArchivePrice(std::vector<ArchiveRow>& rows, std::size_t row, const std::string& price)
{
    if (row >= rows.size() || !rows[row].readable())
        return Status(Msg::NotANumber);
    double p = 0;
    if (!price.empty() && !engine::parseDecimal(price, p))
        return Status(Msg::NotANumber);
    ArchiveRow& r = rows[row];
    const std::string area = r.area.substr(0, r.area.find(' '));
    r.price = price;
    r.total = engine::formatFloat("00.00", numberOrZero(area) * p);
    return archiveGrandTotal(rows);
}

std::array<int, 4> archiveColumnWidths(int tableWidth)
{
    const int w = tableWidth - 22;
    const auto share = [w](double fraction) { return std::max(0, static_cast<int>(fraction * w)); };
    return {share(0.6), share(0.15), share(0.1), share(0.15)};
}

int archiveHeadingLeft(const std::array<int, 4>& widths, int col, int textWidth)
{
    int left = 0;
    for (int c = 0; c < col && c < 4; ++c)
        left += widths[static_cast<size_t>(c)];
    return left + textWidth / 2;
}

std::string archiveRowName(const ArchiveRow& row, const std::string& unreadableText)
{
    return row.readable() ? row.name : unreadableText + " " + row.name;
}

engine::RichText archivePrintText(const std::string& folder, const std::vector<ArchiveRow>& rows,
                                  const engine::LanguageTable& language, const std::string& date)
{
    engine::RichText text;
    text.push_back({language.text(23) + folder + language.text(24) + date});
    text.push_back({" "});
    text.push_back({language.text(25)});
    text.push_back({std::string(kPrintRuleWidth, '-') + " "});
    const std::string unreadable = language.text(engine::number(Msg::ArchiveCannotOpenFile));
    for (const ArchiveRow& r : rows) {
        text.push_back({fillTo(trimBlanks(archiveRowName(r, unreadable)), kPrintNameWidth, '-') + " "
                        + fillTo(trimBlanks(r.area), kPrintFigureWidth, ' ') + " "
                        + fillTo(trimBlanks(r.price), kPrintFigureWidth, ' ') + " "
                        + fillTo(trimBlanks(r.total), kPrintFigureWidth, ' ')});
    }
    return text;
}

} // namespace project_io
