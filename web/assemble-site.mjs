// Puts the page together in the site directory:
// - index.html and page.css as they are;
// - page.js: the example sector and the page's parts (web/page/) joined into
//   one script, as a page opened from disk loads no ES module;
// - programs.js: the worker's code as text, which page.js starts from a
//   blob: address: the zip library (with its licence), the programs' module
//   (its JavaScript, and its WebAssembly deflated, in base64) and the
//   worker's parts (web/worker/).
// Prints each file of the site with its size.
//
//   node web/assemble-site.mjs SITE_DIR MODULE_DIR EXAMPLE_SECTOR_DIR
//
// MODULE_DIR holds torvane-programs.js and torvane-programs.wasm.
import { copyFileSync, mkdirSync, readFileSync, readdirSync, rmSync, statSync, writeFileSync } from 'node:fs';
import { basename, dirname, join, relative } from 'node:path';
import { fileURLToPath } from 'node:url';
import { deflateRawSync } from 'node:zlib';

import { joinModules } from './join-modules.mjs';

const [siteDir, moduleDir, exampleDir] = process.argv.slice(2);
if (!siteDir || !moduleDir || !exampleDir) {
  console.error('usage: node assemble-site.mjs SITE_DIR MODULE_DIR EXAMPLE_SECTOR_DIR');
  process.exit(2);
}
const web = dirname(fileURLToPath(import.meta.url));
const fflate = join(web, 'node_modules', 'fflate');

function filesUnder(dir, into = []) {
  for (const name of readdirSync(dir).sort()) {
    const path = join(dir, name);
    if (statSync(path).isDirectory()) filesUnder(path, into);
    else into.push(path);
  }
  return into;
}

// The example's bytes in base64, so that they reach the page unchanged.
const example = { name: basename(exampleDir), files: {} };
for (const path of filesUnder(exampleDir)) {
  if (/\.(scr|\$\$\$|svg)$/i.test(path)) continue;
  example.files[relative(exampleDir, path).split('\\').join('/')] =
      readFileSync(path).toString('base64');
}

// Deflated, the module is a third of its size; the worker inflates it with
// the zip library it carries anyway.
const wasm = readFileSync(join(moduleDir, 'torvane-programs.wasm'));
const licence = readFileSync(join(fflate, 'LICENSE'), 'utf8').trim();
const version = JSON.parse(readFileSync(join(fflate, 'package.json'), 'utf8')).version;
const worker = [
  `/* fflate ${version}, the zip library: https://github.com/101arrowz/fflate\n${licence}\n*/`,
  readFileSync(join(fflate, 'umd', 'index.js'), 'utf8').trim(),
  `self.TorvaneModule = "${deflateRawSync(wasm, { level: 9 }).toString('base64')}";`,
  readFileSync(join(moduleDir, 'torvane-programs.js'), 'utf8').trim(),
  joinModules(join(web, 'worker', 'worker-main.js')),
].join('\n');

// The site directory is the page's alone: what an older build left there
// goes.
const siteFiles = ['index.html', 'page.css', 'page.js', 'programs.js'];
mkdirSync(siteDir, { recursive: true });
for (const name of readdirSync(siteDir)) {
  if (!siteFiles.includes(name)) rmSync(join(siteDir, name), { recursive: true });
}
writeFileSync(join(siteDir, 'programs.js'),
              '// The page\'s worker as text: page.js starts it from a blob: address.\n' +
              `self.TorvaneWorkerSource = ${JSON.stringify(worker)};\n`);
writeFileSync(join(siteDir, 'page.js'),
              `self.TorvaneExample = ${JSON.stringify(example)};\n` +
              joinModules(join(web, 'page', 'main.js')));
copyFileSync(join(web, 'index.html'), join(siteDir, 'index.html'));
copyFileSync(join(web, 'page.css'), join(siteDir, 'page.css'));

let total = 0;
for (const name of siteFiles) {
  const size = statSync(join(siteDir, name)).size;
  total += size;
  console.log(`${name.padEnd(12)} ${(size / 1024).toFixed(1).padStart(7)} KiB`);
}
console.log(`${'the site'.padEnd(12)} ${(total / 1024).toFixed(1).padStart(7)} KiB ` +
            `(the module: ${(wasm.length / 1024).toFixed(1)} KiB of WebAssembly)`);
