#include "cli/cli.h"

#include "cli/commands.h"

#include <algorithm>

namespace cli {

std::size_t displayWidth(const std::string& s)
{
    return static_cast<std::size_t>(
        std::count_if(s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0u) != 0x80u; }));
}

const std::vector<Command>& commands()
{
    static const std::vector<Command> list = {
        {"show", "show FILE                 print the sheet and part tables and the details", cmdShow},
        {"convert", "convert IN OUT            open IN as Open does and save OUT as Save does", cmdConvert},
        {"optimize", "optimize IN [--json FILE|-] [--save FILE] [--threads N]\n"
                     "          [--deep [--effort N] [--time-limit S]]\n"
                     "          [--report FILE|-] [--take-offcuts] [--subtract-sheets]\n"
                     "          [--dxf OUT [--dxf-release NAME] [--dxf-layer N=NAME:COLOUR]... [--dxf-items LIST]]\n"
                     "          [--svg DIR [--svg-size WxH]]\n"
                     "                            run the automatic optimisation on IN (--deep: then the\n"
                     "                            deep optimisation, N work units, default 250000)", cmdOptimize},
        {"archive", "archive DIR [--filter T]  list the project files of DIR with area, price and total", cmdArchive},
        {"dxf-releases", "dxf-releases              list the DXF release names of the DXF settings file", cmdDxfReleases},
        {"draw", "draw FILE --dxf OUT [--dxf-release NAME] [--dxf-layer N=NAME:COLOUR]... [--dxf-items LIST]\n"
                 "          --svg DIR [--svg-size WxH]\n"
                 "                            draw the stored result of a project as DXF and/or SVG", cmdDraw},
        {"manual", "manual IN [--alpha A] [--pi P] [--pick K] [--json FILE|-] [--report FILE|-] [--save FILE]\n"
                   "                            fill every sheet in the manual mode, taking slider position K", cmdManual},
        {"print", "print IN --pdf OUT [--per-page 1|2|4] [--cover] [--report] [--bill] [--lists]\n"
                  "          [--groups FROM-TO] [--copies N] [--optimize] [--paper a4|letter]\n"
                  "                            print the layouts (and cover, report, bill, lists) to one PDF", cmdPrint},
        {"labels", "labels IN --pdf OUT [--style NAME|NUMBER] [--kinds parts,sheets,offcuts]\n"
                   "          [--optimize] [--paper a4|letter]\n"
                   "                            print the labels of parts, used sheets and offcuts to one PDF", cmdLabels},
        {"import", "import SPREADSHEET --into sheets|parts [--worksheet NAME]\n"
                   "          (--range B2:E40 | --columns B2:B40,C2:C40,D2:D40,E2:E40)\n"
                   "          [--project IN] --save OUT [--replace]\n"
                   "                            add rows of an .xlsx, .ods, .xls or .csv file to a table", cmdImport},
    };
    return list;
}

} // namespace cli
