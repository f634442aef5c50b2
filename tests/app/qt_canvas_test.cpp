#include "app/qt_canvas.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

using app::QtCanvas;
using output::Colour;
using output::PenStyle;
using output::Rect;

namespace {

// A white image at the screen's usual 96 dots per inch.
QImage whiteImage(int w, int h, QColor background = Qt::white)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.setDotsPerMeterX(3780);
    img.setDotsPerMeterY(3780);
    img.fill(background);
    return img;
}

template <class Draw>
QImage drawn(Draw draw, int w = 40, int h = 30, QColor background = Qt::white)
{
    QImage img = whiteImage(w, h, background);
    QPainter p(&img);
    {
        QtCanvas c(p);
        draw(c);
    }
    p.end();
    return img;
}

bool isColour(const QImage& img, int x, int y, QColor c) { return img.pixelColor(x, y) == c; }

int countColour(const QImage& img, QColor c)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += img.pixelColor(x, y) == c ? 1 : 0;
    return n;
}

} // namespace

TEST(QtCanvasPixels, FrameIsOnePixelInsideTheRectangle)
{
    const QImage img = drawn([](QtCanvas& c) { c.frameRect(Rect{2, 3, 8, 9}, Colour::Red); });
    for (const auto& [x, y] : {std::pair{2, 3}, {7, 3}, {2, 8}, {7, 8}, {5, 3}, {2, 6}, {7, 6}, {5, 8}})
        EXPECT_TRUE(isColour(img, x, y, Qt::red)) << x << "," << y;
    for (const auto& [x, y] : {std::pair{8, 3}, {2, 9}, {1, 3}, {2, 2}, {3, 4}, {6, 7}})
        EXPECT_TRUE(isColour(img, x, y, Qt::white)) << x << "," << y;
    EXPECT_EQ(countColour(img, Qt::red), 2 * 6 + 2 * 4);
    // Nothing for an empty rectangle.
    EXPECT_EQ(countColour(drawn([](QtCanvas& c) { c.frameRect(Rect{5, 5, 5, 9}, Colour::Black); }), Qt::black), 0);
}

TEST(QtCanvasPixels, FillExcludesRightAndBottom)
{
    const QImage img = drawn([](QtCanvas& c) { c.fillRect(Rect{2, 3, 8, 9}, Colour::Blue); });
    EXPECT_EQ(countColour(img, Qt::blue), 6 * 6);
    EXPECT_TRUE(isColour(img, 2, 3, Qt::blue));
    EXPECT_TRUE(isColour(img, 7, 8, Qt::blue));
    EXPECT_TRUE(isColour(img, 8, 8, Qt::white));
    EXPECT_TRUE(isColour(img, 7, 9, Qt::white));
}

TEST(QtCanvasPixels, LinesCoverBothEnds)
{
    const QImage img = drawn([](QtCanvas& c) {
        c.setPen(Colour::Black);
        c.drawLine(2, 5, 10, 5);
        c.drawLine(20, 2, 20, 12);
        c.drawLine(25, 2, 31, 8);
        c.drawLine(35, 20, 35, 20);
    });
    EXPECT_EQ(countColour(img, Qt::black), 9 + 11 + 7 + 1);
    EXPECT_TRUE(isColour(img, 2, 5, Qt::black));
    EXPECT_TRUE(isColour(img, 10, 5, Qt::black));
    EXPECT_TRUE(isColour(img, 11, 5, Qt::white));
    EXPECT_TRUE(isColour(img, 20, 12, Qt::black));
    EXPECT_TRUE(isColour(img, 20, 13, Qt::white));
    EXPECT_TRUE(isColour(img, 31, 8, Qt::black));
    EXPECT_TRUE(isColour(img, 35, 20, Qt::black));
    // Lines are not smoothed: only the pen colour and the background appear.
    EXPECT_EQ(countColour(img, Qt::black) + countColour(img, Qt::white), img.width() * img.height());
}

