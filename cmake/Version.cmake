# The product's version, set once at configure time:
#   cmake -DGLIMRA_VERSION=2.0.2 ...
# Everything else follows from it at build time: the version resource of
# Glimra.exe (FILEVERSION 2,0,2,0, which the About box shows as 2.0.2), the
# five-digit version text that the viewer hands to the update checker
# (string 61207) and the setup program's name.
#
# The five-digit text is what the update information file compares, as text:
#   major (two digits) minor (one digit) patch (two digits)
#   2.0.1 -> "02001", 2.0.2 -> "02002", 2.1.0 -> "02100", 10.3.15 -> "10315"
# so major is 0..99, minor 0..9 and patch 0..99.
set(GLIMRA_VERSION "2.0.1" CACHE STRING "Product version MAJOR.MINOR.PATCH")

# glimra_update_version(<out> <version>): the five-digit text of <version>;
# a version outside the pattern stops the configuration.
function(glimra_update_version out version)
  if(NOT version MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)$")
    message(FATAL_ERROR "version '${version}' is not MAJOR.MINOR.PATCH")
  endif()
  set(major ${CMAKE_MATCH_1})
  set(minor ${CMAKE_MATCH_2})
  set(patch ${CMAKE_MATCH_3})
  if(major GREATER 99 OR minor GREATER 9 OR patch GREATER 99)
    message(FATAL_ERROR "version '${version}' does not fit the five-digit update text (major <= 99, minor <= 9, patch <= 99)")
  endif()
  math(EXPR major "${major}" OUTPUT_FORMAT DECIMAL)
  math(EXPR minor "${minor}" OUTPUT_FORMAT DECIMAL)
  math(EXPR patch "${patch}" OUTPUT_FORMAT DECIMAL)
  string(LENGTH "${major}" lm)
  string(LENGTH "${patch}" lp)
  if(lm LESS 2)
    set(major "0${major}")
  endif()
  if(lp LESS 2)
    set(patch "0${patch}")
  endif()
  set(${out} "${major}${minor}${patch}" PARENT_SCOPE)
endfunction()

# Run with -P -DVERSION=...: prints the five-digit text (scripts use it).
# Included by another script: only the function above.
if(CMAKE_SCRIPT_MODE_FILE)
  if(DEFINED VERSION)
    glimra_update_version(text "${VERSION}")
    message("${text}")
  endif()
  return()
endif()

glimra_update_version(GLIMRA_UPDATE_VERSION "${GLIMRA_VERSION}")
string(REPLACE "." ";" _glimra_version_parts "${GLIMRA_VERSION}")
list(GET _glimra_version_parts 0 GLIMRA_VERSION_MAJOR)
list(GET _glimra_version_parts 1 GLIMRA_VERSION_MINOR)
list(GET _glimra_version_parts 2 GLIMRA_VERSION_PATCH)
math(EXPR GLIMRA_VERSION_MAJOR "${GLIMRA_VERSION_MAJOR}")
math(EXPR GLIMRA_VERSION_MINOR "${GLIMRA_VERSION_MINOR}")
math(EXPR GLIMRA_VERSION_PATCH "${GLIMRA_VERSION_PATCH}")
set(GLIMRA_VERSION_HEADER_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/Version.h.in ${GLIMRA_VERSION_HEADER_DIR}/glimra/Version.h @ONLY)
