# What the Windows program ships with: OpenSSL's DLLs (loaded at run time, built by
# scripts/build-openssl-mingw.sh) beside DOSTRA_UPDATE.exe, and OpenSSL's licence.
#
#   dist                              target: gathers ${CMAKE_BINARY_DIR}/dist/
#   dostra_copy_openssl_dlls(target)  copies the DLLs next to target after each build, so a
#                                     test program under Wine loads them from its own folder
#
# The top CMakeLists.txt includes this file last, after every target exists; a
# CMakeLists.txt processed before that includes it itself to call the function (including
# it again is harmless). Off Windows both do nothing.

# The newest folder the script has filled, in its cache.
function(_dostra_default_openssl_dll_dir out)
  if(DEFINED ENV{DOSTRA_CACHE})
    set(cache "$ENV{DOSTRA_CACHE}")
  else()
    set(cache "$ENV{HOME}/.cache/dostra")
  endif()
  file(GLOB candidates LIST_DIRECTORIES true "${cache}/openssl-mingw-*")
  list(SORT candidates COMPARE NATURAL ORDER DESCENDING)
  foreach(candidate IN LISTS candidates)
    if(EXISTS "${candidate}/libssl-3.dll" AND EXISTS "${candidate}/libcrypto-3.dll")
      set(${out} "${candidate}" PARENT_SCOPE)
      return()
    endif()
  endforeach()
  set(${out} "" PARENT_SCOPE)
endfunction()

function(_dostra_openssl_found out)
  if(DOSTRA_OPENSSL_DLL_DIR AND EXISTS "${DOSTRA_OPENSSL_DLL_DIR}/libssl-3.dll"
     AND EXISTS "${DOSTRA_OPENSSL_DLL_DIR}/libcrypto-3.dll")
    set(${out} TRUE PARENT_SCOPE)
  else()
    set(${out} FALSE PARENT_SCOPE)
  endif()
endfunction()

if(WIN32)
  _dostra_default_openssl_dll_dir(_dostra_openssl_default)
  set(DOSTRA_OPENSSL_DLL_DIR "${_dostra_openssl_default}" CACHE PATH
      "Folder with libssl-3.dll, libcrypto-3.dll and LICENSE.txt (scripts/build-openssl-mingw.sh prints it)")
  # A cached empty value is filled in once the script has run, without a fresh build folder.
  if(NOT DOSTRA_OPENSSL_DLL_DIR AND _dostra_openssl_default)
    set_property(CACHE DOSTRA_OPENSSL_DLL_DIR PROPERTY VALUE "${_dostra_openssl_default}")
  endif()
  _dostra_openssl_found(_dostra_found)
  if(NOT _dostra_found AND NOT TARGET dist)
    message(STATUS "OpenSSL DLLs not found (DOSTRA_OPENSSL_DLL_DIR='${DOSTRA_OPENSSL_DLL_DIR}'); "
                   "run scripts/build-openssl-mingw.sh, then configure again")
  endif()
endif()

function(dostra_copy_openssl_dlls target)
  _dostra_openssl_found(found)
  if(NOT WIN32 OR NOT found)
    return()
  endif()
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different
            "${DOSTRA_OPENSSL_DLL_DIR}/libssl-3.dll" "${DOSTRA_OPENSSL_DLL_DIR}/libcrypto-3.dll"
            "$<TARGET_FILE_DIR:${target}>"
    VERBATIM)
endfunction()

# Made by the top directory's include, the last line there, when the program exists.
if(WIN32 AND NOT TARGET dist AND CMAKE_CURRENT_SOURCE_DIR STREQUAL PROJECT_SOURCE_DIR
   AND TARGET DOSTRA_UPDATE)
  set(_dostra_dist_dir "${CMAKE_BINARY_DIR}/dist")
  if(_dostra_found)
    add_custom_target(dist
      COMMAND ${CMAKE_COMMAND} -E make_directory "${_dostra_dist_dir}"
      COMMAND ${CMAKE_COMMAND} -E copy_if_different
              "$<TARGET_FILE:DOSTRA_UPDATE>"
              "${DOSTRA_OPENSSL_DLL_DIR}/libssl-3.dll"
              "${DOSTRA_OPENSSL_DLL_DIR}/libcrypto-3.dll"
              "${_dostra_dist_dir}"
      COMMAND ${CMAKE_COMMAND} -E copy_if_different
              "${DOSTRA_OPENSSL_DLL_DIR}/LICENSE.txt" "${_dostra_dist_dir}/OPENSSL-LICENSE.txt"
      COMMENT "Gathering DOSTRA_UPDATE.exe and OpenSSL in ${_dostra_dist_dir}"
      VERBATIM)
    add_dependencies(dist DOSTRA_UPDATE)
  else()
    add_custom_target(dist
      COMMAND ${CMAKE_COMMAND} -E echo
              "dist needs OpenSSL's DLLs: run scripts/build-openssl-mingw.sh, then configure again"
      COMMAND ${CMAKE_COMMAND} -E false
      VERBATIM)
  endif()
endif()
