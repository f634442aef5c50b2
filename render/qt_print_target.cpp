#include "render/qt_print_target.h"

#include <QPageLayout>
#include <QPagedPaintDevice>

namespace render {

QtPrintTarget::QtPrintTarget(QPagedPaintDevice& device) : m_device(device) {}

QtPrintTarget::~QtPrintTarget() { finish(); }

void QtPrintTarget::beginDocument(output::Orientation orientation)
{
    const auto o = orientation == output::Orientation::Portrait ? QPageLayout::Portrait : QPageLayout::Landscape;
    m_device.setPageOrientation(o);
    if (!m_painter.isActive() && m_pages == 0) {
        if (!m_painter.begin(&m_device)) {
            m_failed = true;
            return;
        }
        m_canvas.emplace(m_painter);
        m_pages = 1;
        return;
    }
    newPage();
}

void QtPrintTarget::newPage()
{
    if (!m_painter.isActive())
        return;
    if (!m_device.newPage())
        m_failed = true;
    ++m_pages;
}

output::Canvas& QtPrintTarget::canvas()
{
    if (!m_canvas) {
        // Without an open painter nothing can be drawn; a canvas over an
        // inactive painter ignores what it is given.
        m_canvas.emplace(m_painter);
    }
    return *m_canvas;
}

output::PageGeometry QtPrintTarget::geometry() const
{
    return output::PageGeometry::of(m_device.width(), m_device.height(), m_device.logicalDpiX());
}

bool QtPrintTarget::finish()
{
    m_canvas.reset();
    if (m_painter.isActive() && !m_painter.end())
        m_failed = true;
    return !m_failed && m_pages > 0;
}

} // namespace render
