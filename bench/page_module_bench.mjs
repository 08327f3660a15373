// Times the web page's own converter module (build/wasm/site/torvane.js) on
// the campaign, as the page runs it: files in emscripten's in-memory file
// system, one thread, a fresh instance per run. Prints the median seconds of
// the call itself, then of making the instance and loading the files.
//
//   node bench/page_module_bench.mjs MODULE CAMPAIGN_DIR RUNS
import { readFileSync, readdirSync, statSync } from 'node:fs';
import { createRequire } from 'node:module';
import { join, resolve } from 'node:path';
import { performance } from 'node:perf_hooks';

const [modulePath, campaign, runsText] = process.argv.slice(2);
const createTorvane = createRequire(import.meta.url)(resolve(modulePath));
const runs = Number(runsText || 5);

const files = [];
const walk = (dir, prefix) => {
  for (const name of readdirSync(dir)) {
    const path = join(dir, name);
    if (statSync(path).isDirectory()) walk(path, prefix + name + '/');
    else files.push([prefix + name, readFileSync(path)]);
  }
};
walk(campaign, '');
const sectors = readdirSync(campaign).filter((name) => statSync(join(campaign, name)).isDirectory());

const median = (values) => values.sort((a, b) => a - b)[Math.floor((values.length - 1) / 2)];
const calls = [];
const setups = [];
for (let run = 0; run < runs; run++) {
  const start = performance.now();
  const module = await createTorvane({ print() {}, printErr() {}, quit: (status, toThrow) => { throw toThrow; } });
  const fs = module.FS;
  fs.mkdir('/work');
  fs.chdir('/work');
  fs.mkdir('out');
  for (const [path, bytes] of files) {
    const parts = path.split('/');
    for (let i = 1; i < parts.length; i++) {
      const dir = parts.slice(0, i).join('/');
      if (!fs.analyzePath(dir).exists) fs.mkdir(dir);
    }
    fs.writeFile(path, bytes);
  }
  const called = performance.now();
  const status = module.callMain(['-s+', '-x+', '-d', 'out', ...sectors]);
  const done = performance.now();
  if (status !== 0) throw new Error(`the module exited with status ${status}`);
  setups.push((called - start) / 1000);
  calls.push((done - called) / 1000);
}
console.log(median(calls).toFixed(3), median(setups).toFixed(3));