TEST(QtCanvasPixels, DottedPenLeavesGaps)
{
    const QImage img = drawn([](QtCanvas& c) {
        c.setPen(Colour::Black, PenStyle::Dotted);
        c.drawLine(0, 10, 29, 10);
        c.setPen(Colour::Red);
        c.drawLine(0, 20, 29, 20);
    });
    int black = 0;
    int gapsAfterDot = 0;
    for (int x = 0; x < 30; ++x) {
        const bool dot = isColour(img, x, 10, Qt::black);
        black += dot ? 1 : 0;
        if (x > 0 && !dot && isColour(img, x - 1, 10, Qt::black))
            ++gapsAfterDot;
    }
    EXPECT_TRUE(isColour(img, 0, 10, Qt::black));
    EXPECT_GE(black, 8);
    EXPECT_LE(black, 16);
    EXPECT_GE(gapsAfterDot, 8);
    // The solid pen after it is solid again.
    for (int x = 0; x < 30; ++x)
        EXPECT_TRUE(isColour(img, x, 20, Qt::red)) << x;
    EXPECT_EQ(countColour(img, Qt::black), black);
}

TEST(QtCanvasPixels, TextOnAWhiteBox)
{
    int w = 0;
    int h = 0;
    const QImage img = drawn(
        [&](QtCanvas& c) {
            c.setFont("DejaVu Sans", 8);
            w = c.textWidth("Wg 12");
            h = c.textHeight("Wg 12");
            c.drawText(5, 4, "Wg 12");
        },
        80, 40, Qt::blue);
    ASSERT_GT(w, 10);
    ASSERT_GT(h, 6);
    int dark = 0;
    for (int y = 4; y < 4 + h; ++y)
        for (int x = 5; x < 5 + w; ++x) {
            const QColor c = img.pixelColor(x, y);
            EXPECT_NE(c, QColor(Qt::blue)) << x << "," << y;
            dark += c.lightness() < 128 ? 1 : 0;
        }
    EXPECT_GT(dark, 10);
    // Just outside the box the background is untouched.
    EXPECT_TRUE(isColour(img, 4, 4, Qt::blue));
    EXPECT_TRUE(isColour(img, 5 + w, 4, Qt::blue));
    EXPECT_TRUE(isColour(img, 5, 4 + h, Qt::blue));
    EXPECT_TRUE(isColour(img, 5, 3, Qt::blue));
}

TEST(QtCanvasPixels, TransparentTextKeepsTheBackground)
{
    const QImage img = drawn(
        [](QtCanvas& c) {
            c.setFont("DejaVu Sans", 8);
            c.drawText(5, 4, "Wg 12", output::TextBackground::Transparent);
        },
        80, 40, Qt::blue);
    EXPECT_GT(countColour(img, Qt::blue), 80 * 40 / 2);
    EXPECT_EQ(countColour(img, Qt::white), 0);
}

TEST(QtCanvasMetrics, PointSizeFollowsTheDeviceResolution)
{
    QImage screen = whiteImage(10, 10);
    QImage fine = whiteImage(10, 10);
    fine.setDotsPerMeterX(3780 * 3);
    fine.setDotsPerMeterY(3780 * 3);
    QPainter ps(&screen);
    QPainter pf(&fine);
    QtCanvas cs(ps);
    QtCanvas cf(pf);
    cs.setFont("DejaVu Sans", 8);
    cf.setFont("DejaVu Sans", 8);
    EXPECT_NEAR(cf.textHeight("8"), 3 * cs.textHeight("8"), 3);
    EXPECT_GT(cs.textWidth("88"), cs.textWidth("8"));
    EXPECT_EQ(cs.textHeight(""), 0);
    cs.setFont("DejaVu Sans", 16);
    EXPECT_GT(cs.textHeight("8"), cf.textHeight("8") / 3 + 3);
}

TEST(QtCanvasState, PainterIsLeftAsFound)
{
    QImage img = whiteImage(10, 10);
    QPainter p(&img);
    p.setPen(QPen(Qt::green, 3));
    p.setRenderHint(QPainter::Antialiasing, true);
    {
        QtCanvas c(p);
        c.setPen(Colour::Red, PenStyle::Dotted);
        c.setFont("DejaVu Sans", 20);
        c.drawLine(0, 0, 5, 5);
    }
    EXPECT_EQ(p.pen().color(), QColor(Qt::green));
    EXPECT_EQ(p.pen().width(), 3);
    EXPECT_TRUE(p.testRenderHint(QPainter::Antialiasing));
}
