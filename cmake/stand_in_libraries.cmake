# Shared libraries that stand in for a platform library (the RFC libraries and their
# companions): built into a folder of their own, exporting their C functions under the plain
# names a caller looks up, and nothing else.
#
#   stand_in_library_exports(TARGET FOLDER FILE_NAME EXPORTS entry... [DECORATED])
#
# Each entry is "Name N" for a stdcall function with N bytes of arguments, or "Name" for a
# function of the C calling convention. FILE_NAME is the library's file name on Windows. On
# 32-bit Windows a stdcall function is exported as "Name" (its symbol "Name@N"), or with
# DECORATED as the compiler spells it, "_Name@N"; elsewhere every entry as "Name". On other
# systems a version script keeps every symbol but the entries local. Import libraries go
# into a folder of the build tree, never into FOLDER.
function(stand_in_library_exports target folder file_name)
  cmake_parse_arguments(PARSE_ARGV 3 _arg "DECORATED" "" "EXPORTS")
  set_target_properties(${target} PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${folder}
                                             RUNTIME_OUTPUT_DIRECTORY ${folder}
                                             ARCHIVE_OUTPUT_DIRECTORY
                                             ${CMAKE_CURRENT_BINARY_DIR}/${target})
  if(WIN32)
    set(_def "LIBRARY ${file_name}\nEXPORTS\n")
    foreach(_entry IN LISTS _arg_EXPORTS)
      if(NOT _entry MATCHES "^([A-Za-z_0-9]+)( ([0-9]+))?$")
        message(FATAL_ERROR "${target}: export entry '${_entry}' is not 'Name' or 'Name N'")
      endif()
      if(CMAKE_SIZEOF_VOID_P EQUAL 4 AND NOT "${CMAKE_MATCH_3}" STREQUAL "")
        if(_arg_DECORATED)
          string(APPEND _def "  _${CMAKE_MATCH_1}@${CMAKE_MATCH_3} = ${CMAKE_MATCH_1}@${CMAKE_MATCH_3}\n")
        else()
          string(APPEND _def "  ${CMAKE_MATCH_1} = ${CMAKE_MATCH_1}@${CMAKE_MATCH_3}\n")
        endif()
      else()
        string(APPEND _def "  ${CMAKE_MATCH_1}\n")
      endif()
    endforeach()
    file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${target}.def "${_def}")
    target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}.def)
  else()
    set(_map "{\n  global:\n")
    foreach(_entry IN LISTS _arg_EXPORTS)
      string(REGEX MATCH "^[A-Za-z_0-9]+" _name "${_entry}")
      string(APPEND _map "    ${_name};\n")
    endforeach()
    string(APPEND _map "  local: *;\n};\n")
    file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${target}.map "${_map}")
    target_link_options(${target} PRIVATE
        -Wl,--version-script=${CMAKE_CURRENT_BINARY_DIR}/${target}.map -Wl,-Bsymbolic
        # Two segments instead of four, and no read-only remapping after relocation: a
        # stand-in loads in about half the time (it is a test double; SAP's libraries are
        # built as SAP builds them).
        -Wl,-z,noseparate-code -Wl,-z,norelro)
    if(TARNWHEEL_FUZZ)
      # Coverage hooks and sanitizer calls are bound when a fuzz target loads the library.
      target_link_options(${target} PRIVATE -Wl,-z,undefs)
    else()
      target_link_options(${target} PRIVATE -Wl,--no-undefined)
    endif()
  endif()
endfunction()
