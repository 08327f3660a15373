# The WebAssembly build (the `wasm` preset, emscripten) links torvane,
# torvane-import and torvane-preview into one multi-call program
# (src/page/programs_main.cc: the first argument names the program), twice
# from the same objects:
# - build/wasm/node/torvane-programs.js, on the real file system, with three
#   launchers beside it (torvane.js, torvane-import.js, torvane-preview.js)
#   that behave as the native programs do. The module is held inside the
#   script (SINGLE_FILE): node 20's fetch breaks the loader of a separate
#   .wasm.
# - build/wasm/page/torvane-programs.js and .wasm: a factory
#   (createTorvanePrograms) whose instances run main once on files held in
#   memory by the programs' own host (src/page/page_files.cc), which the
#   page hands in and takes out through the functions that file exports.
#   web/assemble-site.mjs builds both into the page's worker, which hands
#   the module over itself (a page opened from disk may fetch nothing).
# The preset compiles with WebAssembly's own exceptions (-fwasm-exceptions):
# emscripten's JavaScript ones route every call that may throw through
# JavaScript, which made the module a fifth larger and its runs slower.
if(NOT TARGET torvane OR NOT TARGET torvane-import OR NOT TARGET torvane-preview)
  message(STATUS "The web page and the node programs: off (they need all three programs)")
  return()
endif()

set(TORVANE_WASM_NODE_OPTIONS
    -sNODERAWFS=1 -sALLOW_MEMORY_GROWTH=1 -sSINGLE_FILE=1 -sEXIT_RUNTIME=1)
# The page's runner hands each new instance the memory of one that has
# ended (IMPORTED_MEMORY), its pages already touched.
set(TORVANE_WASM_PAGE_OPTIONS
    -sMODULARIZE=1 -sEXPORT_NAME=createTorvanePrograms -sINVOKE_RUN=0 -sEXIT_RUNTIME=1
    -sALLOW_MEMORY_GROWTH=1 -sIMPORTED_MEMORY=1 -sENVIRONMENT=web,worker,node
    -sEXPORTED_RUNTIME_METHODS=callMain,ccall,HEAPU8,UTF8ToString)
set(TORVANE_SITE_DIR ${PROJECT_BINARY_DIR}/site)
set(TORVANE_PAGE_MODULE_DIR ${PROJECT_BINARY_DIR}/page)

# The programs one by one are the native build's; here they are the
# launchers' business.
set_target_properties(torvane torvane-import torvane-preview PROPERTIES EXCLUDE_FROM_ALL ON)

set(programs_sources ${PROJECT_SOURCE_DIR}/src/page/programs_main.cc)
set(page_dir ${PROJECT_SOURCE_DIR}/src/page)
set(programs_libraries torvane_core torvane_import torvane_preview torvane_host_process)

add_executable(torvane-programs-node ${programs_sources} ${page_dir}/node_files.cc)
target_link_libraries(torvane-programs-node PRIVATE ${programs_libraries})
target_link_options(torvane-programs-node PRIVATE ${TORVANE_WASM_NODE_OPTIONS})
set_target_properties(torvane-programs-node PROPERTIES
    OUTPUT_NAME torvane-programs SUFFIX .js RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/node)
foreach(program torvane torvane-import torvane-preview)
  file(WRITE ${PROJECT_BINARY_DIR}/node/${program}.js
       "// ${program} under node: the one module of the three programs, told which to run.\n"
       "process.argv.splice(2, 0, '${program}');\n"
       "require('./torvane-programs.js');\n")
endforeach()

add_executable(torvane-programs-page ${programs_sources} ${page_dir}/page_files.cc)
target_link_libraries(torvane-programs-page PRIVATE ${programs_libraries})
target_link_options(torvane-programs-page PRIVATE ${TORVANE_WASM_PAGE_OPTIONS})
set_target_properties(torvane-programs-page PROPERTIES
    OUTPUT_NAME torvane-programs SUFFIX .js RUNTIME_OUTPUT_DIRECTORY ${TORVANE_PAGE_MODULE_DIR})

# The page around the module (web/), put together by node, which emscripten
# brings. Its zip library comes from web/node_modules: without it (run
# `npm ci --prefix web`) the page is left out.
set(fflate ${PROJECT_SOURCE_DIR}/web/node_modules/fflate/umd/index.js)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/web)
if(EXISTS ${fflate})
  file(GLOB_RECURSE example_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/examples/lyra/*)
  file(GLOB_RECURSE web_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/web/page/*.js
                                                   ${PROJECT_SOURCE_DIR}/web/worker/*.js)
  list(APPEND web_sources ${PROJECT_SOURCE_DIR}/web/index.html ${PROJECT_SOURCE_DIR}/web/page.css
                          ${PROJECT_SOURCE_DIR}/web/assemble-site.mjs)
  set(site_files index.html page.css page.js programs.js)
  list(TRANSFORM site_files PREPEND ${TORVANE_SITE_DIR}/)
  add_custom_command(
    OUTPUT ${site_files}
    COMMAND node ${PROJECT_SOURCE_DIR}/web/assemble-site.mjs ${TORVANE_SITE_DIR}
            ${TORVANE_PAGE_MODULE_DIR} ${PROJECT_SOURCE_DIR}/examples/lyra
    DEPENDS ${web_sources} ${fflate} ${example_files} torvane-programs-page
    COMMENT "Putting the web page together in ${TORVANE_SITE_DIR}")
  add_custom_target(site ALL DEPENDS ${site_files})
  message(STATUS "The web page: on, built into ${TORVANE_SITE_DIR}")
else()
  message(STATUS "The web page: off, its zip library is not installed (npm ci --prefix web)")
endif()
