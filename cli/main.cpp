#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"

int main(int argc, char** argv)
{
    try {
        const std::vector<std::string> args(argv + 1, argv + argc);
        return cli::run(args, std::cout, std::cerr);
    } catch (const std::exception& e) {
        std::cerr << "velmora-cli: internal error: " << e.what() << "\n";
    } catch (...) {
        std::cerr << "velmora-cli: internal error\n";
    }
    return cli::kExitInternal;
}
