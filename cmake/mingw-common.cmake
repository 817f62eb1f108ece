# Shared part of the MinGW-w64 toolchain files. Expects NORVEL_MINGW_TRIPLE.
set(CMAKE_C_COMPILER ${NORVEL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${NORVEL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${NORVEL_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${NORVEL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)  # never the build machine's Linux packages
# Windows test programs run under Wine; scripts/test provides the prefix and display.
set(CMAKE_CROSSCOMPILING_EMULATOR ${NORVEL_WINE_LOADER})
# One self-contained exe: the C and C++ runtimes and winpthread are linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
