import assert from 'node:assert/strict';
import { test } from 'node:test';

import { InputProblem } from './input-problem.js';
import { readChecked, sectorFolders } from './input-files.js';

test('a folder holding a .dat file is a sector; its map folder is not', () => {
  const found = sectorFolders([
    'campaign/lyra/lyra.dat', 'campaign/lyra/map/SUBA.DAT', 'campaign/lyra/Map/notes.txt',
    'campaign/lyra/notes.txt', 'campaign/lyra/old/lyra.dat', 'campaign/lyra/lyra.scr',
    'campaign/Reach/Reach.DAT', 'campaign/readme.txt',
  ]);
  assert.deepEqual(found, [
    { dir: 'campaign/Reach', name: 'Reach', files: [['Reach.DAT', 'campaign/Reach/Reach.DAT']] },
    { dir: 'campaign/lyra', name: 'lyra', files: [
      ['lyra.dat', 'campaign/lyra/lyra.dat'], ['map/SUBA.DAT', 'campaign/lyra/map/SUBA.DAT'],
      ['Map/notes.txt', 'campaign/lyra/Map/notes.txt']] },
    { dir: 'campaign/lyra/old', name: 'old', files: [['lyra.dat', 'campaign/lyra/old/lyra.dat']] },
  ]);
});

test('a folder without a .dat file is refused, saying which folder to choose', () => {
  assert.throws(() => sectorFolders(['lyra/map/SUBA.DAT', 'lyra/map/SUBB.DAT']), (error) =>
    error instanceof InputProblem &&
    error.message === 'lyra: this folder has no .dat file: choose the sector\'s folder, the one ' +
                      'holding map/.');
});

test('a file too large or binary is refused before it is read as text', async () => {
  const huge = { size: 16 * 1024 * 1024 + 1, arrayBuffer: () => assert.fail('read') };
  await assert.rejects(readChecked(huge, 'huge.tab'), /huge\.tab is 16\.0 MiB \(16,777,217 bytes\)/);
  await assert.rejects(readChecked(new Blob([new Uint8Array([65, 0, 66])]), 'a.png'),
                       /a\.png is a binary file/);
  assert.deepEqual(await readChecked(new Blob(['AB']), 'a.tab'), new Uint8Array([65, 66]));
});
