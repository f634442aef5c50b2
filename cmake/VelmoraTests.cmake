# velmora_add_test_suite(NAME SOURCES files... [LIBS libs...]
#                        [QT] [NO_GTEST_MAIN] [SHARDS n])
#
# One GoogleTest program, bin/NAME, of the listed files (relative to the
# current folder). Every file of the folders it takes sources from must be
# listed. It links LIBS, GoogleTest and gtest_main (NO_GTEST_MAIN: a source
# has its own main()), and gets
#   TEST_DATA_DIR       tests/data
#   VELMORA_DATA_DIR    the program data (data/)
#   VELMORA_SOURCE_DIR  the repository
#   VELMORA_BIN_DIR     bin/ of the build tree (velmora-cli, the copied data)
#   BENCH_DATA_DIR      VELMORA_BENCH_DATA_DIR (may be missing: skip with a reason)
#   TOOLS_DIR           VELMORA_TOOLS_DIR (may be missing: skip with a reason)
# as const char* values of tests/test_paths.h, which every test file sees
# (join them with std::string(TEST_DATA_DIR) + "/...", not literal pasting).
# The program is registered with ctest as one test, or as SHARDS tests that
# each run every n-th case (VELMORA_TEST_PER_PROGRAM=OFF: every case on its
# own), run with VELMORA_HOME set to bin/ and Qt on the offscreen platform.
# The programs without Qt share one precompiled header; QT: a Qt Widgets
# test program, compiled in batches of 12 without a precompiled header.
include_guard(GLOBAL)
find_package(GTest REQUIRED)
include(GoogleTest)

# One test per test program (or per shard of a large one) instead of one per
# test case: a process start costs more than most tests (Qt's set-up for the
# window tests, the sanitizers'), and 800 of them were most of a test run.
# GoogleTest's output still names every case, and a failing one with its
# message. OFF lists every case with ctest (ctest -R on a single case).
option(VELMORA_TEST_PER_PROGRAM "Register each test program (or each of its shards) as one test" ON)
option(VELMORA_TEST_PCH "Precompile the GoogleTest and standard headers of the test programs without Qt" ON)

# The headers nearly every test file includes. Compiling them once per test
# program instead of once per file is most of the tests' build time.
set(VELMORA_TEST_PCH_HEADERS
    <gtest/gtest.h> <tests/test_paths.h>
    <algorithm> <cstdlib> <filesystem> <fstream> <map> <memory> <optional> <set>
    <sstream> <string> <string_view> <vector>)

