// The worker's runner on the built module (build/wasm/page, from the wasm
// preset): skipped where it has not been built.
import assert from 'node:assert/strict';
import { existsSync, readFileSync, readdirSync, statSync } from 'node:fs';
import { createRequire } from 'node:module';
import { dirname, join } from 'node:path';
import { test } from 'node:test';
import { fileURLToPath } from 'node:url';

import { makeProgramRunner } from './program-runner.js';
import { sectorProgress } from './sector-progress.js';

const source = join(dirname(fileURLToPath(import.meta.url)), '..', '..');
const moduleDir = join(source, 'build', 'wasm', 'page');
const built = existsSync(join(moduleDir, 'torvane-programs.wasm'));

async function runner() {
  const createModule = createRequire(import.meta.url)(join(moduleDir, 'torvane-programs.js'));
  const compiled = await WebAssembly.compile(readFileSync(join(moduleDir, 'torvane-programs.wasm')));
  return makeProgramRunner(createModule, compiled);
}

// The example sector's files as the sector `name`.
function example(name) {
  const files = [];
  const walk = (dir, prefix) => {
    for (const entry of readdirSync(dir).sort()) {
      const path = join(dir, entry);
      if (statSync(path).isDirectory()) walk(path, prefix + entry + '/');
      else if (/\.dat$/i.test(entry)) files.push([prefix + entry, new Uint8Array(readFileSync(path))]);
    }
  };
  walk(join(source, 'examples', 'lyra'), name + '/');
  return files.map(([path, bytes]) => [path.replace(/lyra\.dat$/, name + '.dat'), bytes]);
}

test('a run sees its files and gives back only what it wrote', { skip: !built }, async () => {
  const runProgram = await runner();
  const reports = [];
  const run = await runProgram('torvane', ['-sb', '-d', 'out', 'one', 'two'], {
    files: [...example('one'), ...example('two')], directories: ['out'],
    opened: sectorProgress(['one', 'two'], (report) => reports.push(report.sector)),
  });
  assert.equal(run.status, 0, run.output);
  assert.deepEqual(run.written.map(([path]) => path),
                   ['out/one.scr', 'out/oneB.scr', 'out/two.scr', 'out/twoB.scr']);
  assert.match(new TextDecoder().decode(run.written[0][1]), /^ECOFF\r\n/);
  assert.deepEqual(reports, ['one', 'two']);
});

test('each program of the module is chosen by its name', { skip: !built }, async () => {
  const runProgram = await runner();
  const cases = [
    ['torvane', /^Torvane \[options\] sector1/],
    ['torvane-import', /^Usage: torvane-import /m],
    ['torvane-preview', /^Usage: torvane-preview /m],
    ['torvane-nothing', /^Which program\? The first argument is torvane, torvane-import or torvane-preview, not torvane-nothing\.$/m],
  ];
  for (const [program, output] of cases) {
    const run = await runProgram(program, program === 'torvane' ? ['-h'] : []);
    assert.match(run.output, output, program);
  }
});

test('a file outside the working directory is refused', { skip: !built }, async () => {
  const runProgram = await runner();
  for (const path of ['../up.dat', 'a/./b.dat', 'a//b.dat', 'a/']) {
    await assert.rejects(runProgram('torvane', [], { files: [[path, new Uint8Array(1)]] }),
                         /not a (new )?file's path/, path);
  }
});
