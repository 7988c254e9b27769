# Shared part of the two MinGW-w64 toolchain files; GLOAMERY_MINGW_TRIPLE names the target.
set(CMAKE_C_COMPILER ${GLOAMERY_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${GLOAMERY_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${GLOAMERY_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${GLOAMERY_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Static runtime: the .exe must start on a bare Windows without MinGW's DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
