# Cross build for 32-bit Windows (i686) with mingw-w64.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(tavrel_mingw_triplet i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
