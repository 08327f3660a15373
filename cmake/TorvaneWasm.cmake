# The WebAssembly build (the `wasm` preset, emscripten): each program as a
# node script on the real file system, build/wasm/node/<program>.js, that
# behaves as the native program does. One file each (the module inside the
# script), since node 20's fetch breaks the loader of a separate .wasm.
set(TORVANE_WASM_NODE_OPTIONS
    -sNODERAWFS=1 -sALLOW_MEMORY_GROWTH=1 -sSINGLE_FILE=1 -sEXIT_RUNTIME=1)
foreach(program torvane torvane-import torvane-preview)
  if(TARGET ${program})
    set_target_properties(${program} PROPERTIES SUFFIX .js
                                                RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/node)
    target_link_options(${program} PRIVATE ${TORVANE_WASM_NODE_OPTIONS})
  endif()
endforeach()
