# One static library per source folder: every .cpp/.h/.ui in the folder belongs to it, so a new
# file needs no CMake change.
function(sr_library name dir)
    file(GLOB _sources CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h ${dir}/*.ui)
    add_library(${name} STATIC ${_sources})
    target_include_directories(${name} PUBLIC ${SR_SOURCE_DIR}/src)
    set_target_properties(${name} PROPERTIES AUTOUIC_SEARCH_PATHS ${dir})
    target_link_libraries(${name} PUBLIC ${ARGN})
endfunction()
