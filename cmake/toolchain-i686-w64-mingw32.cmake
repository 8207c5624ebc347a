# Cross-compiling the 32-bit Windows program with MinGW-w64 (Debian's
# g++-mingw-w64-i686, posix thread model: the win32 model lacks std::thread/mutex).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(DOSTRA_MINGW_PREFIX i686-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${DOSTRA_MINGW_PREFIX}-gcc-posix ${DOSTRA_MINGW_PREFIX}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${DOSTRA_MINGW_PREFIX}-g++-posix ${DOSTRA_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${DOSTRA_MINGW_PREFIX}-windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${DOSTRA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Tests and helper programs of the Windows build run under Wine.
find_program(DOSTRA_WINE NAMES wine)
set(DOSTRA_WINEARCH win32)
if(DOSTRA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${DOSTRA_WINE})
endif()
