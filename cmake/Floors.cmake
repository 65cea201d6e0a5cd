# The floors of the tree, enforced by the build: a target sees only the
# include roots of its own floor and of the targets it links.
#
# tessark_include_root(<target> <PUBLIC|PRIVATE|INTERFACE> <path>...) gives the
# target an include root of its own that holds only the listed paths of the
# source tree (folders or single headers, each as a link to the source), so
# that "<path>/file.h" resolves for those paths and nothing else of the tree
# does. A source that includes a header of a floor above it, or of the engine
# behind the host API, fails to compile.
function(tessark_include_root target scope)
    set(root ${CMAKE_BINARY_DIR}/include-roots/${target})
    foreach(path ${ARGN})
        set(source ${PROJECT_SOURCE_DIR}/${path})
        if(NOT EXISTS ${source})
            message(FATAL_ERROR "include root of ${target}: ${path} is not in the tree")
        endif()
        set(link ${root}/${path})
        get_filename_component(parent ${link} DIRECTORY)
        file(MAKE_DIRECTORY ${parent})
        if(NOT IS_SYMLINK ${link})
            file(CREATE_LINK ${source} ${link} SYMBOLIC)
        endif()
    endforeach()
    target_include_directories(${target} ${scope} ${root})
endfunction()
