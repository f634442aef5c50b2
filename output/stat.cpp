#include "output/stat.h"

#include <map>
#include <set>
#include <unordered_map>

#include "engine/format_float.h"
#include "output/layout_groups.h"
#include "output/report_text.h"

namespace output {

namespace {

using engine::Area;
using engine::Length;
using engine::Msg;
namespace PartCol = engine::PartCol;
namespace SheetCol = engine::SheetCol;

const std::string kRule16(16, '-');
const std::string kRule19(19, '-');
const std::string kRule51(51, '-');

// Writes lines the way the report boxes take them: `bold` marks the line at
// which bold is added to the box attributes, `sizeDelta` raises the font for
// that line only.
class Box {
public:
    explicit Box(engine::RichText& text) : m_text(text) { m_text.clear(); }
    void line(std::string text, bool addBold = false, int sizeDelta = 0)
    {
        m_text.push_back({std::move(text), addBold, sizeDelta});
    }

private:
    engine::RichText& m_text;
};

std::string yieldText(double v)
{
    return engine::formatGeneral(v, 4, 4);
}

std::int64_t quantityOrZero(const std::string& text)
{
    const std::int32_t q = engine::quantityOf(text);
    return q < 0 ? 0 : q;
}

std::string quotedOrEmpty(const std::string& text)
{
    return text.empty() ? std::string() : " '" + text + "'";
}

struct Context {
    engine::Project& project;
    const engine::Settings& settings;
    const engine::BandTypeTable& bands;
    const engine::LanguageTable& lang;
    engine::LengthUnit unit;
    engine::AreaUnit areaUnit;
    std::string u;  // label after values that may carry their own marks
    std::string U;  // bare label
    std::string A;  // area unit name
    std::unordered_map<std::int32_t, const engine::SheetInstance*> sheets;
    // Records of each cut sheet, so that a group does not scan the whole result.
    std::unordered_map<std::int32_t, std::vector<const engine::PlacedElement*>> elements;
    std::unordered_map<std::int32_t, std::vector<const engine::Offcut*>> offcuts;

