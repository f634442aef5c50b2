#pragma once

#include "cli/cli.h"

namespace cli {

int cmdShow(Context& ctx);
int cmdConvert(Context& ctx);
int cmdOptimize(Context& ctx);
int cmdArchive(Context& ctx);
int cmdDxfReleases(Context& ctx);
int cmdDraw(Context& ctx);
int cmdManual(Context& ctx);
int cmdPrint(Context& ctx);
int cmdLabels(Context& ctx);
int cmdImport(Context& ctx);

} // namespace cli
