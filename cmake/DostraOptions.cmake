# Compiler settings shared by every target of the project.
option(DOSTRA_WERROR "Treat warnings as errors" OFF)
option(DOSTRA_SANITIZE "Build with the address and undefined-behaviour sanitizers" OFF)

add_library(dostra_build_settings INTERFACE)
target_compile_options(dostra_build_settings INTERFACE -Wall -Wextra)
if(DOSTRA_WERROR)
  target_compile_options(dostra_build_settings INTERFACE -Werror)
endif()
# GCC 12 reports overlapping copies inside libstdc++ for plain std::string
# concatenation at -O2 and above (GCC bug 105329): a false alarm, not a fault of ours.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12
   AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(dostra_build_settings INTERFACE -Wno-restrict)
endif()
if(DOSTRA_SANITIZE)
  target_compile_options(dostra_build_settings INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(dostra_build_settings INTERFACE -fsanitize=address,undefined)
endif()
if(WIN32)
  # UTF-8 inside: the Windows side converts to UTF-16 at every system call, so keep
  # the wide API the default and leave out the rarely used parts of windows.h.
  target_compile_definitions(dostra_build_settings INTERFACE
    UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0600)
  # Ship one self-contained exe: only system DLLs are imported.
  target_link_options(dostra_build_settings INTERFACE -static -static-libgcc -static-libstdc++)
endif()

# Every library of the project is a layer under src/; headers are included as
# "layer/file.h" from the src/ root.
function(dostra_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC dostra_build_settings)
endfunction()
