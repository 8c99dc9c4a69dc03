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
