import assert from 'node:assert/strict';
import { test } from 'node:test';

import { InputProblem } from './input-problem.js';
import { importCommands } from './published-pairs.js';

const sector = (directory, sectorFiles, metadataFiles = []) =>
  ({ directory, sectorFiles, metadataFiles });

test('a sector\'s files are imported alone, or as a folder when there is a choice', () => {
  const { commands, leftOut } = importCommands({
    sectors: [sector('Reach', ['Reach.tab'], ['Reach.xml']), sector('Spin', ['Spin.sec']),
              sector('Gak', ['Gak.sec', 'Gak.txt'], ['Gak.xml'])],
    loneMetadata: [],
  });
  assert.deepEqual(commands.map(({ sector: name, args }) => [name, args]), [
    ['Reach', ['Reach.tab', 'Reach.xml', 'Reach']],
    ['Spin', ['Spin.sec', 'Spin']],
    ['Gak', ['Gak.sec', 'Gak.txt', 'Gak.xml', '.']],
  ]);
  assert.deepEqual(commands[2].files, ['Gak.sec', 'Gak.txt', 'Gak.xml']);
  assert.equal(leftOut, null);
});

test('metadata that no sector file takes is named, and alone it is refused', () => {
  const { leftOut } = importCommands({ sectors: [sector('A', ['A.tab'])], loneMetadata: ['B.xml'] });
  assert.match(leftOut, /^B\.xml: no sector file of the same name was chosen/);
  assert.throws(() => importCommands({ sectors: [], loneMetadata: ['Reach.xml', 'Spin.xml'] }),
                (error) => error instanceof InputProblem &&
                  error.message === 'Reach.xml, Spin.xml: XML metadata alone is not a sector: ' +
                                    'choose the published sector file too (.tab, .sec or .txt).');
});
