# Fails when a file of src/ includes a header of a folder its own folder may
# not include, when a program's file includes test support, or when src/
# holds a folder this check does not know.
#   cmake -DSOURCE_DIR=<repository> -P cmake/CheckIncludeOrder.cmake
#
# The converter's folders in order, lowest first: each may include its own
# headers and those of the folders before it, never those after it.
set(layers platform script draw sector run)
set(allowed_platform platform)
set(allowed_script platform script)
set(allowed_draw platform script draw)
set(allowed_sector platform script draw sector)
set(allowed_run platform script draw sector run)
# The importer and the previewer stand on the converter's tables but never on
# its run, each other or test support.
set(allowed_import platform script draw sector import)
set(allowed_preview platform script draw sector preview)
# The web page's one program holds all three: its entry alone may include
# the converter's run, the importer and the previewer together.
set(allowed_page platform script draw sector run import preview page)
# Test support (the in-memory file system, scratch directories, the program
# runner, made-up imported worlds) is for tests and fuzz targets only; a test
# file of any folder may include it besides what its folder may include.
set(allowed_testing platform script draw sector import testing)

set(faults "")
file(GLOB folders LIST_DIRECTORIES true "${SOURCE_DIR}/src/*")
foreach(folder IN LISTS folders)
  if(NOT IS_DIRECTORY "${folder}")
    continue()
  endif()
  get_filename_component(dir "${folder}" NAME)
  if(NOT DEFINED allowed_${dir})
    string(APPEND faults "  src/${dir}: a folder this check does not know\n")
    continue()
  endif()
  file(GLOB files "${folder}/*.h" "${folder}/*.cc")
  foreach(file IN LISTS files)
    get_filename_component(base "${file}" NAME_WE)
    set(allowed ${allowed_${dir}})
    if(base MATCHES "(_test|_fixture)$" OR base MATCHES "^test_")
      list(APPEND allowed testing)
    endif()
    file(STRINGS "${file}" includes REGEX "^#include \"[a-z_]+/")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^#include \"([a-z_]+)/.*" "\\1" target "${line}")
      list(FIND allowed ${target} found)
      if(found LESS 0)
        file(RELATIVE_PATH name "${SOURCE_DIR}" "${file}")
        string(APPEND faults "  ${name}: ${line}\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults)
  message(FATAL_ERROR "Includes a folder may not make (order: ${layers}; import and preview "
                      "above sector, beside each other; test support only from tests):\n"
                      "${faults}")
endif()
