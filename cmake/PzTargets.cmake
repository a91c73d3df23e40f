# Helpers shared by the CMake files of the suite.

# GoogleTest: the installed package natively, the Debian sources compiled for Windows.
if(WIN32)
  if(NOT TARGET gtest_main)
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  endif()
  set(PZ_GTEST_LIBS gtest_main gtest)
else()
  find_package(GTest REQUIRED)
  include(GoogleTest)
  set(PZ_GTEST_LIBS GTest::gtest_main GTest::gtest)
endif()

# pz_add_gtest(NAME LABELS l... SOURCES s... LIBS l...)
# Natively every test case becomes a CTest test; under Wine one CTest test runs the whole executable,
# since each Wine start costs a second.
function(pz_add_gtest name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "LABELS;SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} ${PZ_GTEST_LIBS})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  if(WIN32)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES LABELS "wine;${ARG_LABELS}" TIMEOUT ${ARG_TIMEOUT})
  else()
    # Discovered cases carry the label "native" only: a list would not survive the discovery script's
    # argument list. Run one area natively by name (-R).
    gtest_discover_tests(${name} PROPERTIES LABELS native TIMEOUT ${ARG_TIMEOUT})
  endif()
endfunction()
