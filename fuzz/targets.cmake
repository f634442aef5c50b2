# The fuzz targets: every fuzz/<name>_fuzz.cpp, with its seed corpus and
# regression inputs in tests/data/fuzz/<name>/.
file(GLOB VELMORA_FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/*_fuzz.cpp)
set(VELMORA_FUZZ_LIBS engine project_io output labels)

function(velmora_fuzz_name source out)
    get_filename_component(stem ${source} NAME_WE)
    string(REGEX REPLACE "_fuzz$" "" name ${stem})
    set(${out} ${name} PARENT_SCOPE)
endfunction()
