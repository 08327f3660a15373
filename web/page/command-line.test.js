import assert from 'node:assert/strict';
import { test } from 'node:test';

import { commandText, optionArguments, outputDirectory, outputDirectoryProblem } from './command-line.js';

const defaults = { subsectors: '', hexNumbers: 'o', date: '', itemsOff: '', outputDir: null };

test('the options give the command line torvane reads', () => {
  const cases = [
    [{}, 'torvane lyra'],
    [{ subsectors: 'pa' }, 'torvane -sap lyra'],
    [{ subsectors: 'abcdefghijklmnop' }, 'torvane -s+ lyra'],
    [{ hexNumbers: 'a' }, 'torvane -xa lyra'],
    [{ date: 'Year 1105' }, 'torvane -y "Year 1105" lyra'],
    [{ itemsOff: 'zb' }, 'torvane -b- -z- lyra'],
    [{ outputDir: 'my scripts' }, 'torvane -d "my scripts" lyra'],
    [{ subsectors: 'a', hexNumbers: 'n', date: '1105', itemsOff: 'agnpt', outputDir: 'out' },
     'torvane -sa -xn -y 1105 -a- -g- -n- -p- -t- -d out lyra'],
  ];
  for (const [options, expected] of cases) {
    const args = [...optionArguments({ ...defaults, ...options }), 'lyra'];
    assert.equal(commandText('torvane', args), expected, JSON.stringify(options));
  }
});

test('arguments a shell would read are quoted', () => {
  const cases = [
    ['', '""'], ['a b', '"a b"'], ['$HOME', '"\\$HOME"'], ['say "hi"', '"say \\"hi\\""'],
    ['back\\slash', '"back\\\\slash"'], ['*', '"*"'], ['plain-name_1', 'plain-name_1'],
  ];
  for (const [argument, shown] of cases) assert.equal(commandText('x', [argument]), 'x ' + shown);
});

test('the output directory must stay inside the working directory', () => {
  const cases = [
    [' scripts\\maps\\ ', 'scripts/maps', true], ['scripts', 'scripts', true],
    ['', '', false], ['/tmp', '/tmp', false], ['c:\\maps', 'c:/maps', false],
    ['a/../..', 'a/../..', false],
  ];
  for (const [typed, dir, usable] of cases) {
    assert.equal(outputDirectory(typed), dir);
    assert.equal(outputDirectoryProblem(dir) === '', usable, typed);
  }
  assert.equal(outputDirectoryProblem(null), '');
});
