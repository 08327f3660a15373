// Times the web page's module of the three programs (torvane-programs.js and
// .wasm, in build/wasm/page) on the campaign, as the page's worker runs it:
// through the worker's program runner, its files in memory, on one thread,
// a fresh instance per run in the memory of the run before (the first in a
// memory of its own). Prints the median seconds of the converter's call
// itself and of the whole run (instance, files in, call, files out), the
// seconds from node's start to the end of the first run (the module
// compiled and the campaign read from disk on the way), and the first
// run's call, in fresh memory.
//
//   node bench/page_module_bench.mjs MODULE_DIR CAMPAIGN_DIR RUNS
import { readFileSync, readdirSync, statSync } from 'node:fs';
import { createRequire } from 'node:module';
import { join, resolve } from 'node:path';
import { performance } from 'node:perf_hooks';

import { makeProgramRunner } from '../web/worker/program-runner.js';

const [moduleDir, campaign, runsText] = process.argv.slice(2);
const runs = Number(runsText || 5);
const createModule = createRequire(import.meta.url)(resolve(moduleDir, 'torvane-programs.js'));
const compiled = await WebAssembly.compile(readFileSync(join(moduleDir, 'torvane-programs.wasm')));
const runProgram = makeProgramRunner(createModule, compiled);

const files = [];
const walk = (dir, prefix) => {
  for (const name of readdirSync(dir)) {
    const path = join(dir, name);
    if (statSync(path).isDirectory()) walk(path, prefix + name + '/');
    // As the page's worker has them: plain Uint8Arrays, not node's Buffers.
    else files.push([prefix + name, new Uint8Array(readFileSync(path))]);
  }
};
walk(campaign, '');
const sectors = readdirSync(campaign).filter((name) => statSync(join(campaign, name)).isDirectory());

const median = (values) => values.sort((a, b) => a - b)[Math.floor((values.length - 1) / 2)];
const calls = [];
const wholes = [];
let fromStart = 0;
let firstCall = 0;
for (let run = 0; run < runs; run++) {
  const started = performance.now();
  const result = await runProgram('torvane', ['-s+', '-x+', '-d', 'out', ...sectors],
                                  { files, directories: ['out'] });
  const done = performance.now();
  result.release();
  if (result.status !== 0) throw new Error(`the module exited with status ${result.status}`);
  if (run === 0) {
    fromStart = done / 1000;
    firstCall = result.times.call / 1000;
  }
  calls.push(result.times.call / 1000);
  wholes.push((done - started) / 1000);
}
console.log(median(calls).toFixed(3), median(wholes).toFixed(3), fromStart.toFixed(3),
            firstCall.toFixed(3));
