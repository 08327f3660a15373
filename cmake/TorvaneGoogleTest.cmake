# GoogleTest for the tests: the system's package (Debian: libgtest-dev) when
# it is installed, else built from Debian's sources in /usr/src/googletest
# (Debian: googletest), else the tests are off. Sets TORVANE_BUILD_TESTS OFF
# and TORVANE_GOOGLETEST_MISSING ON in this scope when neither is there.
set(TORVANE_GOOGLETEST_SOURCES "/usr/src/googletest" CACHE PATH
    "GoogleTest sources, built when no installed GoogleTest is found")

find_package(GTest QUIET)
if(GTest_FOUND)
  message(STATUS "Tests: on, with the installed GoogleTest")
elseif(EXISTS "${TORVANE_GOOGLETEST_SOURCES}/CMakeLists.txt")
  message(STATUS "Tests: on, with GoogleTest built from ${TORVANE_GOOGLETEST_SOURCES}")
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  # The sources ask for an old CMake; their policies are theirs, not ours.
  set(CMAKE_POLICY_DEFAULT_CMP0048 NEW)
  add_subdirectory("${TORVANE_GOOGLETEST_SOURCES}" "${PROJECT_BINARY_DIR}/googletest"
                   EXCLUDE_FROM_ALL SYSTEM)
  if(NOT TARGET GTest::gtest)
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gtest_main ALIAS gtest_main)
  endif()
else()
  message(STATUS "Tests: off, GoogleTest was not found "
                 "(Debian: libgtest-dev, or googletest for its sources)")
  set(TORVANE_BUILD_TESTS OFF)
  set(TORVANE_GOOGLETEST_MISSING ON)
  torvane_look_again_after_installs()
endif()
