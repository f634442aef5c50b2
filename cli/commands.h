#pragma once

#include "cli/cli.h"

namespace cli {

int cmdShow(Context& ctx);
int cmdConvert(Context& ctx);
int cmdOptimize(Context& ctx);

} // namespace cli
