// The worker's runner on the built module (build/wasm/page, from the wasm
// preset): skipped where it has not been built.
import assert from 'node:assert/strict';
import { existsSync, readFileSync, readdirSync, statSync } from 'node:fs';
import { createRequire } from 'node:module';
import { dirname, join } from 'node:path';
import { test } from 'node:test';
import { fileURLToPath } from 'node:url';

import { importCommands } from '../page/published-pairs.js';
import { makeFolderReader, makeProgramRunner, makePublishedReader } from './program-runner.js';
import { sectorProgress, sectorsWithErrors } from './sector-progress.js';

const source = join(dirname(fileURLToPath(import.meta.url)), '..', '..');
const moduleDir = join(source, 'build', 'wasm', 'page');
const built = existsSync(join(moduleDir, 'torvane-programs.wasm'));

async function fromModule(make) {
  const createModule = createRequire(import.meta.url)(join(moduleDir, 'torvane-programs.js'));
  const compiled = await WebAssembly.compile(readFileSync(join(moduleDir, 'torvane-programs.wasm')));
  return make(createModule, compiled);
}
const runner = () => fromModule(makeProgramRunner);

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
    files: [...example('one'), ...example('two')], directories: ['Out'],
    opened: sectorProgress(['one', 'two'], (report) => reports.push(report.sector)),
    describe: { dirs: ['one'], outputDir: 'out' },
  });
  assert.equal(run.status, 0, run.output);
  assert.deepEqual(run.written.map(([path]) => path),
                   ['Out/one.scr', 'Out/oneB.scr', 'Out/two.scr', 'Out/twoB.scr']);
  // Where the run writes, as it finds its folder.
  assert.deepEqual(run.sectors.one.scripts.slice(0, 3), ['Out/one.scr', 'Out/oneA.scr', 'Out/oneB.scr']);
  assert.match(new TextDecoder().decode(run.written[0][1]), /^ECOFF\r\n/);
  assert.deepEqual(reports, ['one', 'two']);
});

test('a run in the memory of one before it writes what a fresh one writes', { skip: !built }, async () => {
  const runProgram = await runner();
  const convert = async (name) => {
    const run = await runProgram('torvane', ['-s+', name], { files: example(name) });
    // Asteroids are drawn at random, seeded by the clock.
    const written = run.written.map(([path, bytes]) =>
      [path, Buffer.from(bytes).toString('latin1').replace(/Asteroid [1-8]/g, 'Asteroid #')]);
    run.release();
    return { status: run.status, output: run.output, written };
  };
  const fresh = await convert('one');
  await convert('other');
  assert.deepEqual(await convert('one'), fresh);
  assert.equal(fresh.written.length, 17);
});

test('a sector\'s messages come while it is converted', { skip: !built }, async () => {
  const runProgram = await runner();
  const reports = [];
  const noMap = example('bad').filter(([path]) => !path.includes('/map/'));
  const run = await runProgram('torvane', ['-sa', 'one', 'bad', 'two'], {
    files: [...example('one'), ...noMap, ...example('two')],
    opened: sectorProgress(['one', 'bad', 'two'], (report) => reports.push(report)),
  });
  assert.ok(run.status < 0, run.output);
  assert.deepEqual(sectorsWithErrors(reports, run.errorLines), ['bad']);
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

test('a folder is a sector when the converter finds its data file there', { skip: !built }, async () => {
  const readFolders = await fromModule(makeFolderReader);
  const { largestInput, sectors } = await readFolders([
    'c/Lyra/LYRA.DAT', 'c/Lyra/Map/SUBA.DAT', 'c/named-wrong/other.dat', 'c/nomap/nomap.dat',
    'c/nomap/sub/map.dat',
  ]);
  assert.equal(largestInput, 16 * 1024 * 1024);
  assert.deepEqual(sectors, [
    { dir: 'c/Lyra', dataFile: 'c/Lyra/LYRA.DAT', mapFolder: 'c/Lyra/Map' },
    { dir: 'c/nomap', dataFile: 'c/nomap/nomap.dat', mapFolder: null },
  ]);
});

test('published files are imported by the importer\'s own pairing', { skip: !built }, async () => {
  const text = (string) => new TextEncoder().encode(string);
  const files = new Map([
    ['Gak.sec', text('Hex  Name          UWP       PBG\n---- ------------- --------- ---\n' +
                     '0102 Beta          A788899-C 123\n')],
    ['Gak.txt', text('Hex\tName\tUWP\tPBG\n0101\tAlpha\tA788899-C\t123\n')],
    ['gak.XML', text('<Sector><Name>Gak</Name></Sector>')],
    ['Lone.xml', text('<Sector><Name>Lone</Name></Sector>')],
  ]);
  const { commands, leftOut } = importCommands(await (await fromModule(makePublishedReader))([...files.keys()]));
  assert.match(leftOut, /^Lone\.xml: /);
  assert.deepEqual(commands.map(({ sector }) => sector), ['Gak']);
  const runProgram = await runner();
  const { args, files: names } = commands[0];
  const run = await runProgram('torvane-import', args, { files: names.map((name) => [name, files.get(name)]) });
  assert.equal(run.status, 0, run.output);
  assert.match(run.output, /Gak\.sec left out: Gak\.txt holds the same sector in tab-delimited/);
  assert.deepEqual(run.written.map(([path]) => path).filter((path) => !path.startsWith('Gak/map/')),
                   ['Gak/Gak.dat']);
});
