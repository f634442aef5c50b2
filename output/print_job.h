#pragma once

#include <ctime>

#include "engine/language_table.h"
#include "engine/project.h"
#include "engine/settings.h"
#include "output/print_pages.h"

namespace output {

// The sheet list and the part list: the input tables as plain lines, bold
// and 3 points larger than the box font from the first line on. Dates in the
// DateFormat setting.
[[nodiscard]] engine::RichText sheetListText(const engine::Project& project, const engine::Settings& settings,
                                             const engine::LanguageTable& language, const std::tm& now);
[[nodiscard]] engine::RichText partListText(const engine::Project& project, const engine::Settings& settings,
                                            const engine::LanguageTable& language, const std::tm& now);

// The font size of printed text boxes (report and bill at StatFontSize; the
// lists add their own 3 points).
[[nodiscard]] int printTextSize(const engine::Settings& settings);

// What one print run holds, in the order it is printed: cover, report,
// layouts (groups first..last, 0-based; last < 0 means the last group),
// bill, sheet list, part list, archive list.
struct PrintOptions {
    int perPage = 1;
    bool cover = false;
    bool report = false;
    bool layouts = true;
    bool bill = false;
    bool sheetList = false;
    bool partList = false;
    // The archive page's list (project_io::archivePrintText), printed when
    // not empty, at the size of the report.
    engine::RichText archiveList;
    int first = 0;
    int last = -1;
    int copies = 1;
};

// Prints the run onto `target`; returns the number of pages. `copies`
// repeats the layouts inside their document; a run without layouts (a text
// document alone) is printed `copies` times.
int printAll(PrintTarget& target, const PrintContext& c, const PrintOptions& options);

} // namespace output
