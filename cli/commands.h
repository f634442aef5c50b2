#pragma once

#include <cstddef>
#include <string>

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

// Width of a UTF-8 text in characters (continuation bytes take no column), for
// lining up the columns of the tables the commands print.
[[nodiscard]] std::size_t displayWidth(const std::string& s);

} // namespace cli
