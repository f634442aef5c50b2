# Options every target of the project links to.
add_library(common_options INTERFACE)
target_compile_features(common_options INTERFACE cxx_std_20)
target_include_directories(common_options INTERFACE ${CMAKE_SOURCE_DIR})
target_compile_options(common_options INTERFACE -Wall -Wextra -Wpedantic)
if(VELMORA_SANITIZE)
    target_compile_options(common_options INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(common_options INTERFACE -fsanitize=address,undefined)
endif()

set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# velmora_module(NAME DIR [DEPS ...]): a static library of every .cpp in DIR.
function(velmora_module name)
    cmake_parse_arguments(ARG "" "" "DEPS;PRIVATE_DEPS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    list(FILTER sources INCLUDE REGEX "\\.(cpp|h)$")
    set(cpp ${sources})
    list(FILTER cpp INCLUDE REGEX "\\.cpp$")
    if(cpp)
        add_library(${name} STATIC ${sources})
        target_link_libraries(${name} PUBLIC common_options ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
    else()
        # A module with nothing to compile yet.
        add_library(${name} INTERFACE)
        target_link_libraries(${name} INTERFACE common_options ${ARG_DEPS})
    endif()
endfunction()
