# Project-wide settings and the helpers every component uses to declare
# its libraries, programs and tests.
include(GoogleTest)

set(GLIMRA_WARNINGS -Wall -Wextra)
# Our sources are UTF-8; the programs speak code page 932.
set(GLIMRA_CHARSET -finput-charset=UTF-8 -fexec-charset=CP932)

add_compile_options(
  "$<$<COMPILE_LANGUAGE:CXX>:${GLIMRA_WARNINGS};${GLIMRA_CHARSET}>"
  "$<$<COMPILE_LANGUAGE:C>:${GLIMRA_CHARSET}>")

if(GLIMRA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

if(WIN32)
  # No compiler DLLs beside our programs: libgcc, libstdc++ and winpthread go in.
  add_link_options(-static -static-libgcc -static-libstdc++)
  add_compile_definitions(WINVER=0x0501 _WIN32_WINNT=0x0501 _WIN32_IE=0x0600 NOMINMAX STRICT)
  # Tests run under Wine through this wrapper; the build tree holds the prefix.
  set(GLIMRA_WINE_RUN ${CMAKE_SOURCE_DIR}/scripts/wine-run)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${GLIMRA_WINE_RUN};${CMAKE_BINARY_DIR})
  # The 64-bit test build runs under wine64: the scripts and the end-to-end
  # harness find it through this mark and the shims in scripts/wine64.
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    file(WRITE ${CMAKE_BINARY_DIR}/wine-arch "win64")
    set(GLIMRA_E2E_PATH "PATH=${CMAKE_SOURCE_DIR}/scripts/wine64:$ENV{PATH}")
  else()
    file(WRITE ${CMAKE_BINARY_DIR}/wine-arch "win32")
    set(GLIMRA_E2E_PATH "")
  endif()
endif()

find_program(GLIMRA_PYTHON NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)

# glimra_add_unit_test(<name> SOURCES <files...> LIBS <libs...>)
# A GoogleTest program. Natively it runs as it is; in the Windows tree it runs
# under Wine with the shared prefix, the server and Xvfb started by a fixture.
function(glimra_add_unit_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  if(WIN32)
    # One ctest entry per program: each Wine start costs more than a test.
    add_test(NAME wine.${name} COMMAND ${name})
    set_tests_properties(wine.${name} PROPERTIES FIXTURES_REQUIRED Wine TIMEOUT 300)
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 30)
  endif()
endfunction()

# glimra_add_e2e_test(<name> <pytest file>)
# An end-to-end test under Wine written with pytest (tests/e2e/harness).
function(glimra_add_e2e_test name file)
  if(NOT WIN32)
    return()
  endif()
  add_test(NAME e2e.${name}
    COMMAND ${GLIMRA_PYTHON} -m pytest -q -p no:cacheprovider ${file}
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/tests/e2e)
  set_tests_properties(e2e.${name} PROPERTIES
    FIXTURES_REQUIRED Wine RESOURCE_LOCK wine-display TIMEOUT 900
    ENVIRONMENT "GLIMRA_BUILD=${CMAKE_BINARY_DIR};GLIMRA_SOURCE=${CMAKE_SOURCE_DIR};${GLIMRA_E2E_PATH}")
endfunction()

# glimra_add_benchmark(<name> SOURCES <files...> LIBS <libs...>)
# Native only: benchmarks print figures, they never fail a test run.
function(glimra_add_benchmark name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  if(WIN32)
    return()
  endif()
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endfunction()

# glimra_draw_images(<target> <script.py> <folder> <comment> <image names...>)
# Resource images are drawn at build time by a script of ours (never taken
# from another program): the script writes the named files into <folder>.
# <target> builds them; <target>_FILES lists their full paths for the .rc's
# OBJECT_DEPENDS.
function(glimra_draw_images target script folder comment)
  list(TRANSFORM ARGN PREPEND ${folder}/ OUTPUT_VARIABLE files)
  add_custom_command(
    OUTPUT ${files}
    COMMAND ${GLIMRA_PYTHON} ${CMAKE_CURRENT_SOURCE_DIR}/${script} ${folder}
    DEPENDS ${script}
    COMMENT "${comment}")
  add_custom_target(${target} DEPENDS ${files})
  set(${target}_FILES ${files} PARENT_SCOPE)
endfunction()