    [[nodiscard]] const std::string& t(int n) const { return lang.text(n); }
    [[nodiscard]] const engine::SheetInstance* sheet(std::int32_t tnb) const
    {
        const auto it = sheets.find(tnb);
        return it == sheets.end() ? nullptr : it->second;
    }
};

void writeHeader(Box& box, const Context& c)
{
    box.line("  " + c.t(39), true, 3);
    box.line(" ");
    box.line("  " + c.t(52), true, 2);
    box.line("  " + kRule16);

    const engine::TextTable& sheets = c.project.sheets;
    const auto& usage = c.project.result.sheetRowUsage;
    std::vector<int> rows;
    std::vector<std::string> lengths;
    std::vector<std::string> heights;
    for (size_t i = 0; i < usage.size(); ++i) {
        if (usage[i] <= 0)
            continue;
        const int r = static_cast<int>(i) + 1;
        rows.push_back(r);
        lengths.push_back(sheets.cell(r, SheetCol::Len));
        heights.push_back(sheets.cell(r, SheetCol::Wid));
    }
    const AlignedColumn l = alignColumn(lengths);
    const AlignedColumn h = alignColumn(heights);
    for (size_t k = 0; k < rows.size(); ++k) {
        const int r = rows[k];
        box.line("  " + num(static_cast<std::int64_t>(k) + 1) + pad(l.texts[k], l.width) + " x "
                 + pad(h.texts[k], h.width) + " " + c.u + " (x" + std::to_string(usage[static_cast<size_t>(r - 1)])
                 + ") " + quotedOrEmpty(sheets.cell(r, SheetCol::Descr)));
    }
    box.line(" ");
}

void collectPartLines(stat& s, const Context& c)
{
    const engine::TextTable& parts = c.project.parts;
    std::map<std::int32_t, std::int64_t> perRow;  // n_r: pieces of row r on one sheet of the group
    if (const auto it = c.elements.find(s.sheetId); it != c.elements.end())
        for (const engine::PlacedElement* e : it->second)
            ++perRow[e->enb];

    std::vector<std::string> lengths;
    std::vector<std::string> heights;
    for (const auto& [row, n] : perRow) {
        lengths.push_back(parts.cell(row, PartCol::Len));
        heights.push_back(parts.cell(row, PartCol::Wid));
    }
    const AlignedColumn l = alignColumn(lengths);
    const AlignedColumn h = alignColumn(heights);
    s.columnWidths[0] = l.width;
    s.columnWidths[1] = h.width;

    size_t i = 0;
    for (const auto& [row, n] : perRow) {
        // Bands on the width edges shorten the length and vice versa; an
        // unreadable thickness counts 0, an unreadable size enters as -1.
        const engine::Footprint net = engine::partNetSize(parts, row, c.unit);
        s.perimeterSum += 2 * (std::int64_t{net.len} + net.wid) * n * s.multiplicity;
        s.groupPartArea += Area{net.len} * net.wid * n * s.multiplicity;
        s.groupPieces += n * s.multiplicity;
        const std::string& ini = parts.cell(row, PartCol::Ini);
        const std::string label = ini.empty() ? std::string() : "'" + ini + "'";
        s.partLines.push_back("  " + num(static_cast<std::int64_t>(i) + 1) + pad(l.texts[i], l.width) + " x"
                              + pad(h.texts[i], h.width) + " " + c.u + pad("(x" + std::to_string(n) + ")", 5)
                              + pad(label, 9));
        ++i;
    }
}

void collectOffcutLines(stat& s, const Context& c)
{
    struct Raw {
        std::string l, h, area;
        bool useful;
    };
    std::vector<Raw> raws;
    const auto found = c.offcuts.find(s.sheetId);
    if (found == c.offcuts.end())
        return;
    for (const engine::Offcut* op : found->second) {
        const engine::Offcut& o = *op;
        const Length w = o.x1 - o.x;
        const Length h = o.y1 - o.y;
        s.perimeterSum += 2 * (std::int64_t{w} + h) * s.multiplicity;
        const bool useful = w >= c.settings.Visak && h >= c.settings.Visak;
        if (useful)
            s.usefulOffcutArea += Area{w} * h * s.multiplicity;
        raws.push_back({engine::FormatLength(w, c.unit), engine::FormatLength(h, c.unit),
                        engine::FormatArea(Area{w} * h, c.areaUnit, false), useful});
    }
    std::vector<std::string> ls, hs, as;
    for (const Raw& r : raws) {
        ls.push_back(r.l);
        hs.push_back(r.h);
        as.push_back(r.area);
    }
    const AlignedColumn l = alignColumn(ls);
    const AlignedColumn h = alignColumn(hs);
    const AlignedColumn a = alignColumn(as, false);
    for (size_t j = 0; j < raws.size(); ++j)
        s.offcutLines.push_back("  " + num(static_cast<std::int64_t>(j) + 1) + pad(l.texts[j], l.width) + " x"
                                + pad(h.texts[j], h.width) + " " + c.u + " =" + pad(a.texts[j], a.width) + " " + c.A
                                + (raws[j].useful ? c.t(44) : std::string()));
}

void writeGroup(stat& s, Box& box, const Context& c, const engine::LayoutGroup& g)
{
    s.groupPieces = 0;
    s.offcutLines.clear();
    s.partLines.clear();
    s.groupPartArea = 0;
    s.perimeterSum = 0;
    s.sheetId = g.tnb;
    s.multiplicity = g.multiplicity;
    const engine::SheetInstance* sheet = c.sheet(g.tnb);
    s.sheetLength = sheet ? sheet->len : 0;
    s.sheetHeight = sheet ? sheet->wid : 0;

    collectPartLines(s, c);
    collectOffcutLines(s, c);

    const Area sheetArea = Area{s.sheetLength} * s.sheetHeight;
    const Area groupSheetArea = sheetArea * s.multiplicity;
    s.placedTotal += s.groupPieces;
    s.totalPartArea += s.groupPartArea;
    // The pieces of a guillotine layout have together the sheet's perimeter
    // plus twice the length of the cuts.
    s.cutLength += s.perimeterSum / 2 - (std::int64_t{s.sheetLength} + s.sheetHeight) * s.multiplicity;
    s.sheetsUsed += s.multiplicity;
    s.groupYield = groupSheetArea != 0
        ? static_cast<float>(100.0 * static_cast<double>(s.groupPartArea) / static_cast<double>(groupSheetArea))
        : 0.0f;
    s.yieldSum += s.groupYield;
    s.totalSheetArea += groupSheetArea;
    ++s.groupCount;
    s.lastMultiplicity = s.multiplicity;

    const std::string desc = sheet ? quotedOrEmpty(c.project.sheets.cell(sheet->row, SheetCol::Descr)) : std::string();
    box.line(" ");
    box.line("  " + c.t(314) + " " + std::to_string(s.groupIndex + 1) + " (x" + std::to_string(s.multiplicity) + ") ",
             true, 2);
    box.line("  " + kRule16);
    box.line("  " + engine::FormatLength(s.sheetLength, c.unit) + " " + c.u + " x "
             + engine::FormatLength(s.sheetHeight, c.unit) + " " + c.u + " = "
             + engine::FormatArea(sheetArea, c.areaUnit, true) + ", " + c.t(34) + "= "
             + yieldText(static_cast<double>(s.groupYield)) + "%" + desc);
    box.line(" ");
    box.line("  " + c.t(41), true);
    for (const std::string& l : s.partLines)
        box.line(s.indent + l);
    box.line(" ");
    box.line("  " + c.t(45), true);
    for (const std::string& l : s.offcutLines)
        box.line(s.indent + l);
    s.partLines.clear();
    s.offcutLines.clear();
}

// Banding of one band type: per edge that carries it, the part's length (or
// height) once plus the extra length for every piece.
std::int64_t bandingOf(const engine::BandType& band, const Context& c)
{
    const engine::TextTable& parts = c.project.parts;
    const std::int64_t extra = engine::ParseLength(c.unit, band.extraLength);
    std::int64_t b = 0;
    for (int r = 1; r <= parts.rowCount(); ++r) {
        const std::int64_t qty = quantityOrZero(parts.cell(r, PartCol::Qty));
        for (int e = 0; e < 4; ++e) {
            if (parts.cell(r, PartCol::Band + e) != band.name)
                continue;
            const int sizeCol = e < 2 ? PartCol::Len : PartCol::Wid;
            b += engine::ParseLength(c.unit, parts.cell(r, sizeCol)) + qty * extra;
        }
    }
    return b;
}

// Band names in the part table that no counted band type carries: their
// banding would be left out of the totals without a word.
void warnUnknownBands(stat& s, const Context& c)
{
    std::set<std::string> known;
    for (int i = 0; i < c.bands.count(); ++i) {
        if (i > 0 && c.bands.record(i).name.empty())
            break;
        known.insert(c.bands.record(i).name);
    }
    std::set<std::string> reported;
    const engine::TextTable& parts = c.project.parts;
    for (int r = 1; r <= parts.rowCount(); ++r)
        for (int e = 0; e < 4; ++e) {
            const std::string& name = parts.cell(r, PartCol::Band + e);
            if (!name.empty() && !known.contains(name) && reported.insert(name).second)
                s.warnings.emplace_back(Msg::BandNameNotInTable, std::vector<std::string>{name});
        }
}

void writeBill(stat& s, const Context& c)
{
    Box box(c.project.bill);
    box.line("  " + c.t(48));
    box.line("  " + kRule19);

    // The material is charged as shown: the net area is rounded to the
    // display unit first.
    const Area net = s.totalSheetArea - s.usefulOffcutArea;
    double a = 0;
    if (!engine::parseDecimal(engine::FormatArea(net, c.areaUnit, false), a))
        a = 0;
    // The price is shown as it was typed (the shortest text of the float),
    // not with the digits a single-precision value drags along ("7.9899998"),
    // and the amount to the cent, never in exponent form.
    const double cena1 = static_cast<double>(c.settings.CENA1);
    box.line("  (" + engine::FormatArea(s.totalSheetArea, c.areaUnit, true) + " - "
             + engine::FormatArea(s.usefulOffcutArea, c.areaUnit, true) + ") * " + engine::shortestFloatText(c.settings.CENA1)
             + " = " + engine::formatFloat("0.00", cena1 * a));
    box.line(" ");

    bool headed = false;
    for (int i = 1; i < c.bands.count(); ++i) {
        const engine::BandType& band = c.bands.record(i);
        if (band.name.empty())
            break;
        const std::int64_t b = bandingOf(band, c);
        if (b < 1)
            continue;
        s.bandingLength += b;
        if (!headed) {
            box.line("  " + c.t(57));
            box.line("  " + kRule19);
            headed = true;
        }
        std::string cost;
        double price = 0;
        if (engine::parseDecimal(band.price, price)) {
            // To the cent: a bill that rounds each band to hundreds would
            // charge 200 for 219.85.
            cost = engine::formatGeneral(
                engine::RoundHalfUp(price * engine::LengthInUnit(static_cast<double>(b), c.unit), -2));
        } else {
            cost = c.t(number(Msg::BandPriceNotANumber));
            s.warnings.emplace_back(Msg::BandPriceNotANumber, std::vector<std::string>{band.name, band.price});
        }
        box.line("  " + c.t(190) + ": " + band.name + " " + formatTotalLength(b, c.unit) + " * " + band.price + " = "
                 + cost);
    }
    warnUnknownBands(s, c);
}

} // namespace

std::string averageYieldText(const stat& s)
{
    if (s.groupCount == 0)
        return "0";
    return yieldText(static_cast<double>(s.yieldSum) / static_cast<double>(s.groupCount));
}

std::string lastSheetYieldText(const stat& s)
{
    if (s.groupCount == 0 || s.lastMultiplicity == 0)
        return "0";
    return yieldText(static_cast<double>(s.groupYield) / s.lastMultiplicity);
}

void BuildReport(stat& s, engine::Project& project, const engine::Settings& settings,
                 const engine::BandTypeTable& bands, const engine::LanguageTable& lang)
{
    GroupLayouts(project, settings.PrintDuplicate);

    Context c{project, settings, bands, lang, engine::lengthUnitFromInt(settings.JedMere),
              engine::areaUnitFromInt(settings.AreaStyle), {}, {}, {}, {}, {}, {}};
    c.u = engine::LengthUnitLabel(c.unit, true);
    c.U = engine::LengthUnitLabel(c.unit, false);
    c.A = engine::AreaUnitName(c.areaUnit);
    for (const engine::SheetInstance& sheet : project.input.sheets)
        c.sheets.emplace(sheet.tnb, &sheet);
    for (const engine::PlacedElement& e : project.result.elements)
        c.elements[e.tnb].push_back(&e);
    for (const engine::Offcut& o : project.result.offcuts)
        c.offcuts[o.tnb].push_back(&o);

    Box report(project.report);
    writeHeader(report, c);
    const std::vector<engine::LayoutGroup> groups = project.result.groups;
    for (size_t k = 0; k < groups.size(); ++k) {
        s.groupIndex = static_cast<std::int32_t>(k);
        writeGroup(s, report, c, groups[k]);
    }

    writeBill(s, c);

    engine::ProjectStats& st = project.result.stats;
    st.parts = std::to_string(project.input.totalParts);
    st.used_parts = std::to_string(s.placedTotal);
    st.used_sheets = std::to_string(s.sheetsUsed);
    st.part_area = engine::FormatArea(s.totalPartArea, c.areaUnit, false);
    st.average_yield = averageYieldText(s);
    st.last_sheet_yield = lastSheetYieldText(s);
    st.cut_length = formatTotalLength(s.cutLength, c.unit);
    st.banding_length = formatTotalLength(s.bandingLength, c.unit);

    report.line(" ");
    report.line("  " + c.t(46) + ":", true);
    report.line("  " + kRule51);
    report.line("  " + c.t(50) + " " + st.parts);
    report.line("  " + c.t(51) + " " + st.used_parts);
    report.line("  " + c.t(52) + " " + st.used_sheets);
    report.line("  " + c.t(53) + " " + st.part_area + " " + c.A);
    report.line("  " + c.t(54) + " " + st.average_yield + " %");
    report.line("  " + c.t(55) + " " + st.last_sheet_yield + " %");
    report.line("  " + c.t(56) + " " + st.cut_length + " " + c.U);
    report.line("  " + c.t(57) + " " + st.banding_length + " " + c.U);
    // A result of the deep optimisation names its method; the automatic run's
    // report stays as it always was.
    if (project.result.method == engine::ResultMethod::Deep)
        report.line("  " + c.t(521) + " " + c.t(522));
    else if (project.result.method == engine::ResultMethod::DeepKeptAutomatic)
        report.line("  " + c.t(521) + " " + c.t(523));
}

} // namespace output
