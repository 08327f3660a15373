// Runs torvane, torvane-import or torvane-preview once, in a fresh instance
// of the one module that holds all three, on files held in memory. Each run
// gets an instance of its own: a program's state ends with its run. The
// module itself is compiled once and shared.
import { handIn, largestInput, publishedSectors, sectorOf, takeOut, watchOpens } from './program-files.js';

// `createModule` is the module's factory (createTorvanePrograms) and
// `compiled` its WebAssembly.Module. Resolves to an instance whose output
// lines go to `lines`, the indices of those it printed to its standard
// error to `errorLines`, in `memory` when given (zeroed, as a new memory
// is); `usesMemory` is called with the memory the instance has.
async function newInstance(createModule, compiled, lines, errorLines = [], memory, usesMemory) {
  let refused;
  const instanceRefused = new Promise((resolve, reject) => { refused = reject; });
  if (memory) new Uint8Array(memory.buffer).fill(0);
  return Promise.race([instanceRefused, createModule({
    ...(memory ? { wasmMemory: memory } : {}),
    print: (text) => lines.push(text),
    printErr: (text) => errorLines.push(lines.push(text) - 1),
    // The worker goes on after main returns: an exit throws, and callMain
    // gives its status.
    quit: (status, toThrow) => { throw toThrow; },
    instantiateWasm(imports, receive) {
      // The memory is among the imports, under a name the build shortens.
      const imported = Object.values(imports).flatMap((names) => Object.values(names));
      if (usesMemory) usesMemory(imported.find((value) => value instanceof WebAssembly.Memory));
      WebAssembly.instantiate(compiled, imports)
          .then((instance) => receive(instance, compiled), refused);
      return {};
    },
  })]);
}

// The runner takes the program's name, its arguments, and { files: [path,
// bytes] pairs, directories: empty ones to make, opened: called with each
// path the program opens and the number of lines printed so far, describe:
// { dirs, outputDir } }. It gives the exit status (null when the program
// stopped short), what it printed, in order, and which of those lines went
// to its standard error (errorLines: their indices), the files it wrote
// ([path, bytes] in path order), what the converter makes of each of
// `describe.dirs` before the run (sectors: dir -> { dataFile, mapFolder,
// scripts }, see program-files.js), how long the parts took
// (milliseconds), and release(): to be called once the written bytes are
// copied or no longer needed, as they lie in the instance's memory, which
// release() hands to a later run.
export function makeProgramRunner(createModule, compiled) {
  // A memory's pages cost the most the first time they are touched: a
  // campaign's scripts took a third of the run to copy into fresh pages.
  // So a new instance takes the memory of one that has ended, zeroed.
  const memories = [];
  return async function runProgram(program, args,
                                   { files = [], directories = [], opened, describe } = {}) {
    const started = performance.now();
    const lines = [];
    const errorLines = [];
    let memory = memories.pop();
    const module = await newInstance(createModule, compiled, lines, errorLines, memory,
                                     (used) => { memory = used; });
    handIn(module, files, directories);
    if (opened) watchOpens(module, (path) => opened(path, lines.length));
    const sectors = {};
    for (const dir of describe ? describe.dirs : []) {
      sectors[dir] = sectorOf(module, dir, describe.outputDir || '');
    }
    const called = performance.now();
    let status = null;
    try {
      status = module.callMain([program, ...args]);
    } catch (error) {
      lines.push(`The program stopped: ${error && error.message ? error.message : error}`);
    }
    const returned = performance.now();
    const written = takeOut(module);
    return {
      status,
      output: lines.length ? lines.join('\n') + '\n' : '',
      errorLines,
      written,
      sectors,
      times: { setup: called - started, call: returned - called, takeOut: performance.now() - returned },
      release() {
        if (memory) memories.push(memory);
        memory = null;
      },
    };
  };
}

// The reader of folders: given the paths of files the user chose (the bytes
// are not needed), it gives the largest file the programs read, and the
// sectors among the folders: [{ dir, dataFile, mapFolder }] by dir, a
// folder being a sector when the converter finds its data file there.
export function makeFolderReader(createModule, compiled) {
  return async function readFolders(paths) {
    const module = await newInstance(createModule, compiled, []);
    const empty = new Uint8Array(0);
    handIn(module, paths.map((path) => [path, empty]));
    const dirs = new Set();
    for (const path of paths) {
      for (let slash = path.indexOf('/'); slash > 0; slash = path.indexOf('/', slash + 1)) {
        dirs.add(path.slice(0, slash));
      }
    }
    const sectors = [];
    for (const dir of [...dirs].sort()) {
      const { dataFile, mapFolder } = sectorOf(module, dir);
      if (dataFile !== null) sectors.push({ dir, dataFile, mapFolder });
    }
    return { largestInput: largestInput(module), sectors };
  };
}

// The reader of published files: given the names of the files the user
// chose, it gives the sector directories torvane-import makes of them, by
// its own pairing of sector files with their metadata (see
// publishedSectors).
export function makePublishedReader(createModule, compiled) {
  return async function readPublished(names) {
    return publishedSectors(await newInstance(createModule, compiled, []), names);
  };
}
