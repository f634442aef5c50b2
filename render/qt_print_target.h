#pragma once

#include <memory>
#include <optional>

#include <QPainter>

#include "output/print_pages.h"
#include "render/qt_canvas.h"

class QPagedPaintDevice;

namespace render {

// The pages of a print run on a Qt paged device: a QPrinter or a QPdfWriter.
// All documents of the run go into one job; each begins on a new page in
// its own orientation. The painter is opened by the first document and
// closed when the target goes (or by finish()).
class QtPrintTarget : public output::PrintTarget {
public:
    explicit QtPrintTarget(QPagedPaintDevice& device);
    ~QtPrintTarget() override;
    QtPrintTarget(const QtPrintTarget&) = delete;
    QtPrintTarget& operator=(const QtPrintTarget&) = delete;

    void beginDocument(output::Orientation orientation) override;
    void newPage() override;
    void endDocument() override {}
    [[nodiscard]] output::Canvas& canvas() override;
    [[nodiscard]] output::PageGeometry geometry() const override;

    // Ends the job. False when the painter could not be opened or the device
    // reported a failure.
    bool finish();
    [[nodiscard]] int pages() const { return m_pages; }

private:
    QPagedPaintDevice& m_device;
    QPainter m_painter;
    std::optional<QtCanvas> m_canvas;
    int m_pages = 0;
    bool m_failed = false;
};

} // namespace render
