#include "app/print_commands.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QSpinBox>

#include "app/diagram_page.h"
#include "app/diagram_view.h"
#include "app/file_commands.h"
#include "app/file_dialogs.h"
#include "app/main_form.h"
#include "app/print_dialog.h"
#include "app/qt_text.h"
#include "engine/date_format.h"
#include "output/layout_groups.h"
#include "render/pdf_print.h"
#include "render/qt_print_target.h"

namespace app {

namespace {

constexpr int kPdfFilter = 446;

} // namespace

PrintCommands::PrintCommands(TMainForm& main) : QObject(&main), m_main(main) {}

std::optional<QString> PrintCommands::destination(bool pdf)
{
    if (pdf) {
        FileDialogRequest request;
        request.mode = FileDialogRequest::Mode::Save;
        request.title = m_main.text(445);
        request.filter = m_main.text(kPdfFilter);
        request.defaultSuffix = "pdf";
        const std::optional<QString> chosen = FileDialogs::current().choose(&m_main, request);
        if (!chosen || chosen->isEmpty())
            return std::nullopt;
        QString file = *chosen;
        if (!file.endsWith(".pdf", Qt::CaseInsensitive))
            file += ".pdf";
        // Replacing a file needs a yes, as for projects and drawings.
        if (QFileInfo::exists(file) && !m_main.fileCommands().askReplace(file, m_main.messagePlace()))
            return std::nullopt;
        return file;
    }
    QPrinter& printer = m_main.printer();
    QPrintDialog dialog(&printer, &m_main);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    if (TPrintDialogEx::run(dialog) != QDialog::Accepted)
        return std::nullopt;
    // "Print to file" in the system dialog: the PDF goes through the same
    // writer as the PDF button.
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        return printer.outputFileName();
    return QString();
}

bool PrintCommands::print(const output::PrintOptions& options, const QString& pdfFile)
{
    const output::PrintContext context{m_main.project(), m_main.settings(), m_main.language(), engine::printTime()};
    QPrinter& printer = m_main.printer();
    if (!pdfFile.isEmpty()) {
        render::PdfOptions pdf;
        const QSizeF mm = printer.pageLayout().pageSize().size(QPageSize::Millimeter);
        if (mm.width() > 0 && mm.height() > 0)
            pdf.paper = {std::min(mm.width(), mm.height()), std::max(mm.width(), mm.height())};
        pdf.title = m_main.language().text(16);
        const render::PdfOutcome out = render::printPdfFile(pdfFile.toStdString(), context, options, pdf);
        if (!out.status.ok()) {
            m_main.showStatus(out.status, Messenger::Kind::Error);
            return false;
        }
        return true;
    }
    printer.setDocName(qs(m_main.language().text(16)));
    printer.setCopyCount(1);  // the copies are printed by the run itself
    render::QtPrintTarget target(printer);
    output::printAll(target, context, options);
    if (!target.finish()) {
        m_main.showStatus(engine::Status(engine::Msg::CannotWritePdf, {printer.printerName().toStdString()}),
                          Messenger::Kind::Error);
        return false;
    }
    return true;
}

void PrintCommands::Print1Click()
{
    // Regroup and go back to the first layout; the dialog opens on it.
    output::GroupLayouts(m_main.project(), m_main.settings().PrintDuplicate);
    m_main.firstDiagramGroup();
    m_main.refreshDiagram(true);
    printLayouts(0);
}

void PrintCommands::BitBtn8Click() { printLayouts(m_main.diagramPage()->Image5->group()); }

void PrintCommands::printLayouts(int shownGroup)
{
    const int groups = static_cast<int>(m_main.project().result.groups.size());
    if (groups == 0)
        return;
    output::PrintOptions options;
    std::optional<QString> where;
    {
        TPrintDialogEx dialog(&m_main, m_panel, groups, shownGroup);
        if (TPrintDialogEx::run(dialog) != QDialog::Accepted)
            return;
        options.perPage = m_panel ? m_panel->perPage() : 1;
        options.first = dialog.first();
        options.last = dialog.last();
        options.copies = dialog.copies();
        where = destination(dialog.target() == TPrintDialogEx::Target::Pdf);
    }
    if (!where)
        return;
    options.cover = m_main.settings().PrintCover;
    options.report = m_main.settings().PrintReport;
    print(options, *where);
}

void PrintCommands::printDocument(const output::PrintOptions& options)
{
    std::optional<QString> where;
    output::PrintOptions o = options;  // copies from the dialog
    {
        TPrintDialogEx dialog(&m_main, nullptr, 0, 0);
        if (TPrintDialogEx::run(dialog) != QDialog::Accepted)
            return;
        o.copies = dialog.copies();
        where = destination(dialog.target() == TPrintDialogEx::Target::Pdf);
    }
    if (!where)
        return;
    print(o, *where);
}

std::optional<QString> PrintCommands::askDestination()
{
    bool pdf = false;
    {
        TPrintDialogEx dialog(&m_main, nullptr, 0, 0);
        // One label per piece: the run knows no copies.
        if (dialog.spCopies)
            dialog.spCopies->setEnabled(false);
        if (TPrintDialogEx::run(dialog) != QDialog::Accepted)
            return std::nullopt;
        pdf = dialog.target() == TPrintDialogEx::Target::Pdf;
    }
    return destination(pdf);
}

void PrintCommands::StampajClick()
{
    output::PrintOptions o;
    o.layouts = false;
    o.report = true;
    printDocument(o);
}

void PrintCommands::StampajCeneClick()
{
    output::PrintOptions o;
    o.layouts = false;
    o.bill = true;
    printDocument(o);
}

void PrintCommands::BitBtn1Click()
{
    output::PrintOptions o;
    o.layouts = false;
    o.sheetList = true;
    printDocument(o);
}

void PrintCommands::BitBtn2Click()
{
    output::PrintOptions o;
    o.layouts = false;
    o.partList = true;
    printDocument(o);
}

void PrintCommands::printArchiveList(const engine::RichText& list)
{
    output::PrintOptions o;
    o.layouts = false;
    o.archiveList = list;
    printDocument(o);
}

} // namespace app
