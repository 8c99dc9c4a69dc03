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
