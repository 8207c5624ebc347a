# Cross-compiling a 64-bit build of the Windows program with MinGW-w64 (Debian's
# g++-mingw-w64-x86-64-posix). The product is the 32-bit program; this build exists so
# that the Windows tests run under 64-bit Wine on machines whose kernel runs no 32-bit
# x86 code at all.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(DOSTRA_MINGW_PREFIX x86_64-w64-mingw32)
# The 64-bit loader by name: Debian's "wine" picks the 32-bit one whenever it is
# installed, runnable or not.
find_program(DOSTRA_WINE NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(DOSTRA_WINE NAMES wine64 wine)
set(DOSTRA_WINEARCH win64)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
