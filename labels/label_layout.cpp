#include "labels/label_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unordered_map>

#include "engine/date_format.h"
#include "engine/units.h"

namespace labels {

using engine::Msg;
using engine::Status;

namespace {

constexpr double kFactors[3][3] = {
    {1.0, 0.1, 0.03937007933143675},
    {10.0, 1.0, 0.39370079331436747},
    {25.4, 2.54, 1.0},
};

// The millimetres of a style value; false when it is no number.
bool toMm(const std::string& text, int unit, double& out)
{
    if (unit < 0 || unit > 2)
        return false;
    double v = 0;
    if (!engine::parseDecimal(text, v) || !std::isfinite(v))
        return false;
    out = engine::RoundHalfUp(v * kFactors[unit][0], -3);
    return std::isfinite(out) && std::fabs(out) < 1e6;
}

int truncPx(double v) { return static_cast<int>(std::trunc(v)); }

// Height of a line in the current font, also for an empty line.
int lineHeight(output::Canvas& canvas) { return canvas.textHeight("Ag"); }

// The longest start of `text` (whole UTF-8 characters) no wider than `width`.
std::string fitWidth(output::Canvas& canvas, const std::string& text, int width)
{
    if (canvas.textWidth(text) <= width)
        return text;
    size_t lo = 0;
    size_t hi = text.size();
    // Binary search over byte lengths, kept on character boundaries.
    auto boundary = [&](size_t n) {
        while (n > 0 && n < text.size() && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
            --n;
        return n;
    };
    while (lo < hi) {
        const size_t mid = boundary((lo + hi + 1) / 2);
        if (mid <= lo) {
            hi = lo;
            break;
        }
        if (canvas.textWidth(text.substr(0, mid)) <= width)
            lo = mid;
        else
            hi = mid - 1;
    }
    return text.substr(0, boundary(lo));
}

} // namespace

double labelUnitFactor(int from, int to)
{
    if (from < 0 || from > 2 || to < 0 || to > 2)
        return 0;
    return kFactors[from][to];
}

std::string labelNumberText(double value)
{
    char buf[400];  // the widest double in %.3f
    std::snprintf(buf, sizeof buf, "%.3f", engine::RoundHalfUp(value, -3));
    std::string s = buf;
    while (!s.empty() && s.back() == '0')
        s.pop_back();
    if (!s.empty() && s.back() == '.')
        s.pop_back();
    if (s == "-0")
        s = "0";
    return s;
}

std::optional<std::string> convertLabelUnit(const std::string& text, int from, int to)
{
    if (from < 0 || from > 2 || to < 0 || to > 2)
        return std::nullopt;
    double v = 0;
    if (!engine::parseDecimal(text, v) || !std::isfinite(v))
        return std::nullopt;
    return labelNumberText(v * kFactors[from][to]);
}

engine::Result<LabelGeometry> labelGeometry(const LabelStyle& s)
{
    LabelGeometry g;
    struct Field {
        const std::string& text;
        int unit;
        double& out;
        const char* element;
    };
    const Field fields[] = {
        {s.sizeLength, s.sizeUnit, g.L, "SizeLength"},
        {s.sizeWidth, s.sizeUnit, g.H, "SizeWidth"},
        {s.marginLeft, s.marginUnit, g.ML, "MarginLeft"},
        {s.marginRight, s.marginUnit, g.MR, "MarginRight"},
        {s.marginTop, s.marginUnit, g.MT, "MarginTop"},
        {s.marginBottom, s.marginUnit, g.MB, "MarginBottom"},
        {s.gutterHorizontal, s.gutterUnit, g.GH, "GutterHorizontal"},
        {s.gutterVertical, s.gutterUnit, g.GV, "GutterVertical"},
    };
    for (const Field& f : fields)
        if (!toMm(f.text, f.unit, f.out))
            return Status(Msg::LabelStyleNotANumber, {s.name, f.element});
    g.rows = s.rows;
    g.columns = s.columns;
    return g;
}

LabelGeometry onPrinter(const LabelGeometry& g, const LabelPaper& paper)
{
    LabelGeometry out = g;
    if (paper.offsetLeftMm < g.ML)
        out.ML = g.ML - paper.offsetLeftMm;
    if (paper.offsetTopMm < g.MT)
        out.MT = g.MT - paper.offsetTopMm;
    return out;
}

Status checkLabelStyle(const LabelStyle& style, const LabelGeometry& g, const LabelPaper& paper)
{
    if (g.rows <= 0 || g.columns <= 0)
        return Status(Msg::LabelStyleEmpty, {style.name});
    const LabelGeometry p = onPrinter(g, paper);
    // A hundredth of a millimetre of slack for sizes given in inches.
    constexpr double kSlack = 0.01;
    if (p.L < 0 || p.H < 0 || p.ML < 0 || p.MT < 0 || p.GH < 0 || p.GV < 0
        || p.ML + p.L > paper.printableWidthMm + kSlack || p.MT + p.H > paper.printableHeightMm + kSlack)
        return Status(Msg::LabelStyleTooLarge, {style.name});
    return {};
}

bool offcutNetSize(const engine::Project& project, const engine::Offcut& o, int kerf, NetSize& out)
{
    for (const engine::SheetInstance& s : project.input.sheets) {
        if (s.tnb != o.tnb)
            continue;
        out.length = std::int64_t{o.x1} - o.x - kerf;
        if (o.x1 == s.len)
            out.length += kerf;
        out.width = std::int64_t{o.y1} - o.y - kerf;
        if (o.y1 == s.wid)
            out.width += kerf;
        return true;
    }
    return false;
}

std::vector<LabelItem> labelItems(const engine::Project& project, const engine::Settings& settings, LabelKind kind)
{
    std::vector<LabelItem> items;
    switch (kind) {
    case LabelKind::Part:
        for (int r = 1; r <= project.partRowCount(); ++r) {
            const auto& t = project.parts;
            const std::int32_t qty = engine::quantityOf(t.cell(r, engine::PartCol::Qty));
            items.push_back({t.cell(r, engine::PartCol::Len) + " x " + t.cell(r, engine::PartCol::Wid),
                             t.cell(r, engine::PartCol::Ini), qty > 0 ? qty : 0});
        }
        break;
    case LabelKind::UsedTable: {
        std::unordered_map<std::int32_t, std::int32_t> rowOf;
        for (const engine::SheetInstance& s : project.input.sheets)
            rowOf.emplace(s.tnb, s.row);
        for (const engine::LayoutGroup& g : project.result.groups) {
            const auto it = rowOf.find(g.tnb);
            const int row = it == rowOf.end() ? 0 : it->second;
            const auto& t = project.sheets;
            items.push_back({t.cell(row, engine::SheetCol::Len) + " x " + t.cell(row, engine::SheetCol::Wid),
                             t.cell(row, engine::SheetCol::Descr), g.multiplicity > 0 ? g.multiplicity : 0});
        }
        break;
    }
    case LabelKind::Offcut: {
        const engine::LengthUnit unit = engine::lengthUnitFromInt(settings.JedMere);
        for (const engine::Offcut& o : project.result.offcuts) {
            NetSize n;
            if (!offcutNetSize(project, o, settings.Testera, n))
                continue;
            if (n.length < settings.Visak || n.width < settings.Visak2)
                continue;
            items.push_back({engine::FormatLength(static_cast<engine::Length>(n.length), unit) + " x "
                                 + engine::FormatLength(static_cast<engine::Length>(n.width), unit),
                             "", 1});
        }
        break;
    }
    }
    return items;
}

LabelValues labelValues(const engine::Project& project, const engine::Settings& settings, const std::tm& now)
{
    const engine::ProjectDetails& d = project.details;
    LabelValues v;
    v.company = settings.CompanyName;
    v.project = d.coverTitle;
    v.author = d.author;
    v.client = d.clientName + " " + d.clientSurname;
    v.address = d.clientAddress;
    v.phone = d.clientPhone;
    v.note = d.clientNote;
    v.date = engine::FormatDateTime(settings.DateFormat + " ' - ' hh:mm ", now);
    return v;
}

std::vector<LabelText> labelTexts(const LabelKindSetup& setup, const LabelItem& item, const LabelValues& values)
{
    std::vector<LabelText> out;
    for (int i = 0; i < kLabelLineCount; ++i) {
        const LabelLineSetup& l = setup.lines[static_cast<size_t>(i)];
        if (!l.output)
            continue;
        switch (static_cast<LabelLine>(i)) {
        case LabelLine::Size: out.push_back({&l, l.text + item.size}); break;
        case LabelLine::Name: out.push_back({&l, l.text + item.name}); break;
        case LabelLine::Company: out.push_back({&l, l.text + values.company}); break;
        case LabelLine::Project: out.push_back({&l, l.text + values.project}); break;
        case LabelLine::Author: out.push_back({&l, l.text + values.author}); break;
        case LabelLine::Client: out.push_back({&l, l.text + values.client}); break;
        case LabelLine::Address:
            out.push_back({&l, l.text + values.address[0]});
            out.push_back({&l, " " + values.address[1]});
            out.push_back({&l, " " + values.address[2]});
            break;
        case LabelLine::Phone: out.push_back({&l, l.text + values.phone}); break;
        case LabelLine::Note: out.push_back({&l, l.text + values.note}); break;
        case LabelLine::Date: out.push_back({&l, l.text + values.date}); break;
        }
    }
    return out;
}

LabelSpot labelSpot(const LabelGeometry& g, int row, int column)
{
    // Positions are computed from the margin each time, not summed from the
    // previous label in whole millimetres, so that fractional sizes (inch
    // styles) do not drift off the sheet's labels row by row.
    return {g.ML + column * (g.L + g.GH), g.MT + row * (g.H + g.GV)};
}

void drawLabel(output::Canvas& canvas, const std::string& font, double pxPerMmX, double pxPerMmY,
               const LabelGeometry& g, LabelSpot spot, const LabelKindSetup& setup,
               const std::vector<LabelText>& texts)
{
    const int left = truncPx(spot.xMm * pxPerMmX);
    const int top = truncPx(spot.yMm * pxPerMmY);
    const int right = truncPx((spot.xMm + g.L) * pxPerMmX);
    const int bottom = truncPx((spot.yMm + g.H) * pxPerMmY);
    if (setup.border)
        canvas.frameRect({left, top, right, bottom}, output::Colour::Black);
    const int x = truncPx((spot.xMm + 1) * pxPerMmX);
    int y = truncPx((spot.yMm + 1) * pxPerMmY);
    const int width = right - x - truncPx(0.5 * pxPerMmX);
    for (const LabelText& t : texts) {
        canvas.setFont(font, t.setup->fontSize);
        canvas.setBold(t.setup->bold);
        const int h = lineHeight(canvas);
        if (y + h > bottom) {
            canvas.setBold(false);
            break;
        }
        if (!t.text.empty())
            canvas.drawText(x, y, fitWidth(canvas, t.text, width), output::TextBackground::Transparent);
        canvas.setBold(false);
        y += h;
    }
}

void drawLabelSample(output::Canvas& canvas, const LabelGeometry& g, int width, int height)
{
    using output::Colour;
    canvas.fillRect({0, 0, width, height}, Colour::White);
    canvas.frameRect({0, 0, width, height}, Colour::Black);
    canvas.fillRect({25, 10, 235, 307}, Colour::Black);
    canvas.fillRect({23, 8, 233, 305}, Colour::White);
    canvas.frameRect({23, 8, 233, 305}, Colour::Black);
    // At most as many rows and columns as can show on the page: a style of
    // thousands of rows draws what is seen, not every label.
    const int rows = std::min(g.rows, 400);
    const int columns = std::min(g.columns, 300);
    int y = truncPx(8 + g.MT + 1);
    for (int r = 0; r < rows && y < height; ++r) {
        if (r > 0)
            y = truncPx(g.H + g.GV + y);
        int x = truncPx(23 + g.ML + 1);
        for (int c = 0; c < columns && x < width; ++c) {
            canvas.frameRect({x, y, truncPx(x + g.L), truncPx(y + g.H)}, Colour::Black);
            x = truncPx(g.L + g.GH + x);
        }
    }
    canvas.fillRect({truncPx(233 - g.MR), 9, 232, 304}, Colour::White);
    canvas.fillRect({24, truncPx(305 - g.MB), 232, 304}, Colour::White);
    canvas.fillRect({235, 1, width - 1, height - 1}, Colour::White);
    canvas.fillRect({1, 307, width - 1, height - 1}, Colour::White);
    const int l = truncPx(23 + g.ML);
    const int t = truncPx(8 + g.MT);
    const int r = truncPx(233 - g.MR);
    const int b = truncPx(305 - g.MB);
    canvas.setPen(Colour::Black, output::PenStyle::Dotted);
    canvas.drawLine(l, t, r, t);
    canvas.drawLine(r, t, r, b);
    canvas.drawLine(r, b, l, b);
    canvas.drawLine(l, b, l, t);
}

std::array<int, 3> labelCounts(const engine::Project& project, const engine::Settings& settings,
                               const std::array<bool, 3>& kinds)
{
    std::array<int, 3> counts{};
    for (LabelKind k : kLabelKinds) {
        const auto i = static_cast<size_t>(kindIndex(k));
        if (!kinds[i])
            continue;
        for (const LabelItem& item : labelItems(project, settings, k))
            counts[i] += item.count;
    }
    return counts;
}

LabelJob labelJob(const LabelDefinitions& d, int styleIndex, const engine::Project& project,
                  const engine::Settings& settings, const std::tm& now)
{
    LabelJob job;
    const int i = styleIndex >= 0 ? styleIndex : d.activeStyle();
    if (i >= 0 && i < static_cast<int>(d.styles.size()))
        job.style = d.styles[static_cast<size_t>(i)];
    job.definitions = d;
    for (LabelKind k : kLabelKinds)
        job.kinds[static_cast<size_t>(kindIndex(k))] = d.kind(k).output;
    job.font = settings.DefFont;
    job.values = labelValues(project, settings, now);
    return job;
}

LabelPrintOutcome printLabels(output::PrintTarget& target, const engine::Project& project,
                              const engine::Settings& settings, const LabelJob& job, const LabelPaper& paperOffsets)
{
    LabelPrintOutcome out;
    const engine::Result<LabelGeometry> geometry = labelGeometry(job.style);
    if (!geometry.ok()) {
        out.status = geometry.error();
        return out;
    }
    const output::PageGeometry page = target.geometry();
    const double px = pixelsPerMm(page.dpi);
    const double py = pixelsPerMm(page.dpi);
    LabelPaper paper = paperOffsets;
    paper.printableWidthMm = page.PW / px;
    paper.printableHeightMm = page.PH / py;
    out.status = checkLabelStyle(job.style, *geometry, paper);
    if (!out.status.ok())
        return out;
    const std::array<int, 3> counts = labelCounts(project, settings, job.kinds);
    if (counts[0] + counts[1] + counts[2] == 0) {
        out.status = Status(Msg::NoLabelsToPrint);
        return out;
    }
    const LabelGeometry g = onPrinter(*geometry, paper);

    target.beginDocument(output::Orientation::Portrait);
    out.pages = 1;
    int row = 0;
    int column = 0;
    bool pageFull = false;
    for (LabelKind k : kLabelKinds) {
        if (!job.kinds[static_cast<size_t>(kindIndex(k))])
            continue;
        const LabelKindSetup& setup = job.definitions.kind(k);
        for (const LabelItem& item : labelItems(project, settings, k)) {
            if (item.count <= 0)
                continue;
            const std::vector<LabelText> texts = labelTexts(setup, item, job.values);
            for (int n = 0; n < item.count; ++n) {
                if (pageFull) {
                    target.newPage();
                    ++out.pages;
                    pageFull = false;
                }
                drawLabel(target.canvas(), job.font, px, py, g, labelSpot(g, row, column), setup, texts);
                ++out.labels;
                if (++column == g.columns) {
                    column = 0;
                    if (++row == g.rows) {
                        row = 0;
                        pageFull = true;
                    }
                }
            }
        }
    }
    target.endDocument();
    return out;
}

} // namespace labels