# velmora_test_paths_library(): the one generated source that knows where
# the repository, the build tree and the shared data are (tests/test_paths.h).
# Nothing else a test compiles holds a path of this checkout, so the objects
# and precompiled headers are the same in every clone.
function(velmora_test_paths_library)
    if(TARGET velmora_test_paths)
        return()
    endif()
    configure_file(${PROJECT_SOURCE_DIR}/tests/test_paths.cpp.in ${CMAKE_BINARY_DIR}/tests/test_paths.cpp @ONLY)
    add_library(velmora_test_paths STATIC ${CMAKE_BINARY_DIR}/tests/test_paths.cpp)
    target_include_directories(velmora_test_paths PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()

# Qt's test library stamps every file that links it with the folders of the
# target (for QFINDTESTDATA, which the tests do not use); those paths would
# make each checkout compile its own copy of every Qt test file.
function(velmora_drop_qt_testcase_paths)
    get_target_property(defs Qt6::Test INTERFACE_COMPILE_DEFINITIONS)
    if(defs)
        list(FILTER defs EXCLUDE REGEX "^QT_TESTCASE_")
        set_target_properties(Qt6::Test PROPERTIES INTERFACE_COMPILE_DEFINITIONS "${defs}")
    endif()
endfunction()

# Test code needs no optimising: -O0 with line tables compiles in well under
# half the time of the tree's -O2 -g (a quarter less than -O1); the code the
# tests call is the libraries', built as the tree builds them.
# In a unity build GCC takes every test file for a header of the batch and
# warns that each TEST_F of a fixture in an anonymous namespace "has a base
# whose type uses the anonymous namespace" (it would matter in a header only).
# In the sanitized tree the test code is checked by AddressSanitizer only:
# UndefinedBehaviorSanitizer checks the libraries, the code under test, and
# on the expanded GoogleTest macros it took a third of that tree's build
# (ALL_SANITIZERS: a target that keeps both, e.g. the fuzz replays).
function(velmora_test_options target)
    cmake_parse_arguments(ARG "ALL_SANITIZERS" "" "" ${ARGN})
    if(CMAKE_BUILD_TYPE STREQUAL "RelWithDebInfo" OR CMAKE_BUILD_TYPE STREQUAL "Release")
        target_compile_options(${target} PRIVATE -O0 -g1)
    endif()
    if(NOT ARG_ALL_SANITIZERS)
        set_target_properties(${target} PROPERTIES VELMORA_ADDRESS_SANITIZER_ONLY ON)
    endif()
    if(VELMORA_UNITY AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        target_compile_options(${target} PRIVATE -Wno-subobject-linkage)
    endif()
endfunction()

# velmora_test_pch_library(): the one precompiled header of the test programs
# without Qt and without headers of their own. They compile with the same
# options, so one header serves them all; it lives in an object library of
# an empty file so that none of them waits for another to be linked.
function(velmora_test_pch_library)
    if(TARGET velmora_test_pch)
        return()
    endif()
    file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/tests/test_pch.cpp CONTENT "")
    add_library(velmora_test_pch OBJECT ${CMAKE_BINARY_DIR}/tests/test_pch.cpp)
    target_link_libraries(velmora_test_pch PRIVATE common_options GTest::gtest)
    velmora_test_options(velmora_test_pch)
    target_precompile_headers(velmora_test_pch PRIVATE ${VELMORA_TEST_PCH_HEADERS})
endfunction()

function(velmora_add_test_suite name)
    cmake_parse_arguments(ARG "QT;NO_GTEST_MAIN" "SHARDS" "SOURCES;LIBS" ${ARGN})
    if(NOT ARG_SOURCES)
        message(FATAL_ERROR "velmora_add_test_suite(${name}): no SOURCES")
    endif()
    velmora_check_listed(${ARG_SOURCES})
    foreach(f ${ARG_SOURCES})
        cmake_path(ABSOLUTE_PATH f BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR} NORMALIZE OUTPUT_VARIABLE abs)
        cmake_path(GET abs PARENT_PATH dir)
        set_property(GLOBAL APPEND PROPERTY VELMORA_TEST_FOLDERS ${dir})
    endforeach()

    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE common_options ${ARG_LIBS} GTest::gtest)
    if(NOT ARG_NO_GTEST_MAIN)
        target_link_libraries(${name} PRIVATE GTest::gtest_main)
    endif()
    if(ARG_QT)
        find_package(Qt6 REQUIRED COMPONENTS Test Widgets)
        velmora_drop_qt_testcase_paths()
        target_link_libraries(${name} PRIVATE Qt6::Test Qt6::Widgets)
        set_target_properties(${name} PROPERTIES UNITY_BUILD_BATCH_SIZE 12)
    endif()
    velmora_test_paths_library()
    target_link_libraries(${name} PRIVATE velmora_test_paths)
    velmora_test_options(${name})
    if(VELMORA_TEST_PCH AND NOT ARG_QT)
        velmora_test_pch_library()
        target_precompile_headers(${name} REUSE_FROM velmora_test_pch)
    else()
        # A Qt test program compiles in a few large batches: a precompiled
        # header of the Qt and test headers (200 MB) took longer to make
        # than it saved them.
        target_compile_options(${name} PRIVATE -include ${PROJECT_SOURCE_DIR}/tests/test_paths.h)
    endif()
    add_dependencies(${name} velmora_data)
    set(env "VELMORA_HOME=${CMAKE_BINARY_DIR}/bin;QT_QPA_PLATFORM=offscreen")
    if(VELMORA_TEST_PER_PROGRAM)
        # The larger programs first, so that the longest does not start last.
        list(LENGTH ARG_SOURCES cost)
        if(NOT ARG_SHARDS OR ARG_SHARDS LESS 2)
            add_test(NAME ${name} COMMAND ${name})
            set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" COST ${cost})
        else()
            # GoogleTest's own sharding: shard i of n runs the cases i, i + n, ...
            math(EXPR last "${ARG_SHARDS} - 1")
            math(EXPR cost "${cost} / ${ARG_SHARDS} + 1")
            foreach(i RANGE ${last})
                add_test(NAME ${name}.${i} COMMAND ${name})
                set_tests_properties(${name}.${i} PROPERTIES COST ${cost}
                    ENVIRONMENT "${env};GTEST_TOTAL_SHARDS=${ARG_SHARDS};GTEST_SHARD_INDEX=${i}")
            endforeach()
        endif()
    else()
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "${env}")
    endif()
endfunction()

# velmora_check_test_folders(): every folder of tests/ but data/ and scripts/
# gives the sources of a test program.
function(velmora_check_test_folders)
    get_property(used GLOBAL PROPERTY VELMORA_TEST_FOLDERS)
    file(GLOB entries LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
    foreach(dir ${entries})
        get_filename_component(leaf ${dir} NAME)
        if(IS_DIRECTORY ${dir} AND NOT leaf MATCHES "^(data|scripts)$" AND NOT dir IN_LIST used)
            file(GLOB any ${dir}/*.cpp)
            if(any)
                message(FATAL_ERROR "tests/${leaf}/ holds tests that no test program builds: "
                    "add a velmora_add_test_suite() for it to tests/CMakeLists.txt")
            endif()
        endif()
    endforeach()
endfunction()
