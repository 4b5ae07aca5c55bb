# Cross-compiles for 64-bit Windows (x64) with Debian's MinGW-w64 (g++-mingw-w64-x86-64). Doubles
# are in SSE2 registers already, as in the Linux build.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(mingw_prefix x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
