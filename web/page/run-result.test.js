import assert from 'node:assert/strict';
import { test } from 'node:test';

import { downloadName, needsPath, previewArguments, scriptOwner, summary, zipName } from './run-result.js';

// Where the converter writes each sector's scripts, as it tells the page.
const scriptsOf = (dir, name) => ({
  scripts: [`${dir}/${name}.scr`, ...[...'ABCDEFGHIJKLMNOP'].map((l) => `${dir}/${name}${l}.scr`)],
});

test('a script belongs to the sector that writes it, its own script first', () => {
  const sectors = { lyra: scriptsOf('s', 'lyra'), lyraB: scriptsOf('s', 'lyraB'),
                    Reach: scriptsOf('Reach', 'Reach') };
  const cases = [
    ['s/lyra.scr', { sector: 'lyra', letter: '' }],
    ['s/lyraF.scr', { sector: 'lyra', letter: 'f' }],
    ['Reach/ReachA.scr', { sector: 'Reach', letter: 'a' }],
    ['s/lyraB.scr', { sector: 'lyraB', letter: '' }],
    ['s/lyraBA.scr', { sector: 'lyraB', letter: 'a' }],
    ['s/lyraQ.scr', null],
    ['Reach/lyra.scr', null],
  ];
  for (const [path, owner] of cases) assert.deepEqual(scriptOwner(path, sectors), owner, path);
});

test('the summary counts scripts and errors, and says in plain words which sectors failed', () => {
  const lyra = { ...scriptsOf('lyra', 'lyra'), dataFile: 'lyra/lyra.dat', mapFolder: 'lyra/map' };
  const reach = { ...scriptsOf('Reach', 'Reach'), dataFile: 'Reach/Reach.dat', mapFolder: null };
  const both = { lyra, Reach: reach };
  const cases = [
    [0, ['lyra/lyra.scr', 'lyra/lyraA.scr'], { lyra }, [],
     '2 scripts written, no errors.', null],
    [-1, ['lyra/lyra.scr'], { lyra }, ['lyra'],
     '1 script written; 1 error: see the messages.', '0 of 1 sector converted cleanly. ' +
     'lyra did not: see its messages.'],
    [-64, ['lyra/lyra.scr', 'Reach/Reach.scr'], both, ['Reach'],
     '2 scripts written; 64 errors: see the messages.', '1 of 2 sectors converted cleanly. ' +
     'Reach did not: its map/ folder with the subsector files is missing.'],
    [-255, ['lyra/lyra.scr'], both, [],
     '1 script written; 255 or more errors: see the messages.', '1 of 2 sectors converted ' +
     'cleanly. Reach did not: its map/ folder with the subsector files is missing.'],
    [-2, [], { lyra }, [], '0 scripts written; 2 errors: see the messages.',
     '0 of 1 sector converted cleanly. lyra did not: no script was written for it.'],
    [null, ['lyra/lyra.scr'], { lyra }, [],
     '1 script written; the converter stopped short: see the messages.',
     '1 of 1 sector converted cleanly.'],
  ];
  for (const [status, paths, sectors, withErrors, text, sectorsText] of cases) {
    assert.deepEqual(summary(status, paths, sectors, withErrors),
                     { text, failed: status !== 0, sectorsText }, text);
  }
});

test('downloads are named after the sector, or torvane for several', () => {
  assert.equal(zipName(['lyra']), 'lyra-scripts.zip');
  assert.equal(zipName(['lyra', 'Reach']), 'torvane-scripts.zip');
  assert.equal(needsPath('lyra.scr'), 'drawing-needs.txt');
  assert.equal(needsPath('out/maps/lyraA.scr'), 'out/maps/drawing-needs.txt');
  assert.equal(downloadName('scripts/lyra/lyraA.scr'), 'lyraA.scr');
  assert.equal(downloadName('lyra.scr'), 'lyra.scr');
});

test('a subsector\'s picture targets the worlds of its own subsector', () => {
  assert.deepEqual(previewArguments('lyra/lyraF.scr', { sector: 'lyra', letter: 'f' }, 'lyra/map'),
                   ['--worlds=lyra/map', '--subsector=f', 'lyra/lyraF.scr', 'picture.svg']);
  assert.deepEqual(previewArguments('s/lyra.scr', { sector: 'lyra', letter: '' }, null),
                   ['s/lyra.scr', 'picture.svg']);
  assert.deepEqual(previewArguments('x.scr', null, 'lyra/map'), ['x.scr', 'picture.svg']);
});
