# The fuzz targets: fuzz/<name>_fuzz.cpp, with its seed corpus and regression
# inputs in tests/data/fuzz/<name>/. A new target is added to this list.
set(VELMORA_FUZZ_SOURCES
    ${CMAKE_SOURCE_DIR}/fuzz/archive_fuzz.cpp
    ${CMAKE_SOURCE_DIR}/fuzz/band_file_fuzz.cpp
    ${CMAKE_SOURCE_DIR}/fuzz/foreign_project_fuzz.cpp
    ${CMAKE_SOURCE_DIR}/fuzz/label_definitions_fuzz.cpp
    ${CMAKE_SOURCE_DIR}/fuzz/language_file_fuzz.cpp
    ${CMAKE_SOURCE_DIR}/fuzz/legacy_project_fuzz.cpp
    ${CMAKE_SOURCE_DIR}/fuzz/project_document_fuzz.cpp
    ${CMAKE_SOURCE_DIR}/fuzz/settings_file_fuzz.cpp
    ${CMAKE_SOURCE_DIR}/fuzz/spreadsheet_fuzz.cpp
)
set(VELMORA_FUZZ_LIBS engine project_io output labels sheets)
velmora_check_listed(${VELMORA_FUZZ_SOURCES} ${CMAKE_SOURCE_DIR}/fuzz/fuzz_file.h ${CMAKE_SOURCE_DIR}/fuzz/replay_main.cpp
    ${CMAKE_SOURCE_DIR}/fuzz/replay_targets.h)

function(velmora_fuzz_name source out)
    get_filename_component(stem ${source} NAME_WE)
    string(REGEX REPLACE "_fuzz$" "" name ${stem})
    set(${out} ${name} PARENT_SCOPE)
endfunction()
