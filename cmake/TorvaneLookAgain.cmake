# A part left out for want of a package is looked for again by the next
# build once that package is installed. Installing one adds an entry to the
# directories where packages put headers, CMake package files and sources;
# the configure depends on those directories, so a change in them runs it
# again. Without this, a target such as torvane-import stays unknown after
# its package is installed until someone runs the configure by hand.
#
#   torvane_look_again_after_installs([more directories...])
function(torvane_look_again_after_installs)
  set(places ${ARGN})
  foreach(prefix IN LISTS CMAKE_SYSTEM_PREFIX_PATH)
    foreach(part include src lib/cmake lib/${CMAKE_LIBRARY_ARCHITECTURE}/cmake)
      list(APPEND places "${prefix}/${part}")
    endforeach()
  endforeach()
  foreach(place IN LISTS places)
    cmake_path(NORMAL_PATH place)
    if(IS_DIRECTORY "${place}")
      set_property(DIRECTORY "${PROJECT_SOURCE_DIR}" APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
                   "${place}")
    endif()
  endforeach()
endfunction()
