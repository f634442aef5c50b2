#include "render/pdf_print.h"

#include <cstdio>

#include <QBuffer>
#include <QGuiApplication>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include "engine/file_io.h"
#include "render/qt_print_target.h"

namespace render {

namespace {

// Fonts need a QGuiApplication. A process without one (velmora-cli) gets an
// offscreen one that lives until the process ends.
void ensureGuiApplication()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 3;
    static char name[] = "velmora-cli";
    static char platformOption[] = "-platform";
    static char platform[] = "offscreen";
    static char* argv[] = {name, platformOption, platform, nullptr};
    // Qt's notes about the platform (no runtime folder, no screen) are not
    // for the people who run the command line program.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            fprintf(stderr, "velmora-cli: %s\n", qPrintable(message));
    });
    new QGuiApplication(argc, argv);  // NOLINT: kept for the life of the process
}

} // namespace

engine::Result<PdfBytes> printPdfPages(const DrawPages& draw, const PdfOptions& pdf, const std::string& noPagesDetail)
{
    ensureGuiApplication();
    QByteArray data;
    PdfBytes out;
    {
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(pdf.dpi);
        writer.setCreator(QStringLiteral("Velmora"));
        writer.setTitle(QString::fromStdString(pdf.title));
        const QPageSize size(QSizeF(pdf.paper.widthMm, pdf.paper.heightMm), QPageSize::Millimeter, QString(),
                             QPageSize::FuzzyOrientationMatch);
        writer.setPageLayout(QPageLayout(size, QPageLayout::Portrait,
                                         QMarginsF(pdf.marginMm, pdf.marginMm, pdf.marginMm, pdf.marginMm),
                                         QPageLayout::Millimeter));
        QtPrintTarget target(writer);
        if (const engine::Status drawn = draw(target); !drawn.ok())
            return drawn;
        out.pages = target.pages();
        if (out.pages == 0)
            return engine::Status(engine::Msg::NoResultToPrint, {noPagesDetail});
        if (!target.finish())
            return engine::Status(engine::Msg::CannotWritePdf, {});
    }
    out.bytes.assign(data.constData(), static_cast<size_t>(data.size()));
    return out;
}

PdfOutcome printPdfPagesFile(const std::string& path, const DrawPages& draw, const PdfOptions& pdf,
                             const std::string& noPagesDetail)
{
    PdfOutcome out;
    engine::Result<PdfBytes> made = printPdfPages(draw, pdf, noPagesDetail);
    if (!made.ok()) {
        out.status = made.error();
        if (out.status.msg == engine::Msg::CannotWritePdf)
            out.status.args = {path};
        return out;
    }
    const engine::Status written = engine::writeFileAtomically(path, made->bytes);
    if (!written.ok()) {
        out.status = engine::becauseOf(engine::Msg::CannotWritePdf, {path}, written);
        return out;
    }
    out.pages = made->pages;
    return out;
}

engine::Result<PdfBytes> printPdf(const output::PrintContext& context, const output::PrintOptions& options,
                                  const PdfOptions& pdf)
{
    const DrawPages draw = [&](output::PrintTarget& target) {
        output::printAll(target, context, options);
        return engine::Status{};
    };
    return printPdfPages(draw, pdf, context.project.fileName);
}

PdfOutcome printPdfFile(const std::string& path, const output::PrintContext& context,
                        const output::PrintOptions& options, const PdfOptions& pdf)
{
    const DrawPages draw = [&](output::PrintTarget& target) {
        output::printAll(target, context, options);
        return engine::Status{};
    };
    return printPdfPagesFile(path, draw, pdf, context.project.fileName);
}

} // namespace render
