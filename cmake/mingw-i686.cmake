# Cross-compiles for 32-bit Windows (x86) with Debian's MinGW-w64 (g++-mingw-w64-i686).
set(CMAKE_SYSTEM_PROCESSOR x86)
set(mingw_prefix i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)

# Doubles in SSE2 registers, as on x86-64, rather than in the x87's 80-bit ones, so that the
# program rounds every intermediate result as the Linux build does.
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
