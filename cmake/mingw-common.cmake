# The -posix compilers: std::thread needs the winpthread threading model.
set(CMAKE_C_COMPILER ${QIRELO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QIRELO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QIRELO_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QIRELO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# A clean Windows has no MinGW runtime DLLs: link them all in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Tests and tools run under Wine, with a prefix of the build's own.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
