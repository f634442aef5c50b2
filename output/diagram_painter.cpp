#include "output/diagram_painter.h"

#include <algorithm>
#include <cmath>

#include "output/text_trim.h"

namespace output {

namespace {

using engine::LengthUnit;

constexpr int kDiagramFontSize = 8;
constexpr int kDefaultHatchSpacing = 30;
// Offcuts thinner than this (10 mm) get no size texts: they would not fit.
constexpr std::int32_t kMinOffcutForText = 100;

LengthUnit lengthUnit(const engine::Settings& s) { return engine::lengthUnitFromInt(s.JedMere); }
engine::AreaUnit areaUnit(const engine::Settings& s) { return engine::areaUnitFromInt(s.AreaStyle); }

} // namespace

PartSizeTexts partSizeTexts(const engine::Project& project, const engine::PlacedElement& element,
                            LengthUnit tableUnit, LengthUnit shownUnit)
{
    const engine::TextTable& parts = project.parts;
    const int row = element.enb;
    const engine::Footprint net = engine::partNetSize(parts, row, tableUnit);
    const std::string lengthMarks = parts.cell(row, engine::PartCol::Sign + 0) + parts.cell(row, engine::PartCol::Sign + 1);
    const std::string widthMarks = parts.cell(row, engine::PartCol::Sign + 2) + parts.cell(row, engine::PartCol::Sign + 3);
    const std::string lengthText = engine::FormatLength(net.len, shownUnit) + lengthMarks;
    const std::string widthText = engine::FormatLength(net.wid, shownUnit) + widthMarks;
    if (element.rot == 1)
        return {widthText, lengthText};
    return {lengthText, widthText};
}

OffcutSize offcutShownSize(const engine::Offcut& offcut, std::int32_t sheetLength, std::int32_t sheetHeight,
                           std::int32_t kerf)
{
    OffcutSize size;
    size.width = std::int64_t{offcut.x1} - offcut.x - kerf + (offcut.x1 == sheetLength ? kerf : 0);
    size.height = std::int64_t{offcut.y1} - offcut.y - kerf + (offcut.y1 == sheetHeight ? kerf : 0);
    return size;
}

void hatchRect(Canvas& canvas, const Rect& r, int spacing)
{
    // A spacing of 0 would never leave the loop; the stored setting is 5..50.
    const int k = spacing >= 1 ? spacing : kDefaultHatchSpacing;
    canvas.setPen(Colour::Black, PenStyle::Dotted);
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    for (long d = 0; d <= long{w} + h; d += k) {
        const int di = static_cast<int>(d);
        const int fromX = di <= w ? r.left + di : r.right;
        const int fromY = di <= w ? r.top : r.top + di - w;
        const int toX = di <= h ? r.left : r.left + di - h;
        const int toY = di <= h ? r.top + di : r.bottom;
        canvas.drawLine(fromX, fromY, toX, toY);
    }
    canvas.setPen(Colour::Black, PenStyle::Solid);
}

DiagramPainter::DiagramPainter(const engine::Project& project, const engine::Settings& settings,
                               const engine::LanguageTable& language)
    : m_project(project), m_settings(settings), m_language(language)
{
}

std::string DiagramPainter::caption(int group) const
{
    const engine::SheetInstance* sheet = groupSheet(m_project, group);
    if (!sheet)
        return {};
    const LengthUnit unit = lengthUnit(m_settings);
    const std::string u = engine::LengthUnitLabel(unit, true);
    const auto& g = m_project.result.groups[static_cast<size_t>(group)];
    return m_language.text(70) + " " + engine::FormatLength(sheet->len, unit) + u + " x "
        + engine::FormatLength(sheet->wid, unit) + u + " " + m_language.text(38) + "="
        + engine::FormatArea(std::int64_t{sheet->len} * sheet->wid, areaUnit(m_settings), true) + " (x"
        + std::to_string(g.multiplicity) + ")";
}

DiagramPainter::PaintOutcome DiagramPainter::paint(Canvas& canvas, int group, int boxWidth, int boxHeight,
                                                   DiagramState& state) const
{
    PaintOutcome out;
    if (m_project.sheetRowCount() == 0)
        return out;
    canvas.setFont(m_settings.DefFont, kDiagramFontSize);
    const int count = static_cast<int>(m_project.result.groups.size());
    out.groupCount = count;
    out.group = std::clamp(group, 0, std::max(count - 1, 0));
    out.groupNumber = std::to_string(out.group + 1);
    state.selectedOffcut = kNoSelection;

    canvas.fillRect(Rect{0, 0, boxWidth, boxHeight}, Colour::White);
    canvas.frameRect(Rect{0, 0, boxWidth, boxHeight}, Colour::Black);

    const engine::SheetInstance* sheet = groupSheet(m_project, out.group);
    if (!sheet)
        return out;
    const float s = diagramScale(sheet->len, sheet->wid, boxWidth, boxHeight);
    if (!(s > 0.0F))
        return out;
    out.caption = caption(out.group);
    out.drawn = true;

    const LengthUnit unit = lengthUnit(m_settings);
    const std::int32_t tnb = sheet->tnb;
    for (const engine::PlacedElement& e : m_project.result.elements) {
        if (e.tnb != tnb)
            continue;
        const Rect r = pieceRect(e, s);
        const PartSizeTexts texts = partSizeTexts(m_project, e, unit, unit);
        const int acrossWidth = canvas.textWidth(texts.across);
        canvas.drawText(r.left + (r.right - r.left - acrossWidth) / 2, r.top + 1, texts.across);
        canvas.drawText(r.left + 1, r.top + (r.bottom - r.top) / 2, texts.down);
        canvas.drawText(toPixel((static_cast<double>(e.x) + e.x1) / 2.0, s), toPixel((static_cast<double>(e.y) + e.y1) / 2.0, s),
                        trimmed(m_project.parts.cell(e.enb, engine::PartCol::Ini)));
        canvas.frameRect(r, Colour::Black);
    }

    const std::int32_t kerf = m_settings.Testera;
    for (const engine::Offcut& o : m_project.result.offcuts) {
        if (o.tnb != tnb)
            continue;
        const Rect r = pieceRect(o, s);
        hatchRect(canvas, r, m_settings.LayoutSrafura);
        canvas.frameRect(r, Colour::Black);
        if (std::min(o.x1 - o.x, o.y1 - o.y) > kMinOffcutForText) {
            const OffcutSize size = offcutShownSize(o, sheet->len, sheet->wid, kerf);
            const auto widthText = engine::FormatLength(static_cast<engine::Length>(size.width), unit);
            const auto heightText = engine::FormatLength(static_cast<engine::Length>(size.height), unit);
            const double sd = s;
            canvas.drawText(static_cast<int>(std::trunc((static_cast<double>(o.x) + o.x1) / (2.0 * sd) - 10.0)),
                            static_cast<int>(std::trunc(o.y / sd + 4.0)), widthText);
            canvas.drawText(static_cast<int>(std::trunc(o.x / sd + 4.0)),
                            static_cast<int>(std::trunc((static_cast<double>(o.y) + o.y1) / (2.0 * sd))), heightText);
        }
    }
    return out;
}

std::string DiagramPainter::pieceSizeText(int group, const PieceHit& piece) const
{
    const engine::SheetInstance* sheet = groupSheet(m_project, group);
    if (!sheet || piece.index < 0)
        return {};
    const LengthUnit unit = lengthUnit(m_settings);
    const std::string u = engine::LengthUnitLabel(unit, true);
    const std::int32_t kerf = m_settings.Testera;
    std::int64_t w = 0;
    std::int64_t h = 0;
    engine::Area area = 0;
    if (piece.kind == PieceKind::Offcut && piece.index < static_cast<int>(m_project.result.offcuts.size())) {
        const OffcutSize size =
            offcutShownSize(m_project.result.offcuts[static_cast<size_t>(piece.index)], sheet->len, sheet->wid, kerf);
        w = size.width;
        h = size.height;
        area = static_cast<engine::Area>(std::trunc(static_cast<double>(w) * static_cast<double>(h)));
    } else if (piece.kind == PieceKind::Part && piece.index < static_cast<int>(m_project.result.elements.size())) {
        const engine::PlacedElement& e = m_project.result.elements[static_cast<size_t>(piece.index)];
        w = std::int64_t{e.x1} - e.x - kerf;
        h = std::int64_t{e.y1} - e.y - kerf;
        area = w * h;
    } else {
        return {};
    }
    return m_language.text(36) + engine::FormatLength(static_cast<engine::Length>(w), unit) + u + " "
        + m_language.text(37) + engine::FormatLength(static_cast<engine::Length>(h), unit) + u + " "
        + m_language.text(38) + "=" + engine::FormatArea(area, areaUnit(m_settings), true);
}

std::optional<std::string> DiagramPainter::mouseMove(Canvas& canvas, int group, int boxWidth, int boxHeight, int x,
                                                     int y, DiagramState& state) const
{
    const engine::SheetInstance* sheet = groupSheet(m_project, group);
    if (!sheet)
        return std::nullopt;
    const float s = diagramScale(sheet->len, sheet->wid, boxWidth, boxHeight);
    if (!(s > 0.0F))
        return std::nullopt;
    std::optional<std::string> text;

    const auto& offcuts = m_project.result.offcuts;
    for (size_t i = 0; i < offcuts.size(); ++i) {
        if (offcuts[i].tnb != sheet->tnb)
            continue;
        const int index = static_cast<int>(i);
        const Rect r = pieceRect(offcuts[i], s);
        if (strictlyInside(r, x, y)) {
            text = pieceSizeText(group, {PieceKind::Offcut, index});
            if (state.pieceUnderPointer != index) {
                state.pieceUnderPointer = index;
                canvas.frameRect(r, state.selectedOffcut == index ? Colour::Blue : Colour::Red);
            }
        } else {
            canvas.frameRect(r, Colour::Black);
        }
    }

    const auto& elements = m_project.result.elements;
    for (size_t i = 0; i < elements.size(); ++i) {
        if (elements[i].tnb != sheet->tnb)
            continue;
        const Rect r = pieceRect(elements[i], s);
        if (strictlyInside(r, x, y)) {
            text = pieceSizeText(group, {PieceKind::Part, static_cast<int>(i)});
            state.pieceUnderPointer = -1;
            canvas.frameRect(r, state.selectedOffcut == -1 ? Colour::Blue : Colour::Red);
        } else {
            canvas.frameRect(r, Colour::Black);
        }
    }
    canvas.setPen(Colour::Black, PenStyle::Solid);
    return text;
}

PreviewStatus paintManualPreview(Canvas& canvas, const std::string& fontFamily, std::int32_t sheetLength,
                                 std::int32_t sheetHeight, int boxWidth, int boxHeight,
                                 const std::vector<PreviewPiece>& pieces, std::int64_t waste,
                                 std::int64_t partsEntered, const engine::LanguageTable& language)
{
    PreviewStatus status;
    const float s = diagramScale(sheetLength, sheetHeight, boxWidth, boxHeight);
    if (!(s > 0.0F))
        return status;
    canvas.setFont(fontFamily, kDiagramFontSize);
    const auto box = [&](std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2) {
        const Rect r{toPixel(static_cast<double>(x1), s), toPixel(static_cast<double>(y1), s),
                     toPixel(static_cast<double>(x2), s), toPixel(static_cast<double>(y2), s)};
        canvas.fillRect(r, Colour::White);
        canvas.frameRect(r, Colour::Black);
        return r;
    };
    box(0, 0, sheetLength, sheetHeight);
    for (const PreviewPiece& p : pieces) {
        box(p.x, p.y, std::int64_t{p.x} + p.length, std::int64_t{p.y} + p.height);
        canvas.drawText(static_cast<int>(std::trunc(p.x / static_cast<double>(s) + 5.0)),
                        static_cast<int>(std::trunc(p.y / static_cast<double>(s) + 5.0)),
                        std::to_string(std::int64_t{p.number} + 1));
    }
    const std::int64_t hundredth = std::int64_t{sheetLength} * sheetHeight / 100;
    // A sheet under 100 square units would divide by zero; nothing is wasted on it.
    const std::int64_t yield = 100 - (hundredth != 0 ? waste / hundredth : 0);
    status.yield = language.text(34) + std::to_string(yield) + " %";
    status.pieces = language.text(35) + std::to_string(pieces.size()) + language.text(9) + std::to_string(partsEntered);
    return status;
}

} // namespace output
