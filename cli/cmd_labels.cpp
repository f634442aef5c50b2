#include "cli/commands.h"

#include <ostream>

#include "cli/report_cli.h"
#include "engine/date_format.h"
#include "engine/paths.h"
#include "engine/units.h"
#include "labels/label_definitions.h"
#include "labels/label_layout.h"
#ifdef VELMORA_HAVE_PDF
#include "render/pdf_print.h"
#endif

namespace cli {

namespace {

const char* const kLabelsUsage = "usage: labels IN --pdf OUT [--style NAME|NUMBER] [--kinds parts,sheets,offcuts]"
                           " [--optimize] [--paper a4|letter]";

struct LabelArguments {
    std::string pdf;
    std::string style;  // as typed, empty for the active one
    std::string kinds;  // as typed, empty for the choice of the definitions file
    bool optimize = false;
    bool letter = false;
};

int takeLabelArguments(Context& ctx, LabelArguments& a)
{
    bool missing = false;
    if (!takeOption(ctx, "--pdf", a.pdf, missing) || missing || a.pdf.empty())
        return ctx.usage("labels: give --pdf OUT, the PDF file to write");
    if (takeOption(ctx, "--style", a.style, missing) && (missing || a.style.empty()))
        return ctx.usage("--style takes a style name or its number in the style list (from 1)");
    if (takeOption(ctx, "--kinds", a.kinds, missing) && (missing || a.kinds.empty()))
        return ctx.usage("--kinds takes parts, sheets and/or offcuts, separated by commas");
    if (const int rc = takePaperOption(ctx, a.letter); rc != kExitOk)
        return rc;
    a.optimize = takeFlag(ctx, "--optimize");
    return kExitOk;
}

// "parts,sheets,offcuts" (any of them, in any order) as the three switches.
bool parseKinds(const std::string& text, std::array<bool, 3>& kinds)
{
    kinds = {false, false, false};
    size_t start = 0;
    while (start <= text.size()) {
        const size_t comma = text.find(',', start);
        const std::string word = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (word == "parts")
            kinds[0] = true;
        else if (word == "sheets")
            kinds[1] = true;
        else if (word == "offcuts")
            kinds[2] = true;
        else
            return false;
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return true;
}

// The style named `text`, else the style with that number (from 1); -1 for none.
int findStyle(const labels::LabelDefinitions& d, const std::string& text)
{
    for (size_t i = 0; i < d.styles.size(); ++i)
        if (d.styles[i].name == text)
            return static_cast<int>(i);
    std::int32_t n = 0;
    if (engine::parseInteger(text, n) && n >= 1 && n <= static_cast<std::int32_t>(d.styles.size()))
        return n - 1;
    return -1;
}

} // namespace

int cmdLabels(Context& ctx)
{
    LabelArguments a;
    if (const int rc = takeLabelArguments(ctx, a); rc != kExitOk)
        return rc;
    if (ctx.args.size() != 1 || (ctx.args[0].size() > 1 && ctx.args[0][0] == '-'))
        return rejectArguments(ctx, kLabelsUsage);
    std::array<bool, 3> kinds{};
    if (!a.kinds.empty() && !parseKinds(a.kinds, kinds))
        return ctx.usage("--kinds takes parts, sheets and/or offcuts, separated by commas: " + a.kinds);
#ifndef VELMORA_HAVE_PDF
    return ctx.fail(engine::Status(engine::Msg::PrintingNotBuilt));
#else
    const std::string input = ctx.args[0];
    const std::string definitionsPath = labels::labelDefinitionsPath(engine::programFolder());
    const engine::Result<labels::LabelDefinitions> definitions = labels::readLabelDefinitions(definitionsPath);
    if (!definitions.ok())
        return ctx.fail(definitions.error());
    int style = definitions->activeStyle();
    if (!a.style.empty()) {
        style = findStyle(*definitions, a.style);
        if (style < 0)
            return ctx.fail(engine::Status(engine::Msg::LabelStyleMissing, {a.style}));
    }
    if (style < 0)
        return ctx.fail(engine::Status(engine::Msg::LabelStyleMissing, {definitionsPath}));

    engine::Project project;
    ReportResources resources;
    output::ShowResultsOutcome shown;
    const int finished = resultForPrinting(ctx, input, a.optimize, project, resources, shown);
    if (finished != kExitOk && finished != kExitPartsMissing)
        return finished;

    labels::LabelJob job = labels::labelJob(*definitions, style, project, ctx.settings, engine::printTime());
    if (!a.kinds.empty())
        job.kinds = kinds;

    render::PdfOptions pdf;
    pdf.paper = a.letter ? render::Paper::letter() : render::Paper::a4();
    pdf.title = labels::kLabelJobTitle;
    pdf.marginMm = 0;  // the whole sheet: label positions are measured from its corner
    int labelCount = 0;
    const render::DrawPages draw = [&](output::PrintTarget& target) {
        const labels::LabelPrintOutcome printed = labels::printLabels(target, project, ctx.settings, job, {});
        labelCount = printed.labels;
        return printed.status;
    };
    const render::PdfOutcome written = render::printPdfPagesFile(a.pdf, draw, pdf, input);
    if (!written.status.ok())
        return ctx.fail(written.status);
    *ctx.out << a.pdf << ": " << labelCount << " label(s) on " << written.pages << " page(s)\n";
    return finished;
#endif
}

} // namespace cli
