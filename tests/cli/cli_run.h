#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "tests/test_paths.h"

// The example project every command test starts from.
inline const std::string kExample = std::string(VELMORA_SOURCE_DIR) + "/examples/kitchen.vlp";

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
