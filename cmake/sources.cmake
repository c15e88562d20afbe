# Every operation lives in its own file under src/ (and tools/); unit tests sit beside the
# code as *_test.cpp, libFuzzer targets as *_fuzz.cpp (cmake/fuzz.cmake). The globs keep
# the lists in step with the tree.
file(GLOB_RECURSE _all_sources CONFIGURE_DEPENDS
     ${CMAKE_SOURCE_DIR}/src/*.cpp ${CMAKE_SOURCE_DIR}/tools/*.cpp)
set(TARNWHEEL_CORE_SOURCES "")
set(TARNWHEEL_TEST_SOURCES "")
# The set-up check (tools/check/) is a library of its own: it also uses the RFC library
# stand-in's protocol part (gateway addresses, sockets, the parameter file).
set(TARNWHEEL_CHECK_SOURCES "")
# The deadline's tests form an executable of their own, which the ThreadSanitizer build of
# the continuous integration builds and runs alone.
set(TARNWHEEL_DEADLINE_TEST_SOURCES "")
foreach(_file IN LISTS _all_sources)
  if(_file MATCHES "/deadline[^/]*_test\\.cpp$")
    list(APPEND TARNWHEEL_DEADLINE_TEST_SOURCES ${_file})
  elseif(_file MATCHES "_test\\.cpp$")
    list(APPEND TARNWHEEL_TEST_SOURCES ${_file})
  elseif(_file MATCHES "_fuzz\\.cpp$")
    # fuzz targets are built only with TARNWHEEL_FUZZ, each as its own program
  elseif(_file MATCHES "/main\\.cpp$" OR _file MATCHES "/tools/[^/]*_main\\.cpp$")
    # process entries are linked into their own executables
  elseif(_file MATCHES "/tools/check/")
    list(APPEND TARNWHEEL_CHECK_SOURCES ${_file})
  else()
    list(APPEND TARNWHEEL_CORE_SOURCES ${_file})
  endif()
endforeach()
