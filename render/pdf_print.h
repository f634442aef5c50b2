#pragma once

#include <functional>
#include <string>

#include "engine/msg.h"
#include "output/print_job.h"
#include "output/print_pages.h"

namespace render {

// Printing to PDF without a window: the pages of output::printAll drawn by
// the QPainter canvas on a QPdfWriter, the fonts embedded. This header holds
// no Qt, so velmora-cli can use it; a QGuiApplication (offscreen) is made on
// first use when the process has none.

// Paper of the PDF, portrait measures in millimetres.
struct Paper {
    double widthMm = 210.0;
    double heightMm = 297.0;
    [[nodiscard]] static Paper a4() { return {210.0, 297.0}; }
    [[nodiscard]] static Paper letter() { return {215.9, 279.4}; }
};

struct PdfOptions {
    Paper paper;
    int dpi = 300;
    // The margin a printer cannot print on; the page geometry is measured
    // inside it, as on a printer.
    double marginMm = 6.35;
    std::string title;  // the document title
};

struct PdfOutcome {
    engine::Status status;
    int pages = 0;
};

// The PDF document of a print run, in memory.
struct PdfBytes {
    std::string bytes;
    int pages = 0;
};
[[nodiscard]] engine::Result<PdfBytes> printPdf(const output::PrintContext& context,
                                                const output::PrintOptions& options, const PdfOptions& pdf);

// The same, written to `path` whole or not at all (CannotWritePdf with the
// path and the reason). A run with no page writes no file (NoResultToPrint).
[[nodiscard]] PdfOutcome printPdfFile(const std::string& path, const output::PrintContext& context,
                                      const output::PrintOptions& options, const PdfOptions& pdf);

// Any pages drawn by `draw` onto a PDF target: `draw` returns Ok or the
// message that stopped it (nothing is then kept). A run with no page gives
// NoResultToPrint with `noPagesDetail`.
using DrawPages = std::function<engine::Status(output::PrintTarget&)>;
[[nodiscard]] engine::Result<PdfBytes> printPdfPages(const DrawPages& draw, const PdfOptions& pdf,
                                                     const std::string& noPagesDetail = {});
// The same, written to `path` whole or not at all.
[[nodiscard]] PdfOutcome printPdfPagesFile(const std::string& path, const DrawPages& draw, const PdfOptions& pdf,
                                           const std::string& noPagesDetail = {});

} // namespace render
