# Fails when a file of a converter folder includes a header of a folder above
# its own, or a program's file includes test support. The folders in order,
# lowest first: each may include its own headers and those of the folders
# before it, never those after it.
#   cmake -DSOURCE_DIR=<repository> -P cmake/CheckIncludeOrder.cmake
set(layers platform script draw sector run)

set(faults "")
foreach(layer IN LISTS layers)
  list(FIND layers ${layer} rank)
  file(GLOB files "${SOURCE_DIR}/src/${layer}/*.h" "${SOURCE_DIR}/src/${layer}/*.cc")
  foreach(file IN LISTS files)
    file(STRINGS "${file}" includes REGEX "^#include \"[a-z_]+/")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^#include \"([a-z_]+)/.*" "\\1" target "${line}")
      list(FIND layers ${target} target_rank)
      if(target_rank GREATER rank)
        file(RELATIVE_PATH name "${SOURCE_DIR}" "${file}")
        string(APPEND faults "  ${name}: ${line}\n")
      endif()
    endforeach()
  endforeach()
endforeach()

# Test support (src/testing: the in-memory file system, scratch directories,
# the program runner) is for tests and fuzz targets only: no program's code
# may include it.
file(GLOB_RECURSE sources "${SOURCE_DIR}/src/*.h" "${SOURCE_DIR}/src/*.cc")
foreach(file IN LISTS sources)
  get_filename_component(base "${file}" NAME_WE)
  if(file MATCHES "/src/testing/" OR base MATCHES "(_test|_fixture)$" OR base MATCHES "^test_")
    continue()
  endif()
  file(STRINGS "${file}" includes REGEX "^#include \"testing/")
  foreach(line IN LISTS includes)
    file(RELATIVE_PATH name "${SOURCE_DIR}" "${file}")
    string(APPEND faults "  ${name}: ${line}\n")
  endforeach()
endforeach()

if(faults)
  message(FATAL_ERROR "Includes that point upward (order: ${layers}, test support "
                      "only from tests):\n${faults}")
endif()
