# In the test build the fuzz targets are replayed over their corpora by one
# program, fuzz_replay NAME INPUTS...: every target's entry point is compiled
# under a name of its own (fuzz_replay_<name>) and listed in a generated
# table. Each target is the test fuzz.<name> over tests/data/fuzz/<name>/, so
# the sanitizer build replays every kept input.
include(${CMAKE_SOURCE_DIR}/fuzz/targets.cmake)
set(entries "")
set(table "")
foreach(source ${VELMORA_FUZZ_SOURCES})
    velmora_fuzz_name(${source} name)
    # One file per target: the entry points are renamed, and the targets'
    # own helpers may share names.
    set_source_files_properties(${source} PROPERTIES
        COMPILE_DEFINITIONS LLVMFuzzerTestOneInput=fuzz_replay_${name}
        SKIP_UNITY_BUILD_INCLUSION ON)
    string(APPEND entries "extern \"C\" int fuzz_replay_${name}(const std::uint8_t*, std::size_t);\n")
    string(APPEND table "    {\"${name}\", fuzz_replay_${name}},\n")
endforeach()
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/fuzz/replay_targets.cpp CONTENT
"// Generated from fuzz/targets.cmake.
#include \"fuzz/replay_targets.h\"

${entries}
const std::vector<fuzz::ReplayTarget>& fuzz::replayTargets()
{
    static const std::vector<ReplayTarget> targets = {
${table}    };
    return targets;
}
")
add_executable(fuzz_replay ${VELMORA_FUZZ_SOURCES} ${CMAKE_SOURCE_DIR}/fuzz/replay_main.cpp
    ${CMAKE_BINARY_DIR}/fuzz/replay_targets.cpp)
target_include_directories(fuzz_replay PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(fuzz_replay PRIVATE common_options ${VELMORA_FUZZ_LIBS})
# Like the tests' own code (the libraries it calls are built as the tree
# builds them), but with every sanitizer: the targets check what they read.
velmora_test_options(fuzz_replay ALL_SANITIZERS)
foreach(source ${VELMORA_FUZZ_SOURCES})
    velmora_fuzz_name(${source} name)
    add_test(NAME fuzz.${name} COMMAND fuzz_replay ${name} ${CMAKE_SOURCE_DIR}/tests/data/fuzz/${name})
endforeach()
