#include "output/print_job.h"

#include <algorithm>

#include "engine/date_format.h"
#include "output/report_text.h"
#include "output/text_trim.h"

namespace output {

namespace {

constexpr int kListSizeDelta = 3;

// s after |width - length of s| blanks.
std::string padAbs(const std::string& s, int width)
{
    const int n = std::abs(width - displayWidth(s));
    return std::string(static_cast<size_t>(n), ' ') + s;
}

struct ListColumns {
    AlignedColumn length;
    AlignedColumn height;
    int quantityWidth = 0;
};

ListColumns columns(const engine::TextTable& table, int lenCol, int widCol, int qtyCol)
{
    std::vector<std::string> lengths;
    std::vector<std::string> heights;
    ListColumns out;
    for (int r = 1; r <= table.rowCount(); ++r) {
        lengths.push_back(table.cell(r, lenCol));
        heights.push_back(table.cell(r, widCol));
        out.quantityWidth = std::max(out.quantityWidth, displayWidth(table.cell(r, qtyCol)));
    }
    out.length = alignColumn(lengths);
    out.height = alignColumn(heights);
    return out;
}

engine::RichText listHeader(int titleMessage, const engine::Settings& settings, const engine::LanguageTable& language,
                            const std::tm& now)
{
    const engine::LengthUnit unit = engine::lengthUnitFromInt(settings.JedMere);
    engine::RichText text;
    text.push_back({"   " + language.text(titleMessage) + "-" + language.text(164) + "("
                        + engine::LengthUnitLabel(unit, false) + ") " + engine::FormatDateTime(settings.DateFormat, now),
                    true, kListSizeDelta});
    text.push_back({"   " + std::string(83, '-') + " ", false, kListSizeDelta});
    return text;
}

} // namespace

engine::RichText sheetListText(const engine::Project& project, const engine::Settings& settings,
                               const engine::LanguageTable& language, const std::tm& now)
{
    using engine::SheetCol::Descr;
    using engine::SheetCol::Len;
    using engine::SheetCol::Qty;
    using engine::SheetCol::Wid;
    engine::RichText text = listHeader(130, settings, language, now);
    const std::string u = engine::LengthUnitLabel(engine::lengthUnitFromInt(settings.JedMere), true);
    const engine::TextTable& t = project.sheets;
    const ListColumns c = columns(t, Len, Wid, Qty);
    for (int r = 1; r <= t.rowCount(); ++r) {
        const auto i = static_cast<size_t>(r - 1);
        const std::string& description = t.cell(r, Descr);
        text.push_back({"   " + pad(std::to_string(r), 3) + "." + pad(c.length.texts[i], c.length.width) + " x "
                            + pad(c.height.texts[i], c.height.width) + " " + u + " (x"
                            + pad(t.cell(r, Qty), c.quantityWidth) + ") "
                            + (description.empty() ? std::string() : " '" + description + "'"),
                        false, kListSizeDelta});
    }
    return text;
}

engine::RichText partListText(const engine::Project& project, const engine::Settings& settings,
                              const engine::LanguageTable& language, const std::tm& now)
{
    namespace PartCol = engine::PartCol;
    engine::RichText text = listHeader(131, settings, language, now);
    const std::string u = engine::LengthUnitLabel(engine::lengthUnitFromInt(settings.JedMere), true);
    const engine::TextTable& t = project.parts;
    const ListColumns c = columns(t, PartCol::Len, PartCol::Wid, PartCol::Qty);
    for (int r = 1; r <= t.rowCount(); ++r) {
        const auto i = static_cast<size_t>(r - 1);
        const std::string& label = t.cell(r, PartCol::Ini);
        std::string line = "   " + padAbs(std::to_string(r), 4) + "." + pad(c.length.texts[i], c.length.width) + " x"
            + pad(c.height.texts[i], c.height.width) + " " + u + " (x" + pad(t.cell(r, PartCol::Qty), c.quantityWidth)
            + ") " + pad(label.empty() ? std::string() : "'" + label + "'", 9) + " ";
        for (int e = 0; e < 4; ++e) {
            if (e > 0)
                line += "|";
            line += padAbs(trimmed(t.cell(r, PartCol::Band + e)), 6);
        }
        text.push_back({std::move(line), false, kListSizeDelta});
    }
    return text;
}

int printTextSize(const engine::Settings& settings) { return std::clamp(settings.StatFontSize, 4, 72); }

int printAll(PrintTarget& target, const PrintContext& c, const PrintOptions& options)
{
    if (!options.layouts && options.copies > 1) {
        PrintOptions once = options;
        once.copies = 1;
        int pages = 0;
        for (int i = 0; i < options.copies; ++i)
            pages += printAll(target, c, once);
        return pages;
    }
    int pages = 0;
    const int size = printTextSize(c.settings);
    if (options.cover) {
        printCover(target, c);
        ++pages;
    }
    if (options.report)
        pages += printText(target, c.project.report, size);
    if (options.layouts) {
        const int last = options.last < 0 ? static_cast<int>(c.project.result.groups.size()) - 1 : options.last;
        pages += printLayouts(target, c, options.first, last, options.perPage, std::max(options.copies, 1));
    }
    if (options.bill)
        pages += printText(target, c.project.bill, size);
    if (options.sheetList)
        pages += printText(target, sheetListText(c.project, c.settings, c.language, c.now), size);
    if (options.partList)
        pages += printText(target, partListText(c.project, c.settings, c.language, c.now), size);
    if (!options.archiveList.empty())
        pages += printText(target, options.archiveList, size);
    return pages;
}

} // namespace output
