import assert from 'node:assert/strict';
import { test } from 'node:test';

import { InputProblem } from './input-problem.js';
import { importCommand, pairPublished } from './published-pairs.js';

const named = (...names) => names.map((name) => ({ name }));
const pairs = (...names) => pairPublished(named(...names))
    .map(({ file, metadata }) => [file.name, metadata && metadata.name]);

test('a sector file takes the metadata of its own name, else the only one', () => {
  const cases = [
    [['Reach.tab', 'Reach.xml'], [['Reach.tab', 'Reach.xml']]],
    [['reach.XML', 'Reach.tab'], [['Reach.tab', 'reach.XML']]],
    [['Reach.tab', 'Other.xml'], [['Reach.tab', 'Other.xml']]],
    [['Reach.tab'], [['Reach.tab', null]]],
    [['A.tab', 'B.sec', 'B.xml', 'C.xml'], [['A.tab', null], ['B.sec', 'B.xml']]],
    [['A.tab', 'B.tab', 'C.xml'], [['A.tab', null], ['B.tab', null]]],
  ];
  for (const [given, expected] of cases) assert.deepEqual(pairs(...given), expected, given.join(' '));
});

test('metadata alone is refused, saying what to choose', () => {
  assert.throws(() => pairPublished(named('Reach.xml', 'Spin.xml')), (error) =>
    error instanceof InputProblem &&
    error.message === 'Reach.xml, Spin.xml: XML metadata alone is not a sector: choose the ' +
                      'published sector file too (.tab, .sec or .txt).');
});

test('the import writes a sector named after the file, never over a given file', () => {
  const cases = [
    [['Reach.tab', 'Reach.xml'], 'Reach', ['Reach.tab', 'Reach.xml', 'Reach']],
    [['old.sec', null], 'old', ['old.sec', 'old']],
    [['Reach', null], 'Reach-sector', ['Reach', 'Reach-sector']],
    [['Reach.tab', 'Reach'], 'Reach-sector', ['Reach.tab', 'Reach', 'Reach-sector']],
    [['.tab', null], 'sector', ['.tab', 'sector']],
  ];
  for (const [[file, metadata], sector, args] of cases) {
    const pair = { file: { name: file }, metadata: metadata && { name: metadata } };
    assert.deepEqual(importCommand(pair), { sector, args }, file);
  }
});
