#include "render/qt_canvas.h"

#include <QFontDatabase>
#include <QPainter>
#include <QPen>

namespace render {

namespace {

QRect toQRect(const output::Rect& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }

} // namespace

QString QtCanvas::availableFamily(const std::string& family)
{
    // A typeface the system does not have (Arial on Linux) is drawn in
    // DejaVu Sans, the same on every machine, rather than in whatever the
    // font configuration picks as its look-alike.
    static std::string lastAsked;
    static QString lastFound;
    if (family == lastAsked && !lastFound.isEmpty())
        return lastFound;
    const QString asked = QString::fromStdString(family);
    lastAsked = family;
    lastFound = QFontDatabase::hasFamily(asked) ? asked : QStringLiteral("DejaVu Sans");
    return lastFound;
}

QtCanvas::QtCanvas(QPainter& painter) : m_painter(painter), m_font(painter.font())
{
    m_painter.save();
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setBrush(Qt::NoBrush);
    setPen(output::Colour::Black);
}

QtCanvas::~QtCanvas() { m_painter.restore(); }

QColor QtCanvas::qtColour(output::Colour colour)
{
    switch (colour) {
    case output::Colour::White: return QColor(255, 255, 255);
    case output::Colour::Black: return QColor(0, 0, 0);
    case output::Colour::Red: return QColor(255, 0, 0);
    case output::Colour::Blue: return QColor(0, 0, 255);
    }
    return QColor(0, 0, 0);
}

void QtCanvas::setPen(output::Colour colour, output::PenStyle style)
{
    QPen pen(qtColour(colour));
    pen.setWidth(1);
    // Square caps reach half a pixel past each end point, so a one-pixel line
    // covers both of its end pixels, as the contract asks; flat caps would
    // leave the last one out.
    pen.setCapStyle(Qt::SquareCap);
    if (style == output::PenStyle::Dotted)
        pen.setStyle(Qt::DotLine);
    m_painter.setPen(pen);
}

void QtCanvas::setFont(const std::string& family, int pointSize)
{
    m_font = QFont(availableFamily(family));
    if (pointSize > 0)
        m_font.setPointSize(pointSize);
    m_font.setBold(m_bold);
    m_painter.setFont(m_font);
    m_metrics.reset();
}

void QtCanvas::setBold(bool bold)
{
    if (bold == m_bold)
        return;
    m_bold = bold;
    m_font.setBold(bold);
    m_painter.setFont(m_font);
    m_metrics.reset();
}

const QFontMetrics& QtCanvas::metrics()
{
    // Metrics of the font on this device (its resolution decides the pixel
    // size of a point); made once per font because the diagram asks for the
    // width of every part's text.
    if (!m_metrics)
        m_metrics.emplace(m_font, m_painter.device());
    return *m_metrics;
}

void QtCanvas::drawLine(int x1, int y1, int x2, int y2) { m_painter.drawLine(x1, y1, x2, y2); }

void QtCanvas::frameRect(const output::Rect& r, output::Colour colour)
{
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    if (w <= 0 || h <= 0)
        return;
    // Four fills rather than a stroked rectangle: fills of whole pixels are
    // exact on every device, while a stroke's pixels depend on the pen.
    const QColor c = qtColour(colour);
    m_painter.fillRect(QRect(r.left, r.top, w, 1), c);
    m_painter.fillRect(QRect(r.left, r.bottom - 1, w, 1), c);
    m_painter.fillRect(QRect(r.left, r.top, 1, h), c);
    m_painter.fillRect(QRect(r.right - 1, r.top, 1, h), c);
}

void QtCanvas::fillRect(const output::Rect& r, output::Colour colour)
{
    if (r.right <= r.left || r.bottom <= r.top)
        return;
    m_painter.fillRect(toQRect(r), qtColour(colour));
}

void QtCanvas::drawText(int x, int y, const std::string& text, output::TextBackground background)
{
    if (text.empty())
        return;
    const QString s = QString::fromStdString(text);
    const QFontMetrics& fm = metrics();
    if (background == output::TextBackground::White)
        m_painter.fillRect(QRect(x, y, fm.horizontalAdvance(s), fm.height()), Qt::white);
    const QPen pen = m_painter.pen();
    m_painter.setPen(Qt::black);
    m_painter.drawText(x, y + fm.ascent(), s);
    m_painter.setPen(pen);
}

int QtCanvas::textWidth(const std::string& text) { return metrics().horizontalAdvance(QString::fromStdString(text)); }

int QtCanvas::textHeight(const std::string& text)
{
    if (text.empty())
        return 0;
    return metrics().height();
}

} // namespace render
