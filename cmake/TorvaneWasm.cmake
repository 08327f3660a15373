# The WebAssembly build (the `wasm` preset, emscripten) links each program
# twice from the same objects:
# - build/wasm/node/<program>.js, a node script on the real file system that
#   behaves as the native program does;
# - build/wasm/site/<program>.js, a module for the web page: a factory
#   (createTorvane, createTorvaneImport, createTorvanePreview) whose
#   instances run main once on an in-memory file system.
# Both hold their module inside the script (SINGLE_FILE): node 20's fetch
# breaks the loader of a separate .wasm, and a page opened from disk may
# fetch nothing.
set(TORVANE_WASM_NODE_OPTIONS
    -sNODERAWFS=1 -sALLOW_MEMORY_GROWTH=1 -sSINGLE_FILE=1 -sEXIT_RUNTIME=1)
set(TORVANE_WASM_PAGE_OPTIONS
    -sMODULARIZE=1 -sINVOKE_RUN=0 -sEXIT_RUNTIME=1 -sFORCE_FILESYSTEM=1 -sALLOW_MEMORY_GROWTH=1
    -sSINGLE_FILE=1 -sENVIRONMENT=web,node -sEXPORTED_RUNTIME_METHODS=FS,callMain)
set(TORVANE_SITE_DIR ${PROJECT_BINARY_DIR}/site)

set(torvane_page_modules)
foreach(program torvane torvane-import torvane-preview)
  if(NOT TARGET ${program})
    continue()
  endif()
  set_target_properties(${program} PROPERTIES SUFFIX .js
                                              RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/node)
  target_link_options(${program} PRIVATE ${TORVANE_WASM_NODE_OPTIONS})

  # torvane-import gives createTorvaneImport.
  string(REPLACE "-" ";" words ${program})
  set(factory create)
  foreach(word ${words})
    string(SUBSTRING ${word} 0 1 first)
    string(SUBSTRING ${word} 1 -1 rest)
    string(TOUPPER ${first} first)
    string(APPEND factory ${first}${rest})
  endforeach()
  get_target_property(sources ${program} SOURCES)
  get_target_property(libraries ${program} LINK_LIBRARIES)
  get_target_property(source_dir ${program} SOURCE_DIR)
  list(TRANSFORM sources PREPEND ${source_dir}/)
  add_executable(${program}-page ${sources})
  target_link_libraries(${program}-page PRIVATE ${libraries})
  target_link_options(${program}-page PRIVATE ${TORVANE_WASM_PAGE_OPTIONS} -sEXPORT_NAME=${factory})
  set_target_properties(${program}-page PROPERTIES OUTPUT_NAME ${program} SUFFIX .js
                                                   RUNTIME_OUTPUT_DIRECTORY ${TORVANE_SITE_DIR})
  list(APPEND torvane_page_modules ${program}-page)
endforeach()

# The page around the modules (web/), put together by node, which emscripten
# brings. Its zip library comes from web/node_modules: without it (run
# `npm ci --prefix web`) the page is left out.
set(fflate ${PROJECT_SOURCE_DIR}/web/node_modules/fflate/umd/index.js)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/web)
if(EXISTS ${fflate} AND TARGET torvane-page)
  file(GLOB_RECURSE example_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/examples/lyra/*)
  set(web_sources index.html page.css page.js assemble-site.mjs)
  list(TRANSFORM web_sources PREPEND ${PROJECT_SOURCE_DIR}/web/)
  add_custom_command(
    OUTPUT ${TORVANE_SITE_DIR}/index.html ${TORVANE_SITE_DIR}/page.css ${TORVANE_SITE_DIR}/page.js
    COMMAND node ${PROJECT_SOURCE_DIR}/web/assemble-site.mjs ${TORVANE_SITE_DIR}
            ${PROJECT_SOURCE_DIR}/examples/lyra
    DEPENDS ${web_sources} ${fflate} ${example_files}
    COMMENT "Putting the web page together in ${TORVANE_SITE_DIR}")
  add_custom_target(site ALL DEPENDS ${TORVANE_SITE_DIR}/index.html ${torvane_page_modules})
  message(STATUS "The web page: on, built into ${TORVANE_SITE_DIR}")
else()
  message(STATUS "The web page: off, its zip library is not installed (npm ci --prefix web)")
endif()
