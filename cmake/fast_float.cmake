# fast_float converts the numbers the dialogs take. It is header-only in Debian's /usr/include,
# which the cross compilers must not search as a whole: a source that uses it gets a folder
# holding only a link to it.
find_path(FAST_FLOAT_DIR fast_float/fast_float.h PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH)
if(NOT FAST_FLOAT_DIR)
    message(FATAL_ERROR "fast_float not found: install libfast-float-dev (scripts/install-deps does)")
endif()
set(VELMORA_FAST_FLOAT_INCLUDE ${CMAKE_BINARY_DIR}/fast_float_include)
file(MAKE_DIRECTORY ${VELMORA_FAST_FLOAT_INCLUDE})
file(CREATE_LINK ${FAST_FLOAT_DIR}/fast_float ${VELMORA_FAST_FLOAT_INCLUDE}/fast_float SYMBOLIC)

# The sources of this folder that include fast_float.
function(velmora_use_fast_float)
    set_source_files_properties(${ARGN} PROPERTIES COMPILE_OPTIONS "-isystem;${VELMORA_FAST_FLOAT_INCLUDE}")
endfunction()
