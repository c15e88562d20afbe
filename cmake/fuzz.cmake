# libFuzzer targets (with -DTARNWHEEL_FUZZ=ON and clang): every NAME_fuzz.cpp beside the code
# it fuzzes becomes the program <build>/bin/NAME_fuzz; its starting inputs lie beside it in
# fuzz_corpus/NAME_fuzz/. tools/fuzz builds and runs them. Checks of XML documents use
# expat (Debian's libexpat1-dev).
find_package(EXPAT REQUIRED)
file(GLOB_RECURSE _fuzz_sources CONFIGURE_DEPENDS
     ${CMAKE_SOURCE_DIR}/src/*_fuzz.cpp ${CMAKE_SOURCE_DIR}/tools/*_fuzz.cpp
     ${CMAKE_SOURCE_DIR}/platform/*_fuzz.cpp)
set(_fuzz_targets "")
foreach(_source IN LISTS _fuzz_sources)
  get_filename_component(_name ${_source} NAME_WE)
  add_executable(${_name} ${_source})
  target_link_libraries(${_name} PRIVATE tarnwheel_core rfclib rfcsim_core EXPAT::EXPAT)
  # "rfclib/trace.h" tells the library's header from the sensor's "output/trace.h".
  target_include_directories(${_name} PRIVATE ${CMAKE_SOURCE_DIR}/tests
                             ${CMAKE_SOURCE_DIR}/tools ${CMAKE_SOURCE_DIR}/platform)
  target_link_options(${_name} PRIVATE -fsanitize=fuzzer)
  list(APPEND _fuzz_targets ${_name})
endforeach()
add_custom_target(fuzz_targets DEPENDS ${_fuzz_targets})
