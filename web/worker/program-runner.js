// Runs torvane, torvane-import or torvane-preview once, in a fresh instance
// of the one module that holds all three, on files held in memory. Each run
// gets an instance of its own: a program's state ends with its run. The
// module itself is compiled once and shared.
import { handIn, takeOut, watchOpens } from './program-files.js';

// `createModule` is the module's factory (createTorvanePrograms) and
// `compiled` its WebAssembly.Module. The runner it returns takes the
// program's name, its arguments, and { files: [path, bytes] pairs,
// directories: empty ones to make, opened: called with each path the
// program opens }. It gives the exit status (null when the program stopped
// short), what it printed, in order, the files it wrote ([path, bytes] in
// path order), and how long the parts took (milliseconds).
export function makeProgramRunner(createModule, compiled) {
  return async function runProgram(program, args, { files = [], directories = [], opened } = {}) {
    const started = performance.now();
    const lines = [];
    let refused;
    const instanceRefused = new Promise((resolve, reject) => { refused = reject; });
    const module = await Promise.race([instanceRefused, createModule({
      print: (text) => lines.push(text),
      printErr: (text) => lines.push(text),
      // The worker goes on after main returns: an exit throws, and callMain
      // gives its status.
      quit: (status, toThrow) => { throw toThrow; },
      instantiateWasm(imports, receive) {
        WebAssembly.instantiate(compiled, imports)
            .then((instance) => receive(instance, compiled), refused);
        return {};
      },
    })]);
    handIn(module, files, directories);
    if (opened) watchOpens(module, opened);
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
      written,
      times: { setup: called - started, call: returned - called, takeOut: performance.now() - returned },
    };
  };
}
