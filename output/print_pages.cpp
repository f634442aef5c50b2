#include "output/print_pages.h"

#include <algorithm>
#include <cmath>

#include "engine/date_format.h"
#include "output/diagram_hit_test.h"
#include "output/diagram_painter.h"
#include "output/report_text.h"
#include "output/text_trim.h"

namespace output {

namespace {

constexpr int kPartFontSize = 8;
constexpr int kOffcutFontSize = 6;
constexpr int kHeaderFontSize = 7;
constexpr int kPageTitleFontSize = 12;
constexpr int kPrintedOnFontSize = 8;
constexpr int kSmallestTextSize = 4;

int trunc(double v)
{
    if (!std::isfinite(v))
        return 0;
    return static_cast<int>(std::clamp(std::trunc(v), -1.0e9, 1.0e9));
}

std::string baseName(const std::string& path)
{
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

engine::LengthUnit settingsUnit(const engine::Settings& s) { return engine::lengthUnitFromInt(s.JedMere); }

// The groups of first..last that have a sheet to draw.
std::vector<int> drawableGroups(const engine::Project& project, int first, int last)
{
    std::vector<int> out;
    const int count = static_cast<int>(project.result.groups.size());
    for (int g = std::max(first, 0); g <= std::min(last, count - 1); ++g) {
        const engine::SheetInstance* sheet = groupSheet(project, g);
        if (sheet && sheet->len > 0 && sheet->wid > 0)
            out.push_back(g);
    }
    return out;
}

} // namespace

PageGeometry PageGeometry::of(int PW, int PH, int dpi)
{
    PageGeometry g;
    g.PW = PW;
    g.PH = PH;
    g.dpi = std::max(dpi, 1);
    g.pw = static_cast<int>(std::int64_t{PW} * 9 / 10);
    g.ph = static_cast<int>(std::int64_t{PH} * 9 / 10);
    g.L0 = static_cast<int>(std::int64_t{PW} * 5 / 100);
    g.T0 = static_cast<int>(std::int64_t{PH} / 10);
    g.p = std::max(g.dpi / 72, 1);
    return g;
}

bool validPerPage(int perPage) { return perPage == 1 || perPage == 2 || perPage == 4; }

Orientation layoutOrientation(int perPage) { return perPage == 2 ? Orientation::Portrait : Orientation::Landscape; }

std::vector<Point> layoutSlots(const PageGeometry& g, int perPage)
{
    const int lowerRow = g.T0 + g.ph / 2 + 8 * g.p;
    switch (perPage) {
    case 2: return {{g.L0, g.T0}, {g.L0, lowerRow}};
    case 4: return {{g.L0, g.T0}, {g.L0 + g.pw / 2, g.T0}, {g.L0, lowerRow}, {g.L0 + g.pw / 2, lowerRow}};
    default: return {{g.L0, g.T0}};
    }
}

float printScale(const PageGeometry& g, int perPage, std::int32_t sheetLength, std::int32_t sheetHeight)
{
    if (sheetLength <= 0 || sheetHeight <= 0)
        return 0.0F;
    const float height = static_cast<float>(g.ph - g.T0 - 16 * g.p);
    const float L = static_cast<float>(sheetLength);
    const float H = static_cast<float>(sheetHeight);
    float sx = static_cast<float>(g.pw) / L;
    float sy = height / H;
    if (perPage == 2)
        sy = height / (2.0F * H);
    else if (perPage == 4) {
        sx = static_cast<float>(g.pw) / (2.0F * L);
        sy = height / (2.0F * H);
    }
    return std::max(std::min(sx, sy), 0.0F);
}

std::vector<PlannedPage> planLayoutPages(const std::vector<int>& groups, int perPage, int copies)
{
    std::vector<PlannedPage> pages;
    if (!validPerPage(perPage) || groups.empty())
        return pages;
    for (int copy = 0; copy < copies; ++copy) {
        PlannedPage page;
        for (int g : groups) {
            page.push_back({g, static_cast<int>(page.size())});
            if (static_cast<int>(page.size()) == perPage) {
                pages.push_back(std::move(page));
                page.clear();
            }
        }
        if (!page.empty())
            pages.push_back(std::move(page));
    }
    return pages;
}

std::string pageTitleText(const PrintContext& c, int pageNumber)
{
    return " " + c.settings.CompanyName + " " + c.settings.CompanyDetails + std::to_string(pageNumber) + " -"
        + baseName(c.project.fileName);
}

std::string printedOnText(const PrintContext& c)
{
    return " " + c.language.text(189) + " " + engine::FormatDateTime(c.settings.DateFormat, c.now) + " "
        + engine::FormatDateTime("hh:nn:ss", c.now);
}

std::string diagramHeaderText(const PrintContext& c, int group, std::int64_t partArea)
{
    const engine::SheetInstance* sheet = groupSheet(c.project, group);
    if (!sheet)
        return {};
    const engine::LengthUnit unit = settingsUnit(c.settings);
    const std::int64_t area = std::int64_t{sheet->len} * sheet->wid;
    const std::int64_t hundredth = area / 100;
    const double yield = hundredth != 0 ? static_cast<double>(partArea) / static_cast<double>(hundredth) : 0.0;
    const std::string description = c.project.sheets.cell(sheet->row, engine::SheetCol::Descr);
    const auto& g = c.project.result.groups[static_cast<size_t>(group)];
    return description + " " + engine::FormatLength(sheet->len, unit) + "x" + engine::FormatLength(sheet->wid, unit)
        + "=" + engine::FormatArea(area, engine::areaUnitFromInt(c.settings.AreaStyle), true)
        + " PI%=" + engine::formatGeneral(static_cast<float>(yield), 4, 2) + " (x" + std::to_string(g.multiplicity)
        + ")";
}

std::int64_t drawPrintedDiagram(Canvas& canvas, const PrintContext& c, const PageGeometry& g, int group, int ox,
                                int oy, float s)
{
    const engine::SheetInstance* sheet = groupSheet(c.project, group);
    if (!sheet || !(s > 0.0F))
        return -1;
    const double sd = s;
    const auto rectOf = [&](const auto& piece) {
        return Rect{trunc(ox + piece.x * sd), trunc(oy + piece.y * sd), trunc(ox + piece.x1 * sd),
                    trunc(oy + piece.y1 * sd)};
    };
    const engine::LengthUnit unit = settingsUnit(c.settings);
    std::int64_t partArea = 0;

    canvas.setBold(false);
    canvas.setFont(c.settings.DefFont, kPartFontSize);
    canvas.setPen(Colour::Black);
    for (const engine::PlacedElement& e : c.project.result.elements) {
        if (e.tnb != sheet->tnb)
            continue;
        partArea += (std::int64_t{e.x1} - e.x) * (std::int64_t{e.y1} - e.y);
        const Rect r = rectOf(e);
        const PartSizeTexts texts = partSizeTexts(c.project, e, unit, unit);
        canvas.drawText(r.left + (r.right - r.left - canvas.textWidth(texts.across)) / 2, r.top + 1, texts.across);
        canvas.drawText(r.left + 1, r.top + (r.bottom - r.top) / 2, texts.down);
        const std::string label = trimmed(c.project.parts.cell(e.enb, engine::PartCol::Ini));
        if (!label.empty()) {
            // At the bottom right corner, kept inside the part so that a long
            // label does not run into its neighbour.
            int x = trunc(r.right - g.points(16));
            int y = trunc(r.bottom - g.points(8));
            x = std::max(std::min(x, r.right - 1 - canvas.textWidth(label)), r.left + 1);
            y = std::max(std::min(y, r.bottom - 1 - canvas.textHeight(label)), r.top + 1);
            canvas.drawText(x, y, label);
        }
        canvas.frameRect(r, Colour::Black);
    }

    canvas.setFont(c.settings.DefFont, kOffcutFontSize);
    for (const engine::Offcut& o : c.project.result.offcuts) {
        if (o.tnb != sheet->tnb)
            continue;
        const Rect r = rectOf(o);
        hatchRect(canvas, r, c.settings.LayoutSrafura);
        canvas.frameRect(r, Colour::Black);
        if (o.x1 - o.x > c.settings.Visak && o.y1 - o.y > c.settings.Visak) {
            const OffcutSize size = offcutShownSize(o, sheet->len, sheet->wid, c.settings.Testera);
            canvas.drawText(trunc((static_cast<double>(o.x) + o.x1) * sd / 2.0 + ox - 5), trunc(oy + o.y * sd + 4),
                            engine::FormatLength(static_cast<engine::Length>(size.width), unit));
            canvas.drawText(trunc(ox + o.x * sd + 5), trunc((static_cast<double>(o.y) + o.y1) * sd / 2.0 + oy),
                            engine::FormatLength(static_cast<engine::Length>(size.height), unit));
        }
    }
    return partArea;
}

void drawPageTexts(Canvas& canvas, const PrintContext& c, const PageGeometry& g, int pageNumber)
{
    canvas.setBold(false);
    canvas.setFont(c.settings.DefFont, kPageTitleFontSize);
    canvas.drawText(0, 8 * g.p, pageTitleText(c, pageNumber), TextBackground::Transparent);
    canvas.setFont(c.settings.DefFont, kPrintedOnFontSize);
    canvas.drawText(g.p, 20 * g.p, printedOnText(c), TextBackground::Transparent);
    canvas.drawText(g.PW - 160 * g.p, g.PH - 20 * g.p, " Velmora ", TextBackground::Transparent);
    canvas.frameRect(Rect{0, 8 * g.p, g.pw, g.T0 / 2}, Colour::Black);
}

void drawDiagramHeader(Canvas& canvas, const PrintContext& c, int group, int ox, int oy, std::int64_t partArea,
                       const PageGeometry& g)
{
    canvas.setBold(false);
    canvas.setFont(c.settings.DefFont, kHeaderFontSize);
    canvas.drawText(ox, oy - trunc(g.points(14)), diagramHeaderText(c, group, partArea), TextBackground::Transparent);
}

int printLayouts(PrintTarget& target, const PrintContext& c, int first, int last, int perPage, int copies)
{
    const std::vector<PlannedPage> pages = planLayoutPages(drawableGroups(c.project, first, last), perPage, copies);
    if (pages.empty())
        return 0;
    target.beginDocument(layoutOrientation(perPage));
    for (size_t i = 0; i < pages.size(); ++i) {
        if (i > 0)
            target.newPage();
        Canvas& canvas = target.canvas();
        const PageGeometry g = target.geometry();
        const std::vector<Point> slots = layoutSlots(g, perPage);
        bool pageTexts = false;
        for (const PlacedDiagram& d : pages[i]) {
            const Point o = slots[static_cast<size_t>(d.slot)];
            const engine::SheetInstance* sheet = groupSheet(c.project, d.group);
            const float s = printScale(g, perPage, sheet->len, sheet->wid);
            const std::int64_t area = drawPrintedDiagram(canvas, c, g, d.group, o.x, o.y, s);
            if (area < 0)
                continue;
            // The page texts are the same for every diagram of the page.
            if (!pageTexts)
                drawPageTexts(canvas, c, g, static_cast<int>(i) + 1);
            pageTexts = true;
            drawDiagramHeader(canvas, c, d.group, o.x, o.y, area, g);
        }
    }
    target.endDocument();
    return static_cast<int>(pages.size());
}

void printCover(PrintTarget& target, const PrintContext& c)
{
    target.beginDocument(Orientation::Portrait);
    Canvas& canvas = target.canvas();
    const PageGeometry g = target.geometry();
    const engine::ProjectDetails& d = c.project.details;
    const int x0 = g.PW / 7;
    const int value = x0 + g.PW / 7;
    double y = g.PH / 4;
    const auto row = [&](const std::string& caption, const std::string& text) {
        if (!caption.empty())
            canvas.drawText(x0, static_cast<int>(y), caption, TextBackground::Transparent);
        canvas.drawText(value, static_cast<int>(y), text, TextBackground::Transparent);
    };
    const auto step = [&](double lines, double lh) { y = std::trunc(y + lines * lh); };

    canvas.setFont(c.settings.DefFont, 18);
    canvas.setBold(true);
    canvas.drawText(x0, static_cast<int>(y), d.coverTitle, TextBackground::Transparent);
    step(3, g.points(18));
    canvas.setBold(false);
    canvas.setFont(c.settings.DefFont, 12);
    const double lh = g.points(12);
    row(c.language.text(264) + ":", d.clientName + " " + d.clientSurname);
    step(2, lh);
    row(c.language.text(259) + ":", d.clientAddress[0]);
    step(1.3, lh);
    row({}, d.clientAddress[1]);
    step(1.3, lh);
    row({}, d.clientAddress[2]);
    step(2, lh);
    row(c.language.text(260) + ":", d.clientPhone);
    step(2, lh);
    row(c.language.text(261) + ":", d.clientNote);

    y = static_cast<double>(std::int64_t{g.PH} * 3 / 4);
    row(c.language.text(255) + ":", d.author);
    step(2, lh);
    row(c.language.text(266) + ":", c.settings.CompanyName);
    step(2, lh);
    row(c.language.text(24), engine::FormatDateTime(c.settings.DateFormat + " ' - ' hh:mm ", c.now));
    target.endDocument();
}

int printText(PrintTarget& target, const engine::RichText& text, int pointSize)
{
    if (text.empty())
        return 0;
    target.beginDocument(Orientation::Portrait);
    Canvas& canvas = target.canvas();
    PageGeometry g = target.geometry();
    const int usable = g.PW - 2 * g.L0;

    // The size at which the widest line fits the page width.
    int base = std::max(pointSize, kSmallestTextSize);
    const auto fits = [&](int size) {
        for (size_t i = 0; i < text.size(); ++i) {
            canvas.setBold(boldInEffect(text, i));
            canvas.setFont(kPrintTextFont, std::max(size + text[i].sizeDelta, 1));
            if (canvas.textWidth(text[i].text) > usable)
                return false;
        }
        return true;
    };
    while (base > kSmallestTextSize && !fits(base))
        --base;

    int pages = 1;
    const int top = g.T0 / 2;
    int y = top;
    bool bold = false;
    for (const engine::RichLine& line : text) {
        bold = bold || line.bold;
        canvas.setBold(bold);
        canvas.setFont(kPrintTextFont, std::max(base + line.sizeDelta, 1));
        const int lh = std::max(canvas.textHeight("Ag"), 1);
        if (y + lh > g.PH - top && y > top) {
            target.newPage();
            g = target.geometry();
            y = top;
            ++pages;
            canvas.setBold(bold);
            canvas.setFont(kPrintTextFont, std::max(base + line.sizeDelta, 1));
        }
        canvas.drawText(g.L0, y, line.text, TextBackground::Transparent);
        y += lh;
    }
    target.endDocument();
    return pages;
}

} // namespace output
