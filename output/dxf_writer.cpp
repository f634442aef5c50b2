#include "output/dxf_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "engine/file_io.h"
#include "output/diagram_painter.h"
#include "output/text_trim.h"

namespace output {

namespace {

using engine::Length;
using engine::LengthUnit;

// Every sheet starts this far (60 mm) above the previous one's top edge.
constexpr Length kSheetGap = 600;
// Sheet header: 30 mm above the sheet's top edge, 1 mm from the left.
constexpr Length kHeaderRise = 300;
constexpr Length kLeftMargin = 10;
// Handles below this are left to the templates.
constexpr int kFirstHandleCounter = 190;

bool isAny(DxfRelease r, std::initializer_list<DxfRelease> list)
{
    return std::find(list.begin(), list.end(), r) != list.end();
}

bool usesPolyline(DxfRelease r)
{
    using enum DxfRelease;
    return isAny(r, {R2_5, R2_6, R9, R10, R11, R13});
}
bool usesLwPolyline(DxfRelease r)
{
    using enum DxfRelease;
    return isAny(r, {R14, R2000, R2002, R2004});
}
bool usesText(DxfRelease r)
{
    using enum DxfRelease;
    return isAny(r, {R2_5, R2_6, R9, R10, R11});
}
bool usesMText(DxfRelease r)
{
    using enum DxfRelease;
    return isAny(r, {R13, R14, R2000, R2002, R2004});
}
bool isR10R11(DxfRelease r) { return r == DxfRelease::R10 || r == DxfRelease::R11; }
bool from2000(DxfRelease r)
{
    using enum DxfRelease;
    return isAny(r, {R2000, R2002, R2004});
}
bool from2000OrR13(DxfRelease r)
{
    using enum DxfRelease;
    return isAny(r, {R13, R14, R2000, R2002, R2004});
}

std::string upper(std::string s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

// A float written the way all drawing values are: general format of the
// single-precision value, so 1234.3 comes out as 1234.30004882813.
std::string floatText(float v) { return engine::formatGeneral(static_cast<double>(v)); }

std::string truncText(double v) { return std::to_string(static_cast<long long>(std::trunc(v))); }

class DxfBuilder {
public:
    DxfBuilder(const engine::Project& project, const engine::Settings& settings, const DxfDrawingSetup& setup)
        : m_project(project), m_settings(settings), m_setup(setup),
          m_release(dxfReleaseFromName(setup.releaseName)),
          m_tableUnit(engine::lengthUnitFromInt(settings.JedMere)),
          m_inch(settings.JedMere >= 3 && settings.JedMere <= 5),
          m_unit(m_inch ? LengthUnit::DecimalInch : LengthUnit::Millimetre),
          m_textHeight(m_inch ? 1 : 10)
    {
    }

    std::vector<std::string> build()
    {
        m_lines = m_setup.head;
        for (int i = 0; i < kDxfLayerCount; ++i)
            addLayer(layerName(i), m_setup.layers[static_cast<size_t>(i)].colour);
        m_lines.insert(m_lines.end(), m_setup.middle.begin(), m_setup.middle.end());
        for (int g = 0; g < static_cast<int>(m_project.result.groups.size()); ++g)
            addGroup(g);
        m_lines.insert(m_lines.end(), m_setup.tail.begin(), m_setup.tail.end());
        patchHeader();
        return std::move(m_lines);
    }

private:
    // D(v): the length as the user would read it in the drawing unit, held
    // as a single-precision float (one decimal in mm, three in inches).
    float drawingValue(double v) const
    {
        const auto len = static_cast<Length>(std::clamp(v, -2147483648.0, 2147483647.0));
        double d = 0;
        if (!engine::parseDecimal(engine::FormatLength(len, m_unit), d))
            return 0.0F;
        return static_cast<float>(d);
    }

    std::string nextHandle()
    {
        ++m_handle;
        char buf[24];
        std::snprintf(buf, sizeof buf, "%04X", static_cast<unsigned>(m_handle));
        return buf;
    }

    void add(std::initializer_list<std::string> pairs) { m_lines.insert(m_lines.end(), pairs); }
    void add(const std::string& code, const std::string& value)
    {
        m_lines.push_back(code);
        m_lines.push_back(value);
    }

    // Layer 0 is always "0". An empty name (a hand-edited settings file) would
    // make a layer record no CAD program accepts; it gets the name the export
    // dialog gives an emptied field.
    std::string layerName(int layer) const
    {
        if (layer <= 0 || layer >= kDxfLayerCount)
            return "0";
        const std::string& name = m_setup.layers[static_cast<size_t>(layer)].name;
        return name.empty() ? "Layer" + std::to_string(layer) : name;
    }
    std::string layerOf(DxfItem item) const { return layerName(m_setup.items[static_cast<size_t>(item)].layer); }
    bool on(DxfItem item) const { return m_setup.items[static_cast<size_t>(item)].output; }

    void addLayer(const std::string& name, int colour)
    {
        add("0", "LAYER");
        if (from2000OrR13(m_release))
            add({"5", nextHandle(), "100", "AcDbSymbolTableRecord", "100", "AcDbLayerTableRecord"});
        add({"2", name, "70", "0", "62", std::to_string(colour), "6", "CONTINUOUS"});
        if (from2000(m_release)) {
            add({"290", "1", "370", "-3"});
            add("390", nextHandle());
        }
    }

    struct Box {
        float xL, xR, yT, yB;
    };

    void addRectangle(const Box& b, const std::string& layer)
    {
        const float xs[4] = {b.xL, b.xR, b.xR, b.xL};
        const float ys[4] = {b.yT, b.yT, b.yB, b.yB};
        const bool r13 = m_release == DxfRelease::R13;
        const bool r10 = isR10R11(m_release);
        if (usesPolyline(m_release)) {
            add("0", "POLYLINE");
            if (r13)
                add({"5", nextHandle(), "100", "AcDbEntity"});
            add("8", layer);
            if (r13)
                add("100", "AcDb2dPolyline");
            if (r10)
                add("5", nextHandle());
            add("66", "1");
            if (r10 || r13)
                add({"10", "0.0", "20", "0.0", "30", "0.0", "70", "1"});
            // The fifth vertex repeats the first, so the outline is closed even
            // where the release has no closed flag.
            for (int i = 0; i < 5; ++i) {
                add("0", "VERTEX");
                if (r13)
                    add({"5", nextHandle(), "100", "AcDbEntity"});
                add("8", layer);
                if (r10)
                    add("5", nextHandle());
                if (r13)
                    add({"100", "AcDbVertex", "100", "AcDb2dVertex"});
                add({"10", floatText(xs[i % 4]), "20", floatText(ys[i % 4])});
                if (r10 || r13)
                    add("30", "0");
            }
            add("0", "SEQEND");
            if (r13)
                add({"5", nextHandle(), "100", "AcDbEntity"});
            add("8", layer);
            if (r10)
                add("5", nextHandle());
        } else if (usesLwPolyline(m_release)) {
            add("0", "LWPOLYLINE");
            add("5", nextHandle());
            add({"100", "AcDbEntity", "8", layer, "100", "AcDbPolyline", "90", "4", "70", "1", "43", "0.0"});
            for (int i = 0; i < 4; ++i)
                add({"10", floatText(xs[i]), "20", floatText(ys[i])});
        }
    }

    void addText(double x, double y, const std::string& text, const std::string& layer)
    {
        const std::string height = std::to_string(m_textHeight);
        if (usesText(m_release)) {
            add("0", "TEXT");
            add("8", layer);
            if (isR10R11(m_release))
                add("5", nextHandle());
            add({"10", truncText(x), "20", truncText(y), "40", height, "1", text});
        } else if (usesMText(m_release)) {
            add("0", "MTEXT");
            add("5", nextHandle());
            add({"100", "AcDbEntity", "8", layer, "100", "AcDbMText", "10", truncText(x), "20", truncText(y), "30",
                 "0", "40", height, "41", "500", "71", "1", "72", "5", "1", text});
        }
    }

    template <class Piece>
    Box boxOf(const Piece& p)
    {
        const std::int64_t half = m_settings.Testera / 2;
        const double x0 = kLeftMargin;
        Box b{};
        b.xL = drawingValue(static_cast<double>(p.x) + x0 + half);
        b.xR = drawingValue(static_cast<double>(p.x1) + x0 - half);
        b.yT = drawingValue(static_cast<double>(m_yb) - p.y - half);
        b.yB = drawingValue(static_cast<double>(m_yb) - p.y1 + half);
        m_maxX = std::max(m_maxX, b.xR);
        return b;
    }

    void addSizeTexts(const Box& b, const std::string& across, const std::string& down, const std::string& layer)
    {
        addText(static_cast<double>(b.xL) + (static_cast<double>(b.xR) - b.xL) * 0.5, static_cast<double>(b.yT) - 1.0, across, layer);
        addText(static_cast<double>(b.xL) + 1.0, static_cast<double>(b.yT) + (static_cast<double>(b.yB) - b.yT) * 0.5, down, layer);
    }

    void addGroup(int g)
    {
        const engine::SheetInstance* sheet = groupSheet(m_project, g);
        if (!sheet)
            return;
        const engine::LayoutGroup& group = m_project.result.groups[static_cast<size_t>(g)];
        m_yb += sheet->wid + kSheetGap;

        std::int64_t partArea = 0;
        for (const engine::PlacedElement& e : m_project.result.elements) {
            if (e.tnb != sheet->tnb)
                continue;
            partArea += (std::int64_t{e.x1} - e.x) * (std::int64_t{e.y1} - e.y);
            const Box b = boxOf(e);
            if (on(DxfItem::PartRectangle))
                addRectangle(b, layerOf(DxfItem::PartRectangle));
            if (on(DxfItem::PartSize)) {
                const PartSizeTexts t = partSizeTexts(m_project, e, m_tableUnit, m_unit);
                addSizeTexts(b, t.across, t.down, layerOf(DxfItem::PartSize));
            }
            if (on(DxfItem::PartLabel))
                addText(static_cast<double>(b.xR) - 2.0 * m_textHeight, static_cast<double>(b.yB) + 2.0 * m_textHeight,
                        trimmed(m_project.parts.cell(e.enb, engine::PartCol::Ini)), layerOf(DxfItem::PartLabel));
        }
        for (const engine::Offcut& o : m_project.result.offcuts) {
            if (o.tnb != sheet->tnb)
                continue;
            const Box b = boxOf(o);
            if (on(DxfItem::OffcutRectangle))
                addRectangle(b, layerOf(DxfItem::OffcutRectangle));
            if (on(DxfItem::OffcutSize)) {
                // Offcut sizes are for the user at the saw: display unit, not drawing unit.
                const OffcutSize size = offcutShownSize(o, sheet->len, sheet->wid, m_settings.Testera);
                addSizeTexts(b, engine::FormatLength(static_cast<Length>(size.width), m_tableUnit),
                             engine::FormatLength(static_cast<Length>(size.height), m_tableUnit),
                             layerOf(DxfItem::OffcutSize));
            }
        }
        if (on(DxfItem::SheetHeader)) {
            const std::int64_t sheetArea = std::int64_t{sheet->len} * sheet->wid;
            const std::int64_t hundredth = sheetArea / 100;
            // A sheet under 0.01 mm x 100 would divide by zero; its yield is shown as 0.
            const double yield = hundredth != 0 ? static_cast<double>(partArea) / static_cast<double>(hundredth) : 0.0;
            const std::string text = m_project.sheets.cell(sheet->row, engine::SheetCol::Descr) + " "
                + engine::FormatLength(sheet->len, m_tableUnit) + "x" + engine::FormatLength(sheet->wid, m_tableUnit)
                + "=" + engine::FormatArea(sheetArea, engine::areaUnitFromInt(m_settings.AreaStyle), true)
                + " PI%=" + engine::formatGeneral(yield, 4, 2) + " (x" + std::to_string(group.multiplicity) + ")";
            addText(drawingValue(kLeftMargin), drawingValue(static_cast<double>(m_yb) + kHeaderRise), text,
                    layerOf(DxfItem::SheetHeader));
        }
    }

    // Index of the first line equal to `key` (letter case ignored), or -1.
    long findKey(const std::string& key) const
    {
        const std::string k = upper(key);
        for (size_t i = 0; i < m_lines.size(); ++i)
            if (m_lines[i].size() == k.size() && upper(m_lines[i]) == k)
                return static_cast<long>(i);
        return -1;
    }

    void setLine(long at, const std::string& text)
    {
        if (at >= 0 && at < static_cast<long>(m_lines.size()))
            m_lines[static_cast<size_t>(at)] = text;
    }

    void patchValues(const std::string& key, const std::string& x, const std::string& y)
    {
        const long at = findKey(key);
        if (at < 0)
            return;
        setLine(at + 2, x);
        setLine(at + 4, y);
    }

    void patchLine(const std::string& key, const std::string& text)
    {
        const long at = findKey(key);
        if (at >= 0)
            setLine(at, text);
    }

    void patchHeader()
    {
        const std::string maxX = floatText(m_maxX);
        const std::string top = engine::FormatLength(m_yb, m_unit);
        patchValues("$EXTMIN", "0.0", "0.0");
        patchValues("$EXTMAX", maxX, top);
        patchValues("$LIMMIN", "0.0", "0.0");
        patchValues("$LIMMAX", maxX, top);
        patchLine("*viewheight", top);
        patchLine("*xview*", maxX);
        patchLine("*yview*", maxX);
        const std::string centre = floatText(m_maxX * 0.5F);
        patchLine("*xcenterview*", centre);
        patchLine("*ycenterview*", centre);
        if (from2000(m_release)) {
            const long at = findKey("$INSUNITS");
            if (at >= 0)
                setLine(at + 2, m_inch ? "1" : "4");
        }
    }

    const engine::Project& m_project;
    const engine::Settings& m_settings;
    const DxfDrawingSetup& m_setup;
    DxfRelease m_release;
    LengthUnit m_tableUnit;
    bool m_inch;
    LengthUnit m_unit;
    int m_textHeight;

    std::vector<std::string> m_lines;
    std::int64_t m_handle = kFirstHandleCounter;
    float m_maxX = 0.0F;
    Length m_yb = 0;
};

// Windows-1252 bytes 0x80..0x9F and the characters they stand for.
constexpr std::pair<char32_t, unsigned char> kCp1252High[] = {
    {0x20AC, 0x80}, {0x201A, 0x82}, {0x0192, 0x83}, {0x201E, 0x84}, {0x2026, 0x85}, {0x2020, 0x86},
    {0x2021, 0x87}, {0x02C6, 0x88}, {0x2030, 0x89}, {0x0160, 0x8A}, {0x2039, 0x8B}, {0x0152, 0x8C},
    {0x017D, 0x8E}, {0x2018, 0x91}, {0x2019, 0x92}, {0x201C, 0x93}, {0x201D, 0x94}, {0x2022, 0x95},
    {0x2013, 0x96}, {0x2014, 0x97}, {0x02DC, 0x98}, {0x2122, 0x99}, {0x0161, 0x9A}, {0x203A, 0x9B},
    {0x0153, 0x9C}, {0x017E, 0x9E}, {0x0178, 0x9F},
};

// Decodes one UTF-8 sequence at s[i]; returns its length, 0 when invalid.
size_t decodeUtf8(const std::string& s, size_t i, char32_t& cp)
{
    const auto b = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = b(i);
    size_t n = 0;
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
        cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        cp = c & 0x07;
    } else {
        return 0;
    }
    if (i + n > s.size())
        return 0;
    for (size_t k = 1; k < n; ++k) {
        if ((b(i + k) & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (b(i + k) & 0x3F);
    }
    if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return n;
}

} // namespace

DxfRelease dxfReleaseFromName(const std::string& name)
{
    const auto& names = dxfReleaseNames();
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i] == name)
            return static_cast<DxfRelease>(i);
    return DxfRelease::Unknown;
}

const std::vector<std::string>& dxfReleaseNames()
{
    static const std::vector<std::string> names = {
        "AutoCAD 2.5", "AutoCAD 2.6", "AutoCAD R9",   "AutoCAD R10",  "AutoCAD R11",
        "AutoCAD R13", "AutoCAD R14", "AutoCAD 2000", "AutoCAD 2002", "AutoCAD 2004",
    };
    return names;
}

DxfDrawingSetup dxfSetupFromSettings(const DxfSettings& settings, const std::string& settingsPath)
{
    DxfDrawingSetup setup;
    setup.releaseName = settings.activeRelease();
    setup.head = fetchDxfTemplate(settingsPath, settings.active, DxfTemplate::Head);
    setup.middle = fetchDxfTemplate(settingsPath, settings.active, DxfTemplate::Middle);
    setup.tail = fetchDxfTemplate(settingsPath, settings.active, DxfTemplate::Tail);
    setup.layers = settings.layers;
    setup.items = settings.items;
    return setup;
}

std::vector<std::string> buildDxf(const engine::Project& project, const engine::Settings& settings,
                                  const DxfDrawingSetup& setup)
{
    return DxfBuilder(project, settings, setup).build();
}

std::string dxfEncodeText(const std::string& utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        char32_t cp = 0;
        const size_t n = decodeUtf8(utf8, i, cp);
        if (n == 0) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        i += n;
        if (cp >= 0xA0 && cp <= 0xFF) {
            out += static_cast<char>(cp);
            continue;
        }
        const auto* hit = std::find_if(std::begin(kCp1252High), std::end(kCp1252High),
                                       [cp](const auto& e) { return e.first == cp; });
        if (hit != std::end(kCp1252High)) {
            out += static_cast<char>(hit->second);
            continue;
        }
        char buf[16];
        std::snprintf(buf, sizeof buf, "\\U+%04X", static_cast<unsigned>(cp));
        out += buf;
    }
    return out;
}

engine::Status writeDxfFile(const std::string& fileName, const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) {
        text += dxfEncodeText(line);
        text += "\r\n";
    }
    const engine::Status written = engine::writeFileAtomically(fileName, text);
    if (!written.ok())
        return engine::becauseOf(engine::Msg::CannotWriteDxf, {fileName}, written);
    return {};
}

engine::Status exportDxf(const std::string& fileName, const engine::Project& project,
                         const engine::Settings& settings, const std::string& settingsPath, DxfSettings& dxfSettings)
{
    const DxfDrawingSetup setup = dxfSetupFromSettings(dxfSettings, settingsPath);
    // A release without its head or tail template would give a file without
    // sections or end, which no program reads: nothing is written then.
    if (setup.head.empty() || setup.tail.empty())
        return engine::Status(engine::Msg::DxfSettingsUnreadable, {settingsPath, dxfSettings.activeRelease()});
    const engine::Status status = writeDxfFile(fileName, buildDxf(project, settings, setup));
    if (!status.ok())
        return status;
    dxfSettings.filePath = fileName;
    (void)saveDxfSettings(settingsPath, dxfSettings);
    return {};
}

} // namespace output
