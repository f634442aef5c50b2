# In the test build every fuzz target is linked with a plain main() that
# runs it once over its corpus (tests/data/fuzz/<name>/), registered as the
# test fuzz.<name>; the sanitizer build thus replays every kept input.
include(${CMAKE_SOURCE_DIR}/fuzz/targets.cmake)
foreach(source ${VELMORA_FUZZ_SOURCES})
    velmora_fuzz_name(${source} name)
    add_executable(${name}_replay ${source} ${CMAKE_SOURCE_DIR}/fuzz/replay_main.cpp)
    target_link_libraries(${name}_replay PRIVATE common_options ${VELMORA_FUZZ_LIBS})
    add_test(NAME fuzz.${name} COMMAND ${name}_replay ${CMAKE_SOURCE_DIR}/tests/data/fuzz/${name})
endforeach()
