#include <cstdio>
#include <exception>

#include "app/forms.h"

int main(int argc, char** argv)
{
    try {
        return app::runProgram(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "velmora: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "velmora: unexpected error\n");
    }
    return 1;
}
