// The web page as a user meets it, opened from disk in headless Chromium:
// load the example, untick two items, convert, see the map, download the
// zip with the drawing's needs; import a made-up published file; give it files it must refuse;
// convert a campaign of 60 made-up sectors while a heartbeat in the page
// shows that it answers, and cancel a run. The zips hold the native build's
// scripts, byte for byte, and the page asks nothing of the network.
//
//   node tests/web_page_test.mjs NATIVE_BUILD_DIR SITE_DIR [--screenshot PNG]
//
// NATIVE_BUILD_DIR holds torvane, torvane-import, torvane-preview and
// bench/torvane-gensector.
import { execFileSync } from 'node:child_process';
import { cpSync, existsSync, mkdtempSync, readdirSync, readFileSync, rmSync, statSync,
         writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { dirname, join, relative, resolve } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

import { needsPath } from '../web/page/run-result.js';

const source = resolve(dirname(fileURLToPath(import.meta.url)), '..');
const webRequire = createRequire(join(source, 'web', 'package.json'));
const puppeteer = webRequire('puppeteer-core');
const { unzipSync } = webRequire('fflate');
const axeSource = readFileSync(webRequire.resolve('axe-core/axe.min.js'), 'utf8');

const args = process.argv.slice(2);
const screenshotAt = args.indexOf('--screenshot');
const screenshot = screenshotAt >= 0 ? resolve(args.splice(screenshotAt, 2)[1]) : null;
if (args.length !== 2) {
  console.error('usage: node tests/web_page_test.mjs NATIVE_BUILD_DIR SITE_DIR [--screenshot PNG]');
  process.exit(2);
}
const native = resolve(args[0]);
const site = resolve(args[1]);
const work = mkdtempSync(join(tmpdir(), 'torvane-web-'));

let failures = 0;
function check(ok, what) {
  console.log(`${ok ? 'ok' : 'FAILED'}: ${what}`);
  if (!ok) failures += 1;
}

// Asteroid symbols are drawn at random: their digit is masked, in the
// scripts and in the list of symbols a drawing needs.
const masked = (bytes) => Buffer.from(bytes).toString('latin1')
    .replace(/^INSSYM Asteroid [1-8]/gm, 'INSSYM Asteroid #')
    .replace(/Asteroid [1-8](, Asteroid [1-8])*/g, 'Asteroid #');

function scriptsUnder(dir) {
  const found = new Map();
  const walk = (at) => {
    for (const name of readdirSync(at)) {
      const path = join(at, name);
      if (statSync(path).isDirectory()) walk(path);
      else if (/\.scr$/i.test(name)) found.set(relative(dir, path), readFileSync(path));
    }
  };
  walk(dir);
  return found;
}

// The scripts the native torvane writes for `argv`, run where `setup` put
// its input.
function nativeScripts(name, argv, setup) {
  const dir = join(work, 'native', name);
  setup(dir);
  execFileSync(join(native, 'torvane'), argv, { cwd: dir, stdio: 'pipe' });
  const scripts = scriptsUnder(dir);
  // The drawing's needs, which the page puts beside the scripts.
  const paths = [...scripts.keys()].sort();
  scripts.set(needsPath(paths[0]), execFileSync(join(native, 'torvane-preview'), ['--needs', ...paths],
                                                { cwd: dir, stdio: 'pipe' }));
  return scripts;
}

function sameScripts(zipBytes, expected, what) {
  const unzipped = unzipSync(new Uint8Array(zipBytes));
  const names = Object.keys(unzipped).sort();
  check(JSON.stringify(names) === JSON.stringify([...expected.keys()].sort()),
        `${what}: the zip holds ${names.length > 6 ? names.length + ' scripts' : names.join(' ')}`);
  const different = names.filter((name) => !expected.has(name) ||
                                           masked(unzipped[name]) !== masked(expected.get(name)));
  check(different.length === 0, `${what}: the same bytes as the native build` +
                                (different.length ? ` (not in ${different.join(' ')})` : ''));
}

async function waitForDownload(dir, name, timeout = 20000) {
  const path = join(dir, name);
  for (let waited = 0; waited < timeout; waited += 100) {
    if (existsSync(path)) return readFileSync(path);
    await new Promise((done) => setTimeout(done, 100));
  }
  throw new Error(`no download ${name}`);
}

const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  headless: true,
  userDataDir: join(work, 'profile'),
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
         '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});
const problems = [];
const requests = [];
const downloads = join(work, 'downloads');

// A new tab whose requests, script errors (its worker's too) and downloads
// the test sees.
async function openPage() {
  const opened = await browser.newPage();
  await opened.setViewport({ width: 1400, height: 1100 });
  opened.on('request', (request) => requests.push(request.url()));
  opened.on('pageerror', (error) => problems.push(String(error)));
  const consoleErrors = (message) => {
    if (message.type() === 'error') problems.push(message.text());
  };
  opened.on('console', consoleErrors);
  opened.on('workercreated', (worker) => worker.on('console', consoleErrors));
  const cdp = await opened.createCDPSession();
  await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads });
  return opened;
}

