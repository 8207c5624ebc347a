# What the Windows program ships with: OpenSSL's DLLs (loaded at run time, built by
# scripts/build-openssl-mingw.sh) beside DOSTRA_UPDATE.exe, and OpenSSL's licence. The
# 64-bit build takes OpenSSL's 64-bit names (libssl-3-x64.dll, libcrypto-3-x64.dll) from
# the script's x86_64 folder.
#
#   dist                              target: gathers ${CMAKE_BINARY_DIR}/dist/
#   dostra_copy_openssl_dlls(target)  copies the DLLs next to target after each build, so a
#                                     test program under Wine loads them from its own folder
#   dostra_openssl_dll_paths(out)     the DLLs' full paths; empty when they are not found
#
# The top CMakeLists.txt includes this file last, after every target exists; a
# CMakeLists.txt processed before that includes it itself to call the function (including
# it again is harmless). Off Windows they do nothing.

# The DLL names and the script's cache folders for the target's architecture.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(DOSTRA_OPENSSL_ARCH x86_64)
  set(DOSTRA_OPENSSL_DLLS libssl-3-x64.dll libcrypto-3-x64.dll)
  set(_dostra_openssl_folder_glob "openssl-mingw-x86_64-*")
else()
  set(DOSTRA_OPENSSL_ARCH i686)
  set(DOSTRA_OPENSSL_DLLS libssl-3.dll libcrypto-3.dll)
  # The i686 folders carry the version right after the prefix.
  set(_dostra_openssl_folder_glob "openssl-mingw-[0-9]*")
endif()

function(_dostra_has_openssl_dlls folder out)
  set(${out} FALSE PARENT_SCOPE)
  if(NOT folder)
    return()
  endif()
  foreach(dll IN LISTS DOSTRA_OPENSSL_DLLS)
    if(NOT EXISTS "${folder}/${dll}")
      return()
    endif()
  endforeach()
  set(${out} TRUE PARENT_SCOPE)
endfunction()

# The newest folder the script has filled for this architecture, in its cache.
function(_dostra_default_openssl_dll_dir out)
  if(DEFINED ENV{DOSTRA_CACHE})
    set(cache "$ENV{DOSTRA_CACHE}")
  else()
    set(cache "$ENV{HOME}/.cache/dostra")
  endif()
  file(GLOB candidates LIST_DIRECTORIES true "${cache}/${_dostra_openssl_folder_glob}")
  list(SORT candidates COMPARE NATURAL ORDER DESCENDING)
  foreach(candidate IN LISTS candidates)
    _dostra_has_openssl_dlls("${candidate}" has)
    if(has)
      set(${out} "${candidate}" PARENT_SCOPE)
      return()
    endif()
  endforeach()
  set(${out} "" PARENT_SCOPE)
endfunction()

function(_dostra_openssl_found out)
  _dostra_has_openssl_dlls("${DOSTRA_OPENSSL_DLL_DIR}" has)
  set(${out} ${has} PARENT_SCOPE)
endfunction()

if(WIN32)
  _dostra_default_openssl_dll_dir(_dostra_openssl_default)
  list(JOIN DOSTRA_OPENSSL_DLLS ", " _dostra_openssl_names)
  set(DOSTRA_OPENSSL_DLL_DIR "${_dostra_openssl_default}" CACHE PATH
      "Folder with ${_dostra_openssl_names} and LICENSE.txt (scripts/build-openssl-mingw.sh --arch ${DOSTRA_OPENSSL_ARCH} prints it)")
  # A cached value without this architecture's DLLs (empty, or the other architecture's
  # folder) gives way to the script's folder once it has run, without a fresh build folder.
  _dostra_openssl_found(_dostra_found)
  if(NOT _dostra_found AND _dostra_openssl_default)
    if(DOSTRA_OPENSSL_DLL_DIR)
      message(STATUS "DOSTRA_OPENSSL_DLL_DIR='${DOSTRA_OPENSSL_DLL_DIR}' lacks ${_dostra_openssl_names}; "
                     "using ${_dostra_openssl_default}")
    endif()
    set_property(CACHE DOSTRA_OPENSSL_DLL_DIR PROPERTY VALUE "${_dostra_openssl_default}")
    _dostra_openssl_found(_dostra_found)
  endif()
  if(NOT _dostra_found AND NOT TARGET dist)
    message(STATUS "OpenSSL DLLs not found (DOSTRA_OPENSSL_DLL_DIR='${DOSTRA_OPENSSL_DLL_DIR}'); "
                   "run scripts/build-openssl-mingw.sh --arch ${DOSTRA_OPENSSL_ARCH}, then configure again")
  endif()
endif()

function(dostra_openssl_dll_paths out)
  _dostra_openssl_found(found)
  set(paths "")
  if(WIN32 AND found)
    list(TRANSFORM DOSTRA_OPENSSL_DLLS PREPEND "${DOSTRA_OPENSSL_DLL_DIR}/" OUTPUT_VARIABLE paths)
  endif()
  set(${out} "${paths}" PARENT_SCOPE)
endfunction()

function(dostra_copy_openssl_dlls target)
  dostra_openssl_dll_paths(_dostra_openssl_dll_paths)
  if(NOT _dostra_openssl_dll_paths)
    return()
  endif()
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different
            ${_dostra_openssl_dll_paths} "$<TARGET_FILE_DIR:${target}>"
    VERBATIM)
endfunction()

# Made by the top directory's include, the last line there, when the program exists.
if(WIN32 AND NOT TARGET dist AND CMAKE_CURRENT_SOURCE_DIR STREQUAL PROJECT_SOURCE_DIR
   AND TARGET DOSTRA_UPDATE)
  set(_dostra_dist_dir "${CMAKE_BINARY_DIR}/dist")
  if(_dostra_found)
    dostra_openssl_dll_paths(_dostra_openssl_dll_paths)
    add_custom_target(dist
      COMMAND ${CMAKE_COMMAND} -E make_directory "${_dostra_dist_dir}"
      COMMAND ${CMAKE_COMMAND} -E copy_if_different
              "$<TARGET_FILE:DOSTRA_UPDATE>" ${_dostra_openssl_dll_paths} "${_dostra_dist_dir}"
      COMMAND ${CMAKE_COMMAND} -E copy_if_different
              "${DOSTRA_OPENSSL_DLL_DIR}/LICENSE.txt" "${_dostra_dist_dir}/OPENSSL-LICENSE.txt"
      COMMENT "Gathering DOSTRA_UPDATE.exe and OpenSSL in ${_dostra_dist_dir}"
      VERBATIM)
    add_dependencies(dist DOSTRA_UPDATE)
  else()
    add_custom_target(dist
      COMMAND ${CMAKE_COMMAND} -E echo
              "dist needs OpenSSL's DLLs: run scripts/build-openssl-mingw.sh --arch ${DOSTRA_OPENSSL_ARCH}, then configure again"
      COMMAND ${CMAKE_COMMAND} -E false
      VERBATIM)
  endif()
endif()
