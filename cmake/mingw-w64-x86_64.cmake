# Cross build for 64-bit Windows with MinGW-w64 (Debian:
# g++-mingw-w64-x86-64-posix); the tests run under Wine (Debian: wine64).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TORVANE_MINGW_TRIPLE x86_64-w64-mingw32)
# The posix thread model, so that std::thread and std::mutex are there.
set(CMAKE_C_COMPILER ${TORVANE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TORVANE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TORVANE_MINGW_TRIPLE}-windres)

# Libraries and headers come from the MinGW-w64 tree only, never the host's.
set(CMAKE_FIND_ROOT_PATH /usr/${TORVANE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Debian keeps wine64 out of PATH; its "wine" wrapper complains of a
# missing 32-bit Wine on every start.
find_program(TORVANE_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(TORVANE_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TORVANE_WINE})
endif()
