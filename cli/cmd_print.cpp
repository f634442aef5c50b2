#include "cli/commands.h"

#include <ostream>

#include "cli/report_cli.h"
#include "engine/date_format.h"
#include "engine/paths.h"
#include "engine/units.h"
#include "output/layout_groups.h"
#include "output/print_job.h"
#ifdef VELMORA_HAVE_PDF
#include "render/pdf_print.h"
#endif

namespace cli {

namespace {

const char* const kPrintUsage = "usage: print IN --pdf OUT [--per-page 1|2|4] [--cover] [--report] [--bill] [--lists]"
                           " [--groups FROM-TO] [--copies N] [--optimize] [--paper a4|letter]";

struct PrintArguments {
    std::string pdf;
    output::PrintOptions options;
    std::string groups;  // FROM-TO as typed, empty for all
    bool optimize = false;
    bool letter = false;
};

// Takes the options out of ctx.args; returns kExitOk or the usage failure.
int takePrintArguments(Context& ctx, PrintArguments& a)
{
    std::string value;
    bool missing = false;
    if (!takeOption(ctx, "--pdf", a.pdf, missing) || missing || a.pdf.empty())
        return ctx.usage("print: give --pdf OUT, the PDF file to write");
    if (takeOption(ctx, "--per-page", value, missing)) {
        if (value != "1" && value != "2" && value != "4")
            return ctx.usage("--per-page takes 1, 2 or 4");
        a.options.perPage = value[0] - '0';
    }
    if (takeOption(ctx, "--copies", value, missing)) {
        std::int32_t n = 0;
        if (missing || !engine::parseInteger(value, n) || n < 1 || n > 999)
            return ctx.usage("--copies takes a number from 1 to 999");
        a.options.copies = n;
    }
    if (takeOption(ctx, "--groups", a.groups, missing) && (missing || a.groups.empty()))
        return ctx.usage("--groups takes FROM-TO, for example 2-5");
    if (const int rc = takePaperOption(ctx, a.letter); rc != kExitOk)
        return rc;
    a.options.cover = takeFlag(ctx, "--cover");
    a.options.report = takeFlag(ctx, "--report");
    a.options.bill = takeFlag(ctx, "--bill");
    a.options.sheetList = a.options.partList = takeFlag(ctx, "--lists");
    a.optimize = takeFlag(ctx, "--optimize");
    return kExitOk;
}

// FROM-TO (or a single N) within 1..groups, as 0-based first and last.
bool groupRange(const std::string& text, int groups, int& first, int& last)
{
    const size_t dash = text.find('-');
    std::int32_t from = 0;
    std::int32_t to = 0;
    if (dash == std::string::npos) {
        if (!engine::parseInteger(text, from))
            return false;
        to = from;
    } else if (!engine::parseInteger(text.substr(0, dash), from) || !engine::parseInteger(text.substr(dash + 1), to)) {
        return false;
    }
    if (from < 1 || to > groups || from > to)
        return false;
    first = from - 1;
    last = to - 1;
    return true;
}

} // namespace

int cmdPrint(Context& ctx)
{
    PrintArguments a;
    if (const int rc = takePrintArguments(ctx, a); rc != kExitOk)
        return rc;
    if (ctx.args.size() != 1 || (ctx.args[0].size() > 1 && ctx.args[0][0] == '-'))
        return rejectArguments(ctx, kPrintUsage);
#ifndef VELMORA_HAVE_PDF
    return ctx.fail(engine::Status(engine::Msg::PrintingNotBuilt));
#else
    const std::string input = ctx.args[0];
    // The printed pages need the captions of the language file.
    if (!ctx.language())
        return ctx.usage("cannot read language file "
                         + engine::LanguageTable::pathFor(engine::programFolder(), ctx.languageName));
    engine::Project project;
    ReportResources resources;
    output::ShowResultsOutcome shown;
    const int finished = resultForPrinting(ctx, input, a.optimize, project, resources, shown);
    if (finished != kExitOk && finished != kExitPartsMissing)
        return finished;

    const int groups = static_cast<int>(project.result.groups.size());
    if (!a.groups.empty() && !groupRange(a.groups, groups, a.options.first, a.options.last))
        return ctx.fail(engine::Status(engine::Msg::PrintRangeOutside, {a.groups, std::to_string(groups)}));

    render::PdfOptions pdf;
    pdf.paper = a.letter ? render::Paper::letter() : render::Paper::a4();
    pdf.title = resources.lang.text(16);
    const output::PrintContext context{project, ctx.settings, resources.lang, engine::printTime()};
    const render::PdfOutcome written = render::printPdfFile(a.pdf, context, a.options, pdf);
    if (!written.status.ok())
        return ctx.fail(written.status);
    *ctx.out << a.pdf << ": " << written.pages << " page(s)\n";
    return finished;
#endif
}

} // namespace cli
