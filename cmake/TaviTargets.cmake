# Collects the C++ sources of the given folders (recursively) into OUT.
function(tavi_glob_sources OUT)
    set(sources)
    foreach(folder IN LISTS ARGN)
        file(GLOB_RECURSE found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
        list(APPEND sources ${found})
    endforeach()
    set(${OUT} ${sources} PARENT_SCOPE)
endfunction()
