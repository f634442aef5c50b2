#include "app/diagram_view.h"

#include <algorithm>

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "app/qt_canvas.h"
#include "app/qt_text.h"
#include "output/diagram_key.h"
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

std::string DiagramView::drawKey() const { return output::diagramKey(m_project, m_settings, m_language); }

std::size_t DiagramView::tablesKey() const { return output::tablesKey(m_project); }

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
