# Cross-compiling the 32-bit Windows program with MinGW-w64 (Debian's
# g++-mingw-w64-i686).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(DOSTRA_MINGW_PREFIX i686-w64-mingw32)
find_program(DOSTRA_WINE NAMES wine)
set(DOSTRA_WINEARCH win32)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
