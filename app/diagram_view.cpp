#include "app/diagram_view.h"

#include <algorithm>
#include <cstdint>
#include <functional>

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "app/qt_canvas.h"
#include "app/qt_text.h"
#include "output/layout_groups.h"
#include "output/offcut_recut.h"

namespace app {

namespace {

// A piece index no piece has: makes a reframe draw the highlight even when
// the pointer is over the piece it was last over.
constexpr int kForceReframe = -2;

constexpr double kMetresPerInch = 0.0254;

QSize imageSize(const QWidget& w) { return w.size().expandedTo(QSize(1, 1)); }

} // namespace

DiagramView::DiagramView(engine::Project& project, const engine::Settings& settings,
                         const engine::LanguageTable& language, QWidget* parent)
    : QWidget(parent), m_project(project), m_settings(settings), m_language(language)
{
    setObjectName("Image5");
    setMouseTracking(true);
    // The whole surface is painted from the image; nothing behind shows.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

std::string DiagramView::drawKey() const
{
    // The result is fingerprinted too, so that a result changed by a command
    // that did not ask for a refresh is never shown from a stale image.
    std::uint64_t h = 1469598103934665603ULL;
    const auto mix = [&h](std::int64_t v) {
        h ^= static_cast<std::uint64_t>(v);
        h *= 1099511628211ULL;
    };
    const engine::CuttingResult& r = m_project.result;
    mix(m_project.sheetRowCount());
    mix(static_cast<std::int64_t>(m_project.input.sheets.size()));
    for (const engine::SheetInstance& s : m_project.input.sheets) {
        mix(s.len);
        mix(s.wid);
    }
    mix(static_cast<std::int64_t>(r.elements.size()));
    for (const engine::PlacedElement& e : r.elements)
        for (const std::int32_t v : {e.tnb, e.x, e.y, e.x1, e.y1, e.rot, e.enb})
            mix(v);
    mix(static_cast<std::int64_t>(r.offcuts.size()));
    for (const engine::Offcut& o : r.offcuts)
        for (const std::int32_t v : {o.tnb, o.x, o.y, o.x1, o.y1})
            mix(v);
    const engine::Settings& s = m_settings;
    return std::to_string(h) + '\n' + s.DefFont + '\n' + std::to_string(s.LayoutSrafura) + ' '
        + std::to_string(s.JedMere) + ' ' + std::to_string(s.AreaStyle) + ' ' + std::to_string(s.Testera) + ' '
        + (s.PrintDuplicate ? "1" : "0") + '\n' + m_language.text(36) + '\n' + m_language.text(38) + '\n'
        + m_language.text(70);
}

std::size_t DiagramView::tablesKey() const
{
    // The part texts (sizes, band marks, labels) are written on the drawing
    // straight from the tables, which may be edited after a run.
    std::size_t h = 0;
    const std::hash<std::string> hash;
    for (const engine::TextTable* t : {&m_project.sheets, &m_project.parts})
        for (int row = 1; row <= t->rowCount(); ++row)
            for (const std::string& cell : t->row(row))
                h = h * 31 + hash(cell);
    return h;
}

void DiagramView::refresh(bool toFirstGroup)
{
    if (toFirstGroup)
        m_group = 0;
    m_dirty = true;
    clearSelection();
    if (m_project.sheetRowCount() > 0) {
        output::GroupLayouts(m_project, m_settings.PrintDuplicate);
        const int count = static_cast<int>(m_project.result.groups.size());
        m_group = std::clamp(m_group, 0, std::max(count - 1, 0));
        const output::DiagramPainter painter(m_project, m_settings, m_language);
        emit stripChanged(Strip{m_group, count, qs(painter.caption(m_group))});
    }
    // Regrouping changes nothing the keys cover, so they are taken afterwards.
    m_refreshedWith = drawKey();
    m_tablesDrawn = tablesKey();
    update();
}

void DiagramView::setGroup(int group)
{
    if (group == m_group)
        return;
    m_group = group;
    refresh();
}

void DiagramView::ensureDrawn()
{
    if (drawKey() != m_refreshedWith)
        refresh();
    if (m_dirty || m_image.size() != imageSize(*this))
        render();
}

void DiagramView::render()
{
    m_image = QImage(imageSize(*this), QImage::Format_RGB32);
    // The image takes the screen's resolution, so that the diagram's 8-point
    // texts are as large as the window's own.
    m_image.setDotsPerMeterX(qRound(logicalDpiX() / kMetresPerInch));
    m_image.setDotsPerMeterY(qRound(logicalDpiY() / kMetresPerInch));
    m_image.fill(palette().color(QPalette::Window));
    {
        QPainter p(&m_image);
        QtCanvas canvas(p);
        const output::DiagramPainter painter(m_project, m_settings, m_language);
        // Drawing the same group again at another size keeps the selection.
        const int selected = m_state.selectedOffcut;
        painter.paint(canvas, m_group, m_image.width(), m_image.height(), m_state);
        m_state.selectedOffcut = selected;
    }
    m_dirty = false;
    ++m_fullPaints;
    // The piece under a pointer that stayed where it was is framed again.
    if (m_pointerKnown && rect().contains(m_pointer))
        reframeAt(m_pointer, true);
}

void DiagramView::reframeAt(const QPoint& pos, bool forced)
{
    output::DiagramState state = m_state;
    if (forced)
        state.pieceUnderPointer = kForceReframe;
    std::optional<std::string> text;
    {
        QPainter p(&m_image);
        QtCanvas canvas(p);
        const output::DiagramPainter painter(m_project, m_settings, m_language);
        text = painter.mouseMove(canvas, m_group, m_image.width(), m_image.height(), pos.x(), pos.y(), state);
    }
    if (!forced || state.pieceUnderPointer != kForceReframe)
        m_state.pieceUnderPointer = state.pieceUnderPointer;
    if (text)
        emit pieceText(qs(*text));
    update();
}

void DiagramView::paintEvent(QPaintEvent* event)
{
    // Checked here rather than at every mouse move: the tables can only change
    // while another page is shown, and showing this one paints it.
    if (tablesKey() != m_tablesDrawn)
        refresh();
    const QImage& drawing = image();
    QPainter p(this);
    p.drawImage(event->rect(), drawing, event->rect());
}

void DiagramView::mouseMoveEvent(QMouseEvent* event)
{
    m_pointer = event->position().toPoint();
    m_pointerKnown = true;
    ensureDrawn();
    reframeAt(m_pointer, false);
}

void DiagramView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint()))
        return;
    if (output::clickDiagram(m_project.result, m_state) != output::ClickOutcome::Recut)
        return;
    refresh();
    emit recut();
}

void DiagramView::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // Back from a modal dialog (the settings): show what it changed without
    // waiting for the pointer.
    if (event->type() == QEvent::ActivationChange && isVisible() && drawKey() != m_refreshedWith)
        update();
}

void DiagramView::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    m_pointerKnown = false;
}

} // namespace app
