# Cross build for 64-bit Windows (x86-64, PE32+) with mingw-w64.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(tavrel_mingw_triplet x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
