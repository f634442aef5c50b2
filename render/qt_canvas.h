#pragma once

#include <optional>
#include <string>

#include <QFont>
#include <QFontMetrics>

#include "output/canvas.h"

class QPainter;

namespace render {

// The drawing surface of the layout view and of printing: output::Canvas
// over a QPainter on any paint device (an off-screen QImage, the printer).
// Coordinates are the device's pixels; the painter is expected to carry no
// transform. Lines, frames and fills are drawn without antialiasing so that
// they land on exactly the pixels the canvas contract names; font sizes in
// points follow the device's logical resolution.
//
// The canvas saves the painter's state when it is made and restores it when
// it goes, so the painter can be used for other drawing afterwards.
class QtCanvas : public output::Canvas {
public:
    explicit QtCanvas(QPainter& painter);
    ~QtCanvas() override;
    QtCanvas(const QtCanvas&) = delete;
    QtCanvas& operator=(const QtCanvas&) = delete;

    void setPen(output::Colour colour, output::PenStyle style = output::PenStyle::Solid) override;
    void setFont(const std::string& family, int pointSize) override;
    void setBold(bool bold) override;
    void drawLine(int x1, int y1, int x2, int y2) override;
    void frameRect(const output::Rect& r, output::Colour colour) override;
    void fillRect(const output::Rect& r, output::Colour colour) override;
    void drawText(int x, int y, const std::string& text,
                  output::TextBackground background = output::TextBackground::White) override;
    [[nodiscard]] int textWidth(const std::string& text) override;
    [[nodiscard]] int textHeight(const std::string& text) override;

    // `family`, or DejaVu Sans when the system has no such typeface.
    [[nodiscard]] static QString availableFamily(const std::string& family);

    // The Qt colour of a canvas colour.
    [[nodiscard]] static QColor qtColour(output::Colour colour);

private:
    const QFontMetrics& metrics();

    QPainter& m_painter;
    QFont m_font;
    bool m_bold = false;
    std::optional<QFontMetrics> m_metrics;  // of m_font on the painter's device
};

} // namespace render
