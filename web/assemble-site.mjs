// Puts the page together in the site directory: index.html and page.css as
// they are, and one page.js holding the zip library (with its licence), the
// example sector and the page's own script.
//
//   node web/assemble-site.mjs SITE_DIR EXAMPLE_SECTOR_DIR
import { copyFileSync, readFileSync, readdirSync, statSync, writeFileSync } from 'node:fs';
import { basename, dirname, join, relative } from 'node:path';
import { fileURLToPath } from 'node:url';

const [siteDir, exampleDir] = process.argv.slice(2);
if (!siteDir || !exampleDir) {
  console.error('usage: node assemble-site.mjs SITE_DIR EXAMPLE_SECTOR_DIR');
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

const licence = readFileSync(join(fflate, 'LICENSE'), 'utf8').trim();
const version = JSON.parse(readFileSync(join(fflate, 'package.json'), 'utf8')).version;
const script = [
  `/* fflate ${version}, the zip library: https://github.com/101arrowz/fflate\n${licence}\n*/`,
  readFileSync(join(fflate, 'umd', 'index.js'), 'utf8').trim(),
  `window.TorvaneExample = ${JSON.stringify(example)};`,
  readFileSync(join(web, 'page.js'), 'utf8'),
].join('\n');
writeFileSync(join(siteDir, 'page.js'), script);
copyFileSync(join(web, 'index.html'), join(siteDir, 'index.html'));
copyFileSync(join(web, 'page.css'), join(siteDir, 'page.css'));
