# cmake -DSOURCE_DIR=<tree> -P KeldatomFaceCheck.cmake: fails when a public header
# (cmake/KeldatomHeaders.cmake) includes a header of the library that is not public, so
# that the installed headers compile alone.
cmake_policy(SET CMP0057 NEW)  # if(IN_LIST)
include(${CMAKE_CURRENT_LIST_DIR}/KeldatomHeaders.cmake)
set(problems "")
foreach(header ${KELDATOM_PUBLIC_HEADERS})
  file(STRINGS ${SOURCE_DIR}/${header} lines REGEX "^#include \"")
  foreach(line ${lines})
    string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" included "${line}")
    if(EXISTS ${SOURCE_DIR}/${included} AND NOT included IN_LIST KELDATOM_PUBLIC_HEADERS)
      string(APPEND problems "  ${header} includes ${included}, which is not public\n")
    endif()
  endforeach()
endforeach()
if(problems)
  message(FATAL_ERROR "The public headers are not closed:\n${problems}")
endif()
