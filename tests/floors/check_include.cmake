# Compiles a one-line source that includes HEADER with the include roots of a
# target (INCLUDES, separated by "|") and checks the outcome: EXPECT "found"
# or "refused" (the compiler cannot find the header).
#   cmake -DCOMPILER=... -DINCLUDES=... -DHEADER=... -DEXPECT=... -DWORK=... -P check_include.cmake
file(MAKE_DIRECTORY ${WORK})
string(MAKE_C_IDENTIFIER "${HEADER}" probe_name)
set(probe ${WORK}/${probe_name}.cpp)
file(WRITE ${probe} "#include ${HEADER}\n")
string(REPLACE "|" ";" include_list "${INCLUDES}")
set(flags)
foreach(dir ${include_list})
    list(APPEND flags -I${dir})
endforeach()
execute_process(COMMAND ${COMPILER} -std=c++20 -fsyntax-only ${flags} ${probe}
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(EXPECT STREQUAL "found")
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${HEADER} should compile with these roots but did not:\n${err}")
    endif()
elseif(EXPECT STREQUAL "refused")
    if(result EQUAL 0)
        message(FATAL_ERROR "${HEADER} should be out of reach of these roots but compiled")
    endif()
    if(NOT err MATCHES "No such file or directory")
        message(FATAL_ERROR "${HEADER} failed for another reason than being out of reach:\n${err}")
    endif()
else()
    message(FATAL_ERROR "EXPECT must be found or refused")
endif()
