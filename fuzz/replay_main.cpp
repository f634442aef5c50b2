// fuzz_replay NAME INPUTS...: runs the entry point of the fuzz target NAME
// once over every file of the folders (or files) given, so that the normal
// and the sanitizer test builds replay the seed corpus and every input that
// once crashed.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_file.h"
#include "fuzz/replay_targets.h"

int main(int argc, char** argv)
{
    namespace fs = std::filesystem;
    const fuzz::ReplayTarget* target = nullptr;
    for (const fuzz::ReplayTarget& t : fuzz::replayTargets())
        if (argc > 1 && std::string_view(argv[1]) == t.name)
            target = &t;
    if (target == nullptr) {
        std::fprintf(stderr, "replay: usage: fuzz_replay TARGET INPUTS... (TARGET one of:");
        for (const fuzz::ReplayTarget& t : fuzz::replayTargets())
            std::fprintf(stderr, " %s", t.name);
        std::fprintf(stderr, ")\n");
        return 2;
    }
    std::vector<fs::path> files;
    for (int i = 2; i < argc; ++i) {
        std::error_code ec;
        if (fs::is_directory(argv[i], ec)) {
            for (const auto& e : fs::recursive_directory_iterator(argv[i], ec))
                if (e.is_regular_file())
                    files.push_back(e.path());
        } else if (fs::is_regular_file(argv[i], ec)) {
            files.emplace_back(argv[i]);
        } else {
            std::fprintf(stderr, "replay: %s is neither a file nor a folder\n", argv[i]);
            return 2;
        }
    }
    if (files.empty()) {
        std::fprintf(stderr, "replay: no inputs\n");
        return 2;
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& f : files) {
        std::ifstream in(f, std::ios::binary);
        const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        target->run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    std::error_code ec;
    fs::remove_all(fuzz::scratchFolder(), ec);
    std::printf("replayed %zu inputs\n", files.size());
    return 0;
}
