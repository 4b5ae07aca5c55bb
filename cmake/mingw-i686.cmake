# Cross-compiles for 32-bit Windows (x86) with Debian's MinGW-w64 (g++-mingw-w64-i686).
set(CMAKE_SYSTEM_PROCESSOR x86)
set(mingw_prefix i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)

# CMakeLists.txt keeps doubles in SSE2 registers on this processor, as on x86-64.
