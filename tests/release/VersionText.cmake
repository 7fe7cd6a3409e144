# The five-digit update text of a version, and the versions it refuses.
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/Version.cmake)

foreach(pair "2.0.1=02001" "2.0.2=02002" "2.1.0=02100" "10.3.15=10315" "0.0.0=00000" "02.0.07=02007")
  string(REPLACE "=" ";" pair "${pair}")
  list(GET pair 0 version)
  list(GET pair 1 expected)
  glimra_update_version(text "${version}")
  if(NOT text STREQUAL expected)
    message(FATAL_ERROR "${version} gave '${text}', expected '${expected}'")
  endif()
endforeach()

foreach(bad "2.0" "2.0.1.0" "2.0.100" "2.10.0" "100.0.0" "v2.0.1" "2.0.1-beta")
  execute_process(COMMAND ${CMAKE_COMMAND} -DVERSION=${bad} -P ${CMAKE_CURRENT_LIST_DIR}/../../cmake/Version.cmake
    RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
  if(rc EQUAL 0)
    message(FATAL_ERROR "${bad} was accepted")
  endif()
endforeach()
