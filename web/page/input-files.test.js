import assert from 'node:assert/strict';
import { test } from 'node:test';

import { InputProblem } from './input-problem.js';
import { folderProblem, foldersWithoutSector, readChecked, sectorFolders } from './input-files.js';

test('a sector is read as the converter reads it: its data file and its map folder', () => {
  const paths = ['campaign/lyra/lyra.dat', 'campaign/lyra/MAP/SUBA.DAT', 'campaign/lyra/MAP/x/n.txt',
                 'campaign/lyra/notes.txt', 'campaign/lyra/old.dat', 'campaign/Reach/Reach.DAT'];
  const found = [
    { dir: 'campaign/Reach', dataFile: 'campaign/Reach/Reach.DAT', mapFolder: null },
    { dir: 'campaign/lyra', dataFile: 'campaign/lyra/lyra.dat', mapFolder: 'campaign/lyra/MAP' },
  ];
  assert.deepEqual(sectorFolders(paths, found), [
    { dir: 'campaign/Reach', name: 'Reach', files: [['Reach.DAT', 'campaign/Reach/Reach.DAT']] },
    { dir: 'campaign/lyra', name: 'lyra', files: [
      ['lyra.dat', 'campaign/lyra/lyra.dat'], ['MAP/SUBA.DAT', 'campaign/lyra/MAP/SUBA.DAT'],
      ['MAP/x/n.txt', 'campaign/lyra/MAP/x/n.txt']] },
  ]);
});

test('folders without a sector are refused, saying which folder to choose', () => {
  assert.throws(() => sectorFolders(['lyra/map/SUBA.DAT', 'lyra/other.dat'], []), (error) =>
    error instanceof InputProblem &&
    error.message === 'lyra: no sector here: a sector\'s folder holds a data file of its own name ' +
                      '(such as lyra/lyra.dat) beside its map/ folder. Choose that folder.');
  // Beside folders that hold sectors, one that holds none is named.
  const found = [{ dir: 'campaign/lyra' }, { dir: 'Reach' }];
  assert.equal(foldersWithoutSector(['campaign/lyra/lyra.dat', 'Reach/Reach.dat'], found), null);
  assert.match(foldersWithoutSector(['Reach/Reach.dat', 'mismatch/other.dat', 'campaign/x'], found),
               /^mismatch: no sector here: .*\(such as mismatch\/mismatch\.dat\)/);
});

test('a file too large or binary is refused before it is read as text', async () => {
  const limit = 16 * 1024 * 1024;
  const huge = { size: limit + 1, arrayBuffer: () => assert.fail('read') };
  await assert.rejects(readChecked(huge, 'huge.tab', limit),
                       /huge\.tab is 16\.0 MiB \(16,777,217 bytes\).* over 16 MiB \(16,777,216 bytes\)/);
  await assert.rejects(readChecked(new Blob([new Uint8Array([65, 0, 66])]), 'a.png', limit),
                       /a\.png is a binary file/);
  assert.deepEqual(await readChecked(new Blob(['AB']), 'a.tab', limit), new Uint8Array([65, 66]));
});

test('a sector folder without its maps, or with an empty data file, is named in plain words', () => {
  const folder = { dir: 'c/datonly', name: 'datonly', files: [['datonly.dat', 'c/datonly/datonly.dat']] };
  assert.match(folderProblem(folder, false, 10), /^c\/datonly: datonly\.dat is here, but not the map\/ folder/);
  assert.match(folderProblem(folder, true, 0), /^c\/datonly: its data file datonly\.dat is empty/);
  assert.equal(folderProblem(folder, true, 10), null);
});
