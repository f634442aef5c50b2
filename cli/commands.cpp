#include "cli/cli.h"

#include "cli/commands.h"

namespace cli {

const std::vector<Command>& commands()
{
    static const std::vector<Command> list = {
        {"show", "show FILE                 print the sheet and part tables and the details", cmdShow},
        {"convert", "convert IN OUT            open IN as Open does and save OUT as Save does", cmdConvert},
        {"optimize", "optimize IN [--json FILE|-] [--save FILE] [--threads N]\n"
                     "                            run the automatic optimisation on IN", cmdOptimize},
    };
    return list;
}

} // namespace cli
