#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"

// Runs velmora-cli in-process and keeps its exit code and both streams.
struct CliRun {
    int code = 0;
    std::string out;
    std::string err;
};

inline CliRun runCli(const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    CliRun r;
    r.code = cli::run(args, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}
