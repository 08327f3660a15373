# Fails when a file of a converter folder includes a header of a folder above
# its own. The folders in order, lowest first: each may include its own
# headers and those of the folders before it, never those after it.
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

if(faults)
  message(FATAL_ERROR "Includes that point upward (order: ${layers}):\n${faults}")
endif()
