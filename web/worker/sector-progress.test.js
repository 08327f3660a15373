import assert from 'node:assert/strict';
import { test } from 'node:test';

import { sectorProgress, sectorsWithErrors } from './sector-progress.js';

test('each sector is reported once, when the run first reads it', () => {
  const reports = [];
  const opened = sectorProgress(['lyra', 'Reach', 'gen1'], (report) => reports.push(report));
  for (const path of ['lyra/lyra.dat', 'lyra/map/SUBA.DAT', 'out/lyra.scr', 'Reach/Reach.dat',
                      'Reach/map/SUBA.DAT', 'out/Reach.scr', 'lyra.scr', 'nowhere/x.dat',
                      'gen1/gen1.dat']) {
    opened(path, path.length);
  }
  assert.deepEqual(reports, [
    { sector: 'lyra', number: 1, count: 3, printed: 13 },
    { sector: 'Reach', number: 2, count: 3, printed: 15 },
    { sector: 'gen1', number: 3, count: 3, printed: 13 },
  ]);
});

test('a sector read again after another is not counted twice', () => {
  const reports = [];
  const opened = sectorProgress(['a', 'b'], (report) => reports.push(report));
  for (const path of ['a/a.dat', 'b/b.dat', 'a/a.scr']) opened(path);
  assert.deepEqual(reports.map((r) => r.number), [1, 2, 2]);
});

test('a line printed to the standard error belongs to the sector being converted', () => {
  const reports = [{ sector: 'a', printed: 0 }, { sector: 'b', printed: 2 },
                   { sector: 'c', printed: 2 }, { sector: 'a', printed: 5 }];
  assert.deepEqual(sectorsWithErrors(reports, [1]), ['a']);
  assert.deepEqual(sectorsWithErrors(reports, [2, 9]), ['c', 'a']);
  assert.deepEqual(sectorsWithErrors(reports, []), []);
});
