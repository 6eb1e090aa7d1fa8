# Fails when a tracked C++ file is not formatted as .clang-format says.
execute_process(COMMAND git ls-files -- "*.cpp" "*.h"
    WORKING_DIRECTORY ${ROOT} OUTPUT_VARIABLE _files OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE _rc)
if(NOT _rc EQUAL 0)
    message(STATUS "not a git checkout; formatting not checked")
    return()
endif()
string(REPLACE "\n" ";" _files "${_files}")
set(_bad "")
foreach(_f IN LISTS _files)
    if(_f STREQUAL "")
        continue()
    endif()
    execute_process(COMMAND ${CLANG_FORMAT} --dry-run -Werror ${_f}
        WORKING_DIRECTORY ${ROOT} RESULT_VARIABLE _r OUTPUT_QUIET ERROR_QUIET)
    if(NOT _r EQUAL 0)
        list(APPEND _bad ${_f})
    endif()
endforeach()
if(_bad)
    message(FATAL_ERROR "not clang-formatted: ${_bad}")
endif()
message(STATUS "all tracked C++ files are clang-formatted")
