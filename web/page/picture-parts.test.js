import assert from 'node:assert/strict';
import { test } from 'node:test';

import { pictureParts } from './picture-parts.js';

test('elements go in parts of at most the limit, a large one piece by piece', () => {
  const inner = '\n<rect/>\n<g id="a" data-x="1>0">\n<text>A &amp; B</text>\n<path d="M0"/>\n' +
                '<g><circle/><circle/></g>\n</g>\n<style>.x{}</style>\n<!-- <g> -->\n';
  assert.deepEqual(pictureParts(inner, 3), [
    { elements: '\n<rect/>\n' },
    { enter: '<g id="a" data-x="1>0">' },
    { elements: '\n<text>A &amp; B</text>\n<path d="M0"/>\n' },
    { elements: '<g><circle/><circle/></g>' },
    { elements: '\n' },
    { leave: true },
    { elements: '\n<style>.x{}</style>\n<!-- <g> -->\n' },
  ]);
});

test('the parts hold all of the text, in order', () => {
  const inner = '<g>' + '<g><a/><b/></g>'.repeat(50) + '</g><c>x</c>';
  for (const limit of [1, 2, 3, 7, 500]) {
    const text = pictureParts(inner, limit)
        .map((part) => part.elements ?? part.enter ?? '</g>').join('');
    assert.equal(text, inner, `limit ${limit}`);
  }
});
