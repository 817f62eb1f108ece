# Cross build of the 32-bit Windows program (the release target) with MinGW-w64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(NORVEL_MINGW_TRIPLE i686-w64-mingw32)
# Wine's 32-bit loader (Debian's "wine" wrapper would also start 64-bit programs through it).
set(NORVEL_WINE_LOADER /usr/lib/wine/wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# The pixel arithmetic is exact to the bit: compute in SSE, never on the x87 unit.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
