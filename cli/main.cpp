#include <csignal>
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"

int main(int argc, char** argv)
{
    // A closed pipe is a failed write, reported with exit 2 like a full
    // disk, not a silent death by signal.
    std::signal(SIGPIPE, SIG_IGN);
    try {
        const std::vector<std::string> args(argv + 1, argv + argc);
        int code = cli::run(args, std::cout, std::cerr);
        // The last bytes may fail only at the final flush; an earlier failed
        // write stays marked on the stream.
        if ((std::fflush(stdout) != 0 || std::ferror(stdout)) && code != cli::kExitUsage) {
            std::cerr << "velmora-cli: standard output cannot be written\n";
            code = cli::kExitUsage;
        }
        return code;
    } catch (const std::exception& e) {
        std::cerr << "velmora-cli: internal error: " << e.what() << "\n";
    } catch (...) {
        std::cerr << "velmora-cli: internal error\n";
    }
    return cli::kExitInternal;
}
