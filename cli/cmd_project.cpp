#include "cli/commands.h"

#include <ostream>

namespace cli {

int cmdShow(Context& ctx)
{
    return ctx.usage("show: not available yet");
}

int cmdConvert(Context& ctx)
{
    return ctx.usage("convert: not available yet");
}

} // namespace cli
