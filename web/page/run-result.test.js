import assert from 'node:assert/strict';
import { test } from 'node:test';

import { downloadName, mapFolder, previewArguments, scriptOwner, summary, zipName } from './run-result.js';

test('a script belongs to the sector whose name it bears, a letter more for a subsector', () => {
  const sectors = ['lyra', 'Reach', 'lyraB'];
  const cases = [
    ['lyra/lyra.scr', { sector: 'lyra', letter: '' }],
    ['scripts/LYRAF.SCR', { sector: 'lyra', letter: 'f' }],
    ['Reach/ReachA.scr', { sector: 'Reach', letter: 'a' }],
    ['scripts/lyraB.scr', { sector: 'lyraB', letter: '' }],
    ['scripts/lyraBa.scr', { sector: 'lyraB', letter: 'a' }],
    ['lyra/lyraQ.scr', null],
    ['notes.scr', null],
    ['lyra/lyraAB.scr', null],
  ];
  for (const [path, owner] of cases) assert.deepEqual(scriptOwner(path, sectors), owner, path);
});

test('the summary counts scripts and errors, and names sectors left without a script', () => {
  const cases = [
    [0, ['lyra/lyra.scr', 'lyra/lyraA.scr'], ['lyra'], '2 scripts written, no errors.', false],
    [-1, ['s/lyra.scr'], ['lyra'], '1 script written; 1 error (exit status -1).', true],
    [-3, ['s/lyra.scr'], ['lyra', 'Reach'],
     '1 script written; 3 errors (exit status -3). No sector script for Reach: see the messages.', true],
    [null, [], ['lyra'],
     '0 scripts written; the converter stopped short. No sector script for lyra: see the messages.', true],
  ];
  for (const [status, paths, sectors, text, failed] of cases) {
    assert.deepEqual(summary(status, paths, sectors), { text, failed });
  }
});

test('downloads are named after the sector, or torvane for several', () => {
  assert.equal(zipName(['lyra']), 'lyra-scripts.zip');
  assert.equal(zipName(['lyra', 'Reach']), 'torvane-scripts.zip');
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

test('a sector\'s map folder keeps its own spelling', () => {
  assert.equal(mapFolder('lyra', ['lyra.dat', 'MAP/SUBA.DAT']), 'lyra/MAP');
  assert.equal(mapFolder('lyra', ['lyra.dat']), null);
});
