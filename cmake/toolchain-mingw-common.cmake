# What both Windows cross builds share; the toolchain file of each names the
# target triplet (i686-w64-mingw32 or x86_64-w64-mingw32) in tavrel_mingw_triplet
# and the processor, then includes this file.
# The posix thread model, which GoogleTest needs. Everything links statically
# so only system DLLs are needed.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${tavrel_mingw_triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${tavrel_mingw_triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${tavrel_mingw_triplet}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${tavrel_mingw_triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# wine-run picks the Wine prefix and loader from each program's bitness.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
