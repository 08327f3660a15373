import assert from 'node:assert/strict';
import { test } from 'node:test';
import { runInNewContext } from 'node:vm';

import { joinModules } from './join-modules.mjs';

// Parts in memory, by path.
const reader = (parts) => (path) => {
  if (!(path in parts)) throw new Error('no part ' + path);
  return parts[path];
};

test('the joined script runs each part once, after the parts that it imports', () => {
  const script = joinModules('/w/main.js', reader({
    '/w/main.js': "import { twice as double } from './lib/twice.js';\n" +
                  "import {\n  log,\n  seen,\n} from './lib/log.js';\n" +
                  "log('main');\nglobalThis.result = { answer: double(21), seen };\n",
    '/w/lib/twice.js': "import { log } from './log.js';\nlog('twice');\n" +
                       'export async function unused() {}\nexport function twice(n) { return 2 * n; }\n',
    '/w/lib/log.js': 'export const seen = [];\nexport function log(what) { seen.push(what); }\n',
  }));
  const context = {};
  runInNewContext(script, context);
  assert.deepEqual(JSON.parse(JSON.stringify(context.result)), { answer: 42, seen: ['twice', 'main'] });
});

test('forms the joiner cannot read are refused, naming the part', () => {
  const cases = [
    [{ '/w/a.js': 'export default 1;\n' }, /\/w\/a\.js: a form this joiner cannot read: export default 1;/],
    [{ '/w/a.js': "import x from './b.js';\n" }, /\/w\/a\.js: a form this joiner cannot read/],
    [{ '/w/a.js': "import { zipSync } from 'fflate';\n" }, /\/w\/a\.js: imports 'fflate'/],
    [{ '/w/a.js': "import { b } from './b.js';\n", '/w/b.js': "import { a } from './a.js';\n" },
     /\/w\/a\.js: its imports come back to it/],
  ];
  for (const [parts, message] of cases) assert.throws(() => joinModules('/w/a.js', reader(parts)), message);
});
