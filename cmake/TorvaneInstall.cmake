# What `cmake --install` puts where, and the packages made from it: a .deb
# by `cpack -G DEB` in a Release build, a zip for Windows.

# readme.txt, which the usage text points to: README.md's introduction and
# these sections of it as plain text, in this order (a section missing from
# README.md fails the build). Notepad wants CR LF.
set(TORVANE_README_SECTIONS
    "Usage"
    "In Campaign Cartographer 2"
    "On Windows"
    "From a published sector file to scripts")
set(TORVANE_README_TEXT ${CMAKE_BINARY_DIR}/readme.txt)
if(NOT CMAKE_SKIP_INSTALL_RULES)
  list(JOIN TORVANE_README_SECTIONS "|" sections)
  add_custom_command(
    OUTPUT ${TORVANE_README_TEXT}
    COMMAND ${CMAKE_COMMAND} -DREADME=${PROJECT_SOURCE_DIR}/README.md
            -DOUTPUT=${TORVANE_README_TEXT} -DSECTIONS=${sections}
            -DNEWLINE=$<IF:$<BOOL:${WIN32}>,CRLF,LF>
            -P ${PROJECT_SOURCE_DIR}/cmake/ReadmeText.cmake
    DEPENDS ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/cmake/ReadmeText.cmake
    COMMENT "Writing readme.txt from README.md"
    VERBATIM)
  add_custom_target(readme ALL DEPENDS ${TORVANE_README_TEXT})
endif()

if(WIN32)
  install(FILES README.md LICENSE ${TORVANE_README_TEXT} DESTINATION .)
  install(DIRECTORY docs/ DESTINATION docs)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME torvane-${PROJECT_VERSION}-win64)
else()
  install(FILES docs/man/torvane.1 docs/man/torvane-preview.1 docs/man/torvane-import.1
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES README.md LICENSE ${TORVANE_README_TEXT}
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/torvane)
  # The documents the README links to, where its links find them.
  install(DIRECTORY docs/ DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/torvane/docs
          PATTERN man EXCLUDE)
endif()

set(CPACK_PACKAGE_NAME torvane)
set(CPACK_PACKAGE_VENDOR "the Torvane authors")
set(CPACK_PACKAGE_CONTACT "the Torvane authors <torvane@localhost>" CACHE STRING
    "Maintainer named in the packages")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
    "torvane turns star-mapping sector directories into drawing scripts for
the map-making application Campaign Cartographer 2: the whole sector and,
on request, each subsector. torvane-preview draws such a script as SVG, and
torvane-import turns published sector files into sector directories.")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_RESOURCE_FILE_README "${PROJECT_SOURCE_DIR}/README.md")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
