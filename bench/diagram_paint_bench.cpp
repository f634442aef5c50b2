// The layout page's drawing with 200 parts on one sheet: a full drawing into
// the off-screen image, a mouse move that only reframes the pieces on it, the
// same move through the widget (hit test, reframe, change check), and the
// copy of the image to the screen.

#include <cstdlib>

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include "app/diagram_view.h"
#include "app/qt_canvas.h"
#include "engine/language_table.h"
#include "engine/project.h"
#include "engine/settings.h"
#include "output/diagram_painter.h"
#include "output/layout_groups.h"

namespace {

constexpr int kBoxWidth = 1200;
constexpr int kBoxHeight = 900;

// A 2800 x 2070 mm sheet with a grid of 20 x 10 parts of 130 x 190 mm and
// the two strips left over as offcuts.
engine::Project twoHundredParts()
{
    engine::Project p;
    p.sheets.appendRow({"", "2800", "2070", "1", "MDF"});
    for (int r = 0; r < 4; ++r)
        p.parts.appendRow({"", "129.6", "189.6", "50", "P" + std::to_string(r + 1), "0", "-", "-", "-", "-", "0",
                           "0", "0", "0", "", "", "", ""});
    p.input.sheets.push_back({28000, 20700, 1, 1, 1});
    p.input.totalParts = 200;
    for (int i = 0; i < 200; ++i) {
        const int col = i % 20;
        const int row = i / 20;
        p.result.elements.push_back({1, col * 1300, row * 1900, (col + 1) * 1300, (row + 1) * 1900, 0, 1 + i / 50});
    }
    p.result.offcuts.push_back({1, 26000, 0, 28000, 20700});
    p.result.offcuts.push_back({1, 0, 19000, 26000, 20700});
    output::GroupLayouts(p, true);
    return p;
}

engine::LanguageTable english()
{
    engine::LanguageTable lang;
    (void)lang.load(std::string(VELMORA_SOURCE_DIR) + "/data/Lang/English.vll");
    return lang;
}

QImage screenImage()
{
    QImage img(kBoxWidth, kBoxHeight, QImage::Format_RGB32);
    img.setDotsPerMeterX(3780);
    img.setDotsPerMeterY(3780);
    return img;
}

void BM_DiagramFullPaint(benchmark::State& state)
{
    const engine::Project p = twoHundredParts();
    engine::Settings s;
    s.JedMere = 0;
    const engine::LanguageTable lang = english();
    const output::DiagramPainter painter(p, s, lang);
    QImage img = screenImage();
    output::DiagramState st;
    for (auto _ : state) {
        QPainter qp(&img);
        app::QtCanvas canvas(qp);
        benchmark::DoNotOptimize(painter.paint(canvas, 0, kBoxWidth, kBoxHeight, st));
    }
}
BENCHMARK(BM_DiagramFullPaint)->Unit(benchmark::kMillisecond);

void BM_DiagramMouseMoveReframe(benchmark::State& state)
{
    const engine::Project p = twoHundredParts();
    engine::Settings s;
    s.JedMere = 0;
    const engine::LanguageTable lang = english();
    const output::DiagramPainter painter(p, s, lang);
    QImage img = screenImage();
    output::DiagramState st;
    {
        QPainter qp(&img);
        app::QtCanvas canvas(qp);
        (void)painter.paint(canvas, 0, kBoxWidth, kBoxHeight, st);
    }
    int step = 0;
    for (auto _ : state) {
        QPainter qp(&img);
        app::QtCanvas canvas(qp);
        // Alternate between two parts so that the highlight really moves.
        const int x = (step++ % 2) == 0 ? 20 : 100;
        benchmark::DoNotOptimize(painter.mouseMove(canvas, 0, kBoxWidth, kBoxHeight, x, 20, st));
    }
}
BENCHMARK(BM_DiagramMouseMoveReframe)->Unit(benchmark::kMicrosecond);

void BM_DiagramViewMouseMove(benchmark::State& state)
{
    engine::Project p = twoHundredParts();
    engine::Settings s;
    s.JedMere = 0;
    const engine::LanguageTable lang = english();
    app::DiagramView view(p, s, lang);
    view.resize(kBoxWidth, kBoxHeight);
    view.refresh(true);
    view.ensureDrawn();
    int step = 0;
    for (auto _ : state) {
        const QPointF at((step++ % 2) == 0 ? 20 : 100, 20);
        QMouseEvent e(QEvent::MouseMove, at, at, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&view, &e);
    }
    state.counters["full_paints"] = view.fullPaints();
}
BENCHMARK(BM_DiagramViewMouseMove)->Unit(benchmark::kMicrosecond);

void BM_DiagramExposeCopy(benchmark::State& state)
{
    const QImage drawing = screenImage();
    QImage screen = screenImage();
    for (auto _ : state) {
        QPainter qp(&screen);
        qp.drawImage(0, 0, drawing);
    }
}
BENCHMARK(BM_DiagramExposeCopy)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
