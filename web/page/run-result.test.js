import assert from 'node:assert/strict';
import { test } from 'node:test';

import { downloadName, previewArguments, scriptOwner, summary, zipName } from './run-result.js';

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

test('the summary counts scripts and errors, and names sectors left without a script', () => {
  const lyra = { lyra: scriptsOf('lyra', 'lyra') };
  const both = { ...lyra, Reach: scriptsOf('Reach', 'Reach') };
  const cases = [
    [0, ['lyra/lyra.scr', 'lyra/lyraA.scr'], lyra, '2 scripts written, no errors.', false],
    [-1, ['lyra/lyra.scr'], lyra, '1 script written; 1 error (exit status -1).', true],
    [-3, ['lyra/lyra.scr', 'lyra/ReachA.scr'], both,
     '2 scripts written; 3 errors (exit status -3). No sector script for Reach: see the messages.', true],
    [null, [], lyra,
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
