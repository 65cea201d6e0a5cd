# add_host_plugin(<name> VERSIONS <year>... SOURCES <file>... LIBRARIES <target>...)
#
# Builds one plug-in module per host version, <name>_<year>, from the same
# sources, and a target <name>_modules that builds them all. Only the
# exported MApiVersion differs: each build compiles the host API's plug-in
# header once with that version's MAYA_API_VERSION, as the host's own build
# does. The modules land in the plug-in directory.
set(TESSARK_HOST_API_VERSION_2018 20180300)
set(TESSARK_HOST_API_VERSION_2019 20190200)
set(TESSARK_HOST_API_VERSION_2020 20200000)

function(add_host_plugin name)
    cmake_parse_arguments(PARSE_ARGV 1 plugin "" "" "VERSIONS;SOURCES;LIBRARIES")
    if(NOT plugin_VERSIONS OR NOT plugin_SOURCES)
        message(FATAL_ERROR "add_host_plugin(${name}): VERSIONS and SOURCES are required")
    endif()
    foreach(version ${plugin_VERSIONS})
        set(api ${TESSARK_HOST_API_VERSION_${version}})
        if(NOT api)
            message(FATAL_ERROR "add_host_plugin(${name}): no host API version known for ${version}")
        endif()
        set(module ${name}_${version})
        set(version_source ${CMAKE_CURRENT_BINARY_DIR}/${module}_api_version.cpp)
        file(CONFIGURE OUTPUT ${version_source} CONTENT
             "// The host API version of ${module}, exported as MApiVersion.\n#define MAYA_API_VERSION ${api}\n#include <maya/MFnPlugin.h>\n")
        add_library(${module} MODULE ${plugin_SOURCES} ${version_source})
        target_link_libraries(${module} PRIVATE ${plugin_LIBRARIES})
        set_target_properties(${module} PROPERTIES
            PREFIX ""
            LIBRARY_OUTPUT_DIRECTORY ${TESSARK_PLUGIN_DIR}
            CXX_VISIBILITY_PRESET hidden
            VISIBILITY_INLINES_HIDDEN ON)
        list(APPEND modules ${module})
    endforeach()
    # One target that stands for every build, for the tests and benchmarks that load them.
    add_custom_target(${name}_modules)
    add_dependencies(${name}_modules ${modules})
endfunction()
