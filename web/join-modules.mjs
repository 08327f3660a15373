// Joins the page's ES modules into one classic script, for a page opened
// from disk (which may load no module) and for its worker (which starts from
// one text). Each part becomes a function scope that returns its exports;
// its imports become constants taken from the parts it names. Only the forms
// the parts use are read: `import { a, b as c } from './part.js';` and
// `export` before a function, class, const or let.
import { readFileSync } from 'node:fs';
import { basename, dirname, resolve } from 'node:path';

const importLine = /^import\s*\{([^}]*)\}\s*from\s*'([^']+)';[ \t]*$/gm;
const exportName = /^export\s+(?:async\s+)?(?:function\*?|class|const|let)\s+([A-Za-z_$][\w$]*)/gm;

// The script of the part at `entry` and every part it imports, each once,
// a part after those it imports. `read` gives a file's text.
export function joinModules(entry, read = (path) => readFileSync(path, 'utf8')) {
  const scopes = new Map();  // path -> the constant holding its exports
  const visiting = new Set();
  const pieces = [];
  const visit = (path) => {
    if (scopes.has(path)) return;
    if (visiting.has(path)) throw new Error(`${path}: its imports come back to it`);
    visiting.add(path);
    const text = read(path);
    const imported = (from) => {
      if (!from.startsWith('./') && !from.startsWith('../')) {
        throw new Error(`${path}: imports '${from}', which is not a part of the page`);
      }
      return resolve(dirname(path), from);
    };
    for (const [, , from] of text.matchAll(importLine)) visit(imported(from));
    visiting.delete(path);
    const scope = `part${scopes.size}_${basename(path, '.js').replace(/\W/g, '_')}`;
    scopes.set(path, scope);

    const exported = [...text.matchAll(exportName)].map((match) => match[1]);
    const body = text
        .replace(importLine, (line, names, from) =>
          `const {${names.replace(/\s+as\s+/g, ': ')}} = ${scopes.get(imported(from))};`)
        .replace(/^export\s+(?=(?:async\s+)?(?:function|class|const|let)\b)/gm, '');
    const left = body.match(/^\s*(import|export)\b.*$/m);
    if (left) throw new Error(`${path}: a form this joiner cannot read: ${left[0].trim()}`);
    pieces.push(`// ${basename(path)}\nconst ${scope} = (() => {\n${body.trimEnd()}\n` +
                `return { ${exported.join(', ')} };\n})();`);
  };
  visit(resolve(entry));
  return `(() => {\n'use strict';\n${pieces.join('\n')}\n})();\n`;
}
