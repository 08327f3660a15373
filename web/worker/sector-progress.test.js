import assert from 'node:assert/strict';
import { test } from 'node:test';

import { sectorProgress } from './sector-progress.js';

test('each sector is reported once, when the run first reads it', () => {
  const reports = [];
  const opened = sectorProgress(['lyra', 'Reach', 'gen1'], (report) => reports.push(report));
  for (const path of ['lyra/lyra.dat', 'lyra/map/SUBA.DAT', 'out/lyra.scr', 'Reach/Reach.dat',
                      'Reach/map/SUBA.DAT', 'out/Reach.scr', 'lyra.scr', 'nowhere/x.dat',
                      'gen1/gen1.dat']) {
    opened(path);
  }
  assert.deepEqual(reports, [
    { sector: 'lyra', number: 1, count: 3 },
    { sector: 'Reach', number: 2, count: 3 },
    { sector: 'gen1', number: 3, count: 3 },
  ]);
});

test('a sector read again after another is not counted twice', () => {
  const reports = [];
  const opened = sectorProgress(['a', 'b'], (report) => reports.push(report));
  for (const path of ['a/a.dat', 'b/b.dat', 'a/a.scr']) opened(path);
  assert.deepEqual(reports.map((r) => r.number), [1, 2, 2]);
});