// axe's accessibility rules on the page as it stands: no violations, and
// none of the items it could not decide that the page means to avoid.
async function checkAccessibility(when) {
  const found = await page.evaluate(async (source) => {
    if (!window.axe) (0, eval)(source);
    const { violations, incomplete } = await window.axe.run(document, { preload: false });
    const ids = (items) => items.map((item) => `${item.id} (${item.nodes.length})`);
    return { violations: ids(violations), incomplete: ids(incomplete) };
  }, axeSource);
  check(found.violations.length === 0, `axe ${when}: violations ${found.violations.join(', ') || 'none'}`);
  const undecided = found.incomplete.filter((id) =>
    /^(aria-prohibited-attr|label-content-name-mismatch) /.test(id));
  check(undecided.length === 0, `axe ${when}: undecided ${found.incomplete.join(', ') || 'none'}`);
}

let page;
try {
  page = await openPage();
  // The README's picture shows the page as most of its users see it.
  if (screenshot) await page.emulateMediaFeatures([{ name: 'prefers-color-scheme', value: 'dark' }]);
  await page.goto(pathToFileURL(join(site, 'index.html')).href);
  await checkAccessibility('before a conversion');

  // The example, with two items off, two subsector scripts and a date.
  await page.click('#load-example');
  await page.click('#item-boxes input[value="b"]');
  await page.click('#item-boxes input[value="z"]');
  await page.click('#subsector-boxes input[value="a"]');
  await page.click('#subsector-boxes input[value="p"]');
  await page.type('#date-text', 'Year 1105');
  const command = await page.$eval('#command-line', (e) => e.textContent);
  check(command === 'torvane -sap -y "Year 1105" -b- -z- lyra', `the command line reads ${command}`);
  await page.click('#convert');
  await page.waitForSelector('#picture[aria-busy="false"] svg', { timeout: 20000 });
  const summary = await page.$eval('#result-summary', (e) => e.textContent);
  check(summary === '3 scripts written, no errors.', `the summary reads "${summary}"`);
  const resultSeen = () => page.evaluate(() => {
    const { top, bottom } = document.querySelector('#result-summary').getBoundingClientRect();
    return { inView: top >= 0 && bottom <= window.innerHeight, focused: document.activeElement.id,
             high: top <= window.innerHeight / 3 };
  });
  const seen = await resultSeen();
  check(seen.inView && seen.focused === 'result-heading',
        `after Convert the result is in view with the focus: ${JSON.stringify(seen)}`);
  // On a phone the result lies below the options: it is brought up to fill
  // the screen.
  await page.setViewport({ width: 390, height: 844 });
  await page.click('#convert');
  await page.waitForSelector('#picture[aria-busy="false"] svg', { timeout: 20000 });
  const seenOnPhone = await resultSeen();
  check(seenOnPhone.inView && seenOnPhone.high && seenOnPhone.focused === 'result-heading',
        `on a phone too: ${JSON.stringify(seenOnPhone)}`);
  await page.setViewport({ width: 1400, height: 1100 });
  const messages = await page.$eval('#messages', (e) => e.textContent);
  check(messages.startsWith('> torvane -sap -y "Year 1105" -b- -z- lyra\n'),
        'the messages start with the command');

  // A world's line on hover.
  const world = await page.$('#picture .world');
  check(world !== null, 'the map has worlds to hover over');
  if (world) {
    await world.hover();
    const line = await page.$eval('#world-line', (e) => (e.hidden ? '' : e.textContent));
    const mapFiles = readdirSync(join(source, 'examples', 'lyra', 'map'))
        .map((name) => readFileSync(join(source, 'examples', 'lyra', 'map', name), 'latin1'));
    check(line !== '' && mapFiles.some((text) => text.includes(line)),
          `hovering shows a line of a map file: ${line}`);
  }
  const needs = await page.$eval('#needs-list', (e) => e.textContent);
  check(/Layers/.test(needs) && /Symbols/.test(needs), 'the drawing\'s needs are listed');
  await checkAccessibility('after a conversion');
  if (screenshot) {
    // For the README: zoomed in twice, the world nearest the middle hovered.
    await page.click('#zoom-in');
    await page.click('#zoom-in');
    const middle = await page.$$eval('#picture .world', (worlds) => {
      const frame = document.querySelector('#picture').getBoundingClientRect();
      const distance = (w) => {
        const box = w.getBoundingClientRect();
        return Math.hypot(box.x + box.width / 2 - frame.x - frame.width / 2,
                          box.y + box.height / 2 - frame.y - frame.height / 2);
      };
      return worlds.indexOf(worlds.reduce((a, b) => (distance(a) <= distance(b) ? a : b)));
    });
    await (await page.$$('#picture .world'))[middle].hover();
    await page.evaluate(() => window.scrollTo(0, 0));
    await page.screenshot({ path: screenshot });
  }

  // The keyboard alone: the focus ring is on the control Enter works, and
  // a world's line can be shown.
  await page.focus('#picture');
  await page.keyboard.press('n');
  const keyed = await page.$eval('#world-line', (e) => (e.hidden ? '' : e.textContent));
  check(keyed !== '', `N shows a world's line: ${keyed}`);
  // At each Tab stop, the one element drawn with a focus ring is the
  // control in focus (for a hidden file input, its label).
  await page.evaluate(() => { document.activeElement.blur(); window.scrollTo(0, 0); });
  const stops = [];
  const misplaced = [];
  for (let stop = 0; stop < 80; stop++) {
    await page.keyboard.press('Tab');
    const ring = await page.evaluate(() => {
      const focused = document.activeElement;
      const name = (e) => e.id || e.htmlFor || e.getAttribute('aria-label') ||
                          e.textContent.trim().slice(0, 20) || e.tagName;
      const again = focused.dataset.tabStop !== undefined;
      focused.dataset.tabStop = '';
      const shown = focused.matches('input.visually-hidden')
        ? document.querySelector(`label[for="${focused.id}"]`) : focused;
      const outlined = [...document.querySelectorAll('body *:not(.visually-hidden)')]
          .filter((e) => getComputedStyle(e).outlineStyle !== 'none');
      return { focused: name(focused), again, body: focused === document.body,
               ok: outlined.length === 1 && outlined[0] === shown, outlined: outlined.map(name) };
    });
    if (ring.again) break;
    if (ring.body) continue;
    stops.push(ring.focused);
    if (!ring.ok) misplaced.push(ring);
  }
  check(stops.length > 20 && misplaced.length === 0,
        `the focus ring is on the control in focus at each of ${stops.length} Tab stops` +
        (misplaced.length ? `, not at ${JSON.stringify(misplaced)}` : ''));

  await page.click('#download-zip');
  const expected = nativeScripts('example', ['-sap', '-y', 'Year 1105', '-b-', '-z-', 'lyra'],
                                 (dir) => cpSync(join(source, 'examples', 'lyra'),
                                                 join(dir, 'lyra'), { recursive: true }));
  sameScripts(await waitForDownload(downloads, 'lyra-scripts.zip'), expected, 'the example');

  // A made-up published file with its metadata, imported and converted
  // beside the example into one directory.
  const published = join(work, 'published');
  const tab = 'Hex\tName\tUWP\tBases\tRemarks\tZone\tPBG\tAllegiance\tStars\n' +
              '0101\tAlpha\tA788899-C\tNS\tHi Cp\tA\t123\tImDd\tG2 V\n' +
              '3240\tOmega\tB000000-9\t\tAs\t\t003\tZhIN\tM0 V\n';
  const xml = '<?xml version="1.0"?>\n<Sector><Name>Reach</Name><Subsectors>' +
              '<Subsector Index="A">First</Subsector></Subsectors></Sector>\n';
  cpSync(join(source, 'examples', 'lyra'), join(published, 'lyra'), { recursive: true });
  writeFileSync(join(published, 'Reach.tab'), tab);
  writeFileSync(join(published, 'Reach.xml'), xml);
  const chooser = await page.$('#choose-files');
  await chooser.uploadFile(join(published, 'Reach.tab'), join(published, 'Reach.xml'));
  await page.waitForFunction(() => document.querySelector('#sector-list').textContent.includes('Reach'));
  const importMessages = await page.$eval('#messages', (e) => e.textContent);
  const nativeImport = execFileSync(join(native, 'torvane-import'),
                                    ['Reach.tab', 'Reach.xml', 'Reach'], { cwd: published });
  check(importMessages.includes(nativeImport.toString()),
        'the import says what the native importer says');
  const staleBefore = await page.$eval('#result-stale', (e) => e.hidden);
  await page.click('input[name="output"][value="dir"]');
  await page.click('#subsectors-none');
  const staleAfter = await page.$eval('#result-stale', (e) => e.hidden);
  check(!staleBefore && !staleAfter, 'a result says so once the sectors or the options change');
  await page.click('#convert');
  await page.waitForFunction(() => /written/.test(document.querySelector('#result-summary').textContent));
  const kept = await page.$eval('#messages', (e) => e.textContent);
  check(kept.includes(nativeImport.toString()) && (await page.$eval('#result-stale', (e) => e.hidden)),
        'a conversion keeps the import\'s warnings, and its result is current');
  await page.click('#each-script summary');
  await page.waitForFunction(() => document.querySelectorAll('#script-links a').length === 2);
  const [link] = await page.$$('#script-links a');
  await link.hover();
  const address = await page.$eval('#script-links a', (e) => e.href);
  check(address.startsWith('blob:'), `a script's own link gets its address on the way to it: ${address}`);
  await page.click('#download-zip');
  const both = nativeScripts('published', ['-y', 'Year 1105', '-b-', '-z-', '-d', 'scripts', 'lyra',
                                           'Reach'], (dir) => {
    cpSync(published, dir, { recursive: true });
    execFileSync('mkdir', ['-p', join(dir, 'scripts')]);
  });
  for (const key of [...both.keys()]) if (!key.startsWith('scripts/')) both.delete(key);
  sameScripts(await waitForDownload(downloads, 'torvane-scripts.zip'), both,
              'the example and an imported sector');

  // Files the page must refuse, each with its own message; it goes on.
  const refusals = [
    ['binary.tab', Buffer.from([0x89, 0x50, 0x4e, 0x47, 0, 1, 2]), /binary\.tab is a binary file/],
    ['notes.txt', Buffer.from('Shopping list\nmilk\n'), /notes\.txt could not be imported/],
    ['huge.tab', Buffer.alloc(16 * 1024 * 1024 + 1, 0x41), /huge\.tab is 16\.0 MiB \(16,777,217 bytes\).*no file over 16 MiB \(16,777,216 bytes\)/],
    ['Alone.xml', Buffer.from(xml), /XML metadata alone is not a sector/],
  ];
  for (const [name, bytes, message] of refusals) {
    writeFileSync(join(work, name), bytes);
    await chooser.uploadFile(join(work, name));
    await page.waitForFunction(() => !document.querySelector('#input-message').hidden);
    const shown = await page.$eval('#input-message', (e) => e.textContent);
    check(message.test(shown), `${name} is refused: ${shown}`);
    await page.$eval('#input-message', (e) => { e.hidden = true; });
  }
  // Broken sector folders, each refused in plain words.
  const lyraDat = readFileSync(join(source, 'examples', 'lyra', 'lyra.dat'));
  const brokenFolders = [
    ['no-data', {}, /^no-data: no sector here: .*\(such as no-data\/no-data\.dat\) beside its map\/ folder/],
    ['mismatch', { 'other.dat': lyraDat }, /^mismatch: no sector here: .*\(such as mismatch\/mismatch\.dat\)/],
    ['zerodat', { 'zerodat.dat': '' }, /^zerodat: its data file zerodat\.dat is empty, so it names no sector/],
    ['datonly', { 'datonly.dat': lyraDat, noMap: true }, /^datonly: datonly\.dat is here, but not the map\/ folder/],
  ];
  for (const [name, { noMap, ...files }, message] of brokenFolders) {
    const folder = join(work, name);
    execFileSync('mkdir', ['-p', folder]);
    if (!noMap) cpSync(join(source, 'examples', 'lyra', 'map'), join(folder, 'map'), { recursive: true });
    for (const [file, bytes] of Object.entries(files)) writeFileSync(join(folder, file), bytes);
    await (await page.$('#choose-folder')).uploadFile(folder);
    await page.waitForFunction(() => !document.querySelector('#input-message').hidden);
    const shown = await page.$eval('#input-message', (e) => e.textContent);
    check(message.test(shown), `the folder ${name} is refused in plain words: ${shown}`);
    await page.$eval('#input-message', (e) => { e.hidden = true; });
  }
  // A sector's folder, chosen as such, is one sector (its map folder is not
  // another).
  await (await page.$('#choose-folder')).uploadFile(join(source, 'examples', 'lyra'));
  await page.waitForFunction(() => /folder/.test(document.querySelector('#sector-list').textContent));
  const listed = await page.$$eval('#sector-list li code', (items) => items.map((e) => e.textContent));
  check(JSON.stringify(listed) === '["Reach","lyra"]', `a chosen folder is listed: ${listed}`);
  const ready = await page.$eval('#convert', (e) => !e.disabled);
  check(ready, 'the page is still ready to convert');

  await page.close();

  // A campaign of 60 made-up sectors, every subsector script of each, on a
  // page of its own. A 10 ms heartbeat timer in the page and the browser's
  // long tasks show how it answers the user from the click to the last
  // picture, and while the zip is made.
  const campaign = join(work, 'campaign');
  execFileSync('mkdir', ['-p', campaign]);
  const sectorNames = [];
  for (let i = 0; i < 60; i++) {
    const name = `sec${String(i).padStart(2, '0')}`;
    execFileSync(join(native, 'bench', 'torvane-gensector'), [String(i + 1), '50', name], { cwd: campaign });
    sectorNames.push(name);
  }
  page = await openPage();
  await page.goto(pathToFileURL(join(site, 'index.html')).href);
  await (await page.$('#choose-folder')).uploadFile(campaign);
  await page.waitForFunction(() => document.querySelectorAll('#sector-list li').length === 60);
  await page.click('#subsectors-all');
  await page.evaluate(() => {
    const watch = { heartbeat: 0, longestTask: 0, progress: new Set() };
    window.watch = watch;
    let last = performance.now();
    setInterval(() => {
      const now = performance.now();
      watch.heartbeat = Math.max(watch.heartbeat, now - last);
      last = now;
    }, 10);
    watch.start = () => {
      last = performance.now();
      watch.heartbeat = 0;
      watch.longestTask = 0;
      watch.started = last;
    };
    new PerformanceObserver((list) => {
      for (const task of list.getEntries()) watch.longestTask = Math.max(watch.longestTask, task.duration);
    }).observe({ entryTypes: ['longtask'] });
    const summary = document.querySelector('#result-summary');
    new MutationObserver(() => {
      if (/ of 60/.test(summary.textContent)) watch.progress.add(summary.textContent);
      if (/written/.test(summary.textContent) && !watch.result) watch.result = performance.now();
    }).observe(summary, { childList: true, characterData: true, subtree: true });
  });
  const watched = () => page.evaluate(() => ({
    heartbeat: Math.round(window.watch.heartbeat), longestTask: Math.round(window.watch.longestTask),
    sinceStart: Math.round(performance.now() - window.watch.started),
    toResult: Math.round(window.watch.result - window.watch.started),
    progress: [...window.watch.progress],
  }));
  // What holds the page is its own long tasks, which the browser measures:
  // the heartbeat is printed too, but the machine's other work holds a
  // timer as well, so it is a figure, not a check. Running the programs on
  // the page's thread would take one task of a second or more; the page's
  // own work (showing a thousand scripts, putting a picture in) comes in
  // tasks under 50 ms, which a busy machine may stretch but not past this.
  const longestAllowed = 100;
  const attempts = 3;
  let converted;
  for (let attempt = 1; attempt <= attempts; attempt++) {
    await page.evaluate(() => {
      window.watch.result = 0;
      window.watch.progress.clear();
      window.watch.start();
    });
    await page.click('#convert');
    await page.waitForFunction(() => document.querySelector('#picture[aria-busy="false"] svg') &&
                                     !document.querySelector('#needs').hidden, { timeout: 120000 });
    const seen = await watched();
    console.log(`60 sectors: the result ${seen.toResult} ms after the click, the last picture ` +
                `${seen.sinceStart} ms; heartbeat held at most ${seen.heartbeat} ms, ` +
                `longest task ${seen.longestTask} ms`);
    if (!converted || seen.longestTask < converted.longestTask) converted = seen;
    if (seen.longestTask <= longestAllowed) break;
  }
  check(converted.longestTask <= longestAllowed, `the page answers while 60 sectors convert: ` +
                                                 `its longest task took ${converted.longestTask} ms`);
  const summary60 = await page.$eval('#result-summary', (e) => e.textContent);
  check(summary60 === '1020 scripts written, no errors.', `the summary reads "${summary60}"`);
  const seen60 = await resultSeen();
  check(seen60.inView, `below 60 sectors the result is in view: ${JSON.stringify(seen60)}`);
  check(converted.progress.includes('Converting sec00: sector 1 of 60…') &&
        converted.progress.includes('Converting sec59: sector 60 of 60…'),
        `the progress names each sector: ${converted.progress.length} seen, ` +
        `${converted.progress.slice(-1)}`);

  let zipping;
  let zipped;
  for (let attempt = 1; attempt <= attempts; attempt++) {
    rmSync(join(downloads, 'torvane-scripts.zip'), { force: true });
    await page.evaluate(() => window.watch.start());
    await page.click('#download-zip');
    zipped = await waitForDownload(downloads, 'torvane-scripts.zip', 120000);
    const seen = await watched();
    console.log(`60 sectors: the zip (${(zipped.length / 1048576).toFixed(1)} MiB) downloaded ` +
                `${seen.sinceStart} ms after the click; heartbeat held at most ${seen.heartbeat} ms, ` +
                `longest task ${seen.longestTask} ms`);
    if (!zipping || seen.longestTask < zipping.longestTask) zipping = seen;
    if (seen.longestTask <= longestAllowed) break;
  }
  check(zipping.longestTask <= longestAllowed, `the page answers while the zip is made: its ` +
                                               `longest task took ${zipping.longestTask} ms`);
  sameScripts(zipped, nativeScripts('campaign', ['-s+', ...sectorNames],
                                    (dir) => cpSync(campaign, dir, { recursive: true })),
              '60 sectors');

  // Cancel stops a run; nothing of it is offered, and the page goes on.
  await page.click('#convert');
  await page.waitForFunction(() => / of 60/.test(document.querySelector('#result-summary').textContent),
                             { timeout: 60000 });
  await page.click('#cancel');
  await page.waitForFunction(() => /Cancelled/.test(document.querySelector('#result-summary').textContent));
  const cancelled = await page.evaluate(() => ({
    downloads: !document.querySelector('#downloads').hidden,
    links: document.querySelectorAll('#script-links a').length,
    picture: !document.querySelector('#picture').hidden,
    cancel: !document.querySelector('#cancel').hidden,
    convert: !document.querySelector('#convert').disabled,
    focused: document.activeElement.id,
  }));
  check(!cancelled.downloads && cancelled.links === 0 && !cancelled.picture && !cancelled.cancel &&
        cancelled.convert && cancelled.focused === 'convert',
        `a cancelled run offers nothing, the focus back on Convert: ${JSON.stringify(cancelled)}`);
  await page.click('#subsectors-none');
  await page.click('#convert');
  await page.waitForFunction(() => /written/.test(document.querySelector('#result-summary').textContent),
                             { timeout: 60000 });
  const again = await page.$eval('#result-summary', (e) => e.textContent);
  check(again === '60 scripts written, no errors.', `after a cancel the page converts again: ${again}`);

  check(problems.length === 0,
        `no script errors${problems.length ? ': ' + problems.map((p) => p.slice(0, 300)).join('; ') : ''}`);
  const siteUrl = pathToFileURL(site).href + '/';
  const away = requests.filter((url) => !url.startsWith(siteUrl) && !/^(data|blob):/.test(url));
  check(away.length === 0 && requests.includes(siteUrl + 'page.js') &&
        requests.includes(siteUrl + 'programs.js'),
        `no request left the page${away.length ? ': ' + away.join(' ') : ''}`);
} catch (error) {
  // What the page said helps more than where the test waited.
  console.log('page errors:', problems.join('\n') || 'none');
  if (page) console.log('summary:', await page.$eval('#result-summary', (e) => e.textContent));
  throw error;
} finally {
  await browser.close();
  rmSync(work, { recursive: true, force: true });
}
console.log(failures ? `${failures} checks failed` : 'all checks passed');
process.exit(failures ? 1 : 0);
