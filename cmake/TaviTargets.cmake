# Collects the C++ sources of the given folders (recursively) into OUT.
function(tavi_glob_sources OUT)
    set(sources)
    foreach(folder IN LISTS ARGN)
        file(GLOB_RECURSE found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
        list(APPEND sources ${found})
    endforeach()
    set(${OUT} ${sources} PARENT_SCOPE)
endfunction()

# The standard headers most of the project's sources read, compiled once per target.
set(TAVI_PRECOMPILED_STD_HEADERS <algorithm> <array> <cmath> <cstddef> <cstdint> <cstring>
    <filesystem> <functional> <limits> <map> <memory> <optional> <string> <string_view>
    <utility> <vector>)

function(tavi_precompile_headers target)
    target_precompile_headers(${target} PRIVATE ${TAVI_PRECOMPILED_STD_HEADERS} ${ARGN})
endfunction()

# Compiles a target's sources in batches, one translation unit each: the headers are read and
# their inline code generated once per batch. File-local names (anonymous namespaces, statics)
# must therefore be unique among the sources of the target.
function(tavi_unity_build target batch_size)
    set_target_properties(${target} PROPERTIES UNITY_BUILD ON
                          UNITY_BUILD_BATCH_SIZE ${batch_size})
endfunction()

# Compiles the target's sources of the given folders in batches of up to `size` files of one
# folder, one translation unit each: file-local names must be unique among the sources of each of
# these folders. Sources of other folders are compiled one by one.
function(tavi_unity_by_folder target size)
    set(folders ${ARGN})
    get_target_property(sources ${target} SOURCES)
    set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_MODE GROUP)
    foreach(source IN LISTS sources)
        get_filename_component(directory ${source} DIRECTORY)
        file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${directory})
        if(NOT folder IN_LIST folders)
            continue()
        endif()
        string(MAKE_C_IDENTIFIER ${folder} group)
        if(NOT DEFINED count_${group})
            set(count_${group} 0)
        endif()
        math(EXPR batch "${count_${group}} / ${size}")
        math(EXPR count_${group} "${count_${group}} + 1")
        set_source_files_properties(${source} TARGET_DIRECTORY ${target}
                                    PROPERTIES UNITY_GROUP ${group}_${batch})
    endforeach()
endfunction()

# The sanitized test programs (AddressSanitizer and UndefinedBehaviorSanitizer) link the plain
# programs' compiled test code against sanitized twins of the project's libraries: the test code
# is compiled once, and the sanitizers watch the code under test.
set(TAVI_SANITIZER_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer
    -fno-sanitize-recover=all)
# Lightly optimised with line tables: the long flights run twice as fast as unoptimised and
# the reports still name every line. GCC's uninitialised-use analysis under the sanitizers at
# this level reports std::variant members it cannot follow; the plain build keeps the check.
set(TAVI_SANITIZED_CODE_FLAGS -O1 -g1 -Wno-maybe-uninitialized)

# The properties a twin takes over from its original.
set(TAVI_TWIN_PROPERTIES INCLUDE_DIRECTORIES INTERFACE_INCLUDE_DIRECTORIES COMPILE_DEFINITIONS
    INTERFACE_COMPILE_DEFINITIONS COMPILE_OPTIONS PRECOMPILE_HEADERS UNITY_BUILD UNITY_BUILD_MODE
    UNITY_BUILD_BATCH_SIZE AUTOMOC LINK_OPTIONS LINK_DEPENDS PREFIX SUFFIX)

# The project's targets that have a sanitized twin, in the order they were made.
set_property(GLOBAL PROPERTY TAVI_TWINNED_TARGETS)

# Maps a list of link items to the twins of the project's targets that have one.
function(tavi_twin_link_items OUT)
    get_property(twinned GLOBAL PROPERTY TAVI_TWINNED_TARGETS)
    set(items)
    foreach(item IN LISTS ARGN)
        foreach(name IN LISTS twinned)
            if(item STREQUAL name)
                set(item ${name}_sanitized)
            else()
                string(REPLACE ",${name}>" ",${name}_sanitized>" item "${item}")
                string(REPLACE ":${name}>" ":${name}_sanitized>" item "${item}")
            endif()
        endforeach()
        list(APPEND items "${item}")
    endforeach()
    set(${OUT} ${items} PARENT_SCOPE)
endfunction()

# Makes `<target>_sanitized`, built only on request: the same sources and settings compiled
# with the sanitizers, linked against the twins of the project's libraries the target uses.
# Call it in the directory that defines the target, after its twinned dependencies.
function(tavi_sanitized_twin target)
    if(NOT TAVI_SANITIZED_TWINS)
        return()
    endif()
    set(twin ${target}_sanitized)
    get_target_property(type ${target} TYPE)
    get_target_property(sources ${target} SOURCES)
    if(type STREQUAL "EXECUTABLE")
        add_executable(${twin} EXCLUDE_FROM_ALL ${sources}
                       $<TARGET_OBJECTS:tavi_lsan_suppressions>)
    elseif(type STREQUAL "MODULE_LIBRARY")
        add_library(${twin} MODULE EXCLUDE_FROM_ALL ${sources})
    else()
        add_library(${twin} STATIC EXCLUDE_FROM_ALL ${sources})
    endif()
    foreach(property IN LISTS TAVI_TWIN_PROPERTIES)
        get_target_property(value ${target} ${property})
        if(NOT value STREQUAL "value-NOTFOUND")
            set_property(TARGET ${twin} PROPERTY ${property} "${value}")
        endif()
    endforeach()
    foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
        get_target_property(value ${target} ${property})
        if(NOT value STREQUAL "value-NOTFOUND")
            tavi_twin_link_items(mapped ${value})
            set_property(TARGET ${twin} PROPERTY ${property} "${mapped}")
        endif()
    endforeach()
    target_compile_options(${twin} PRIVATE ${TAVI_SANITIZER_FLAGS} ${TAVI_SANITIZED_CODE_FLAGS})
    if(type STREQUAL "STATIC_LIBRARY")
        target_link_options(${twin} INTERFACE -fsanitize=address,undefined)
    else()
        target_link_options(${twin} PRIVATE -fsanitize=address,undefined)
    endif()
    set_property(GLOBAL APPEND PROPERTY TAVI_TWINNED_TARGETS ${target})
endfunction()
