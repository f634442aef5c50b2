# Options every target of the project links to.
add_library(common_options INTERFACE)
target_compile_features(common_options INTERFACE cxx_std_20)
target_include_directories(common_options INTERFACE ${CMAKE_SOURCE_DIR})
target_compile_options(common_options INTERFACE -Wall -Wextra -Wpedantic)
if(VELMORA_SANITIZE)
    # A target with the property VELMORA_ADDRESS_SANITIZER_ONLY is compiled
    # with AddressSanitizer alone (the test code: cmake/VelmoraTests.cmake).
    set(address_only "$<BOOL:$<TARGET_PROPERTY:VELMORA_ADDRESS_SANITIZER_ONLY>>")
    target_compile_options(common_options INTERFACE
        $<IF:${address_only},-fsanitize=address,-fsanitize=address$<COMMA>undefined>
        -fno-omit-frame-pointer $<$<NOT:${address_only}>:-fno-sanitize-recover=undefined>)
    target_link_options(common_options INTERFACE -fsanitize=address,undefined)
endif()


# The linker (the compiler's -fuse-ld=): lld links the test programs several
# times faster than the default ld.bfd, most of all in the sanitized tree.
# When the one named is missing the compiler's default is used; empty: always.
set(VELMORA_LINKER lld CACHE STRING "Linker the compiler is told to use (lld, mold, gold; empty: its default)")
if(VELMORA_LINKER)
    include(CheckLinkerFlag)
    string(MAKE_C_IDENTIFIER "VELMORA_HAVE_LD_${VELMORA_LINKER}" have_linker)
    check_linker_flag(CXX -fuse-ld=${VELMORA_LINKER} ${have_linker})
    if(${have_linker})
        target_link_options(common_options INTERFACE -fuse-ld=${VELMORA_LINKER})
    else()
        message(STATUS "Linker ${VELMORA_LINKER} not found: the compiler's default linker is used")
    endif()
endif()

set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# velmora_check_listed(FILES...): every .cpp and .h in the folders of FILES
# (relative to the current folder) must be one of FILES. Sources are listed by
# hand; this catches a file that was added to a folder but not to its list,
# which would otherwise be left out of the build (or a test left unrun)
# without a word.
function(velmora_check_listed)
    set(listed "")
    set(dirs "")
    foreach(f ${ARGN})
        cmake_path(ABSOLUTE_PATH f BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR} NORMALIZE OUTPUT_VARIABLE abs)
        list(APPEND listed ${abs})
        cmake_path(GET abs PARENT_PATH dir)
        list(APPEND dirs ${dir})
    endforeach()
    list(REMOVE_DUPLICATES dirs)
    set(missing "")
    foreach(dir ${dirs})
        file(GLOB present ${dir}/*.cpp ${dir}/*.h)
        foreach(f ${present})
            if(NOT f IN_LIST listed)
                file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR} ${f})
                list(APPEND missing ${rel})
            endif()
        endforeach()
    endforeach()
    if(missing)
        file(RELATIVE_PATH here ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_LIST_FILE})
        list(JOIN missing "\n  " text)
        message(FATAL_ERROR "Not listed in ${here}:\n  ${text}\nAdd each file to its target's source list.")
    endif()
endfunction()

# velmora_module(NAME SOURCES files... [DEPS libs...] [PRIVATE_DEPS libs...]):
# a static library of the listed files of the current folder (an interface
# library while it has nothing to compile). DEPS are the modules and
# libraries its headers need; PRIVATE_DEPS only its .cpp files.
function(velmora_module name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
    if(ARG_SOURCES)
        velmora_check_listed(${ARG_SOURCES})
    else()
        file(GLOB present ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
        if(present)
            message(FATAL_ERROR "${name}: list the sources of ${CMAKE_CURRENT_SOURCE_DIR} in its CMakeLists.txt")
        endif()
    endif()
    set(cpp ${ARG_SOURCES})
    list(FILTER cpp INCLUDE REGEX "\\.cpp$")
    if(cpp)
        add_library(${name} STATIC ${ARG_SOURCES})
        target_link_libraries(${name} PUBLIC common_options ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
    else()
        # A module with nothing to compile yet.
        add_library(${name} INTERFACE ${ARG_SOURCES})
        target_link_libraries(${name} INTERFACE common_options ${ARG_DEPS})
    endif()
endfunction()
