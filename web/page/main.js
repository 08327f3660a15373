// The Torvane page: takes sector folders or published sector files, has
// its worker run torvane, torvane-import and torvane-preview on them, and
// offers the scripts, the programs' messages and the pictures. It decides
// nothing about the formats: the programs do.
import { commandText, optionArguments, outputDirectoryProblem } from './command-line.js';
import { blobOf, Cancelled, makeEngine } from './engine.js';
import { entriesOf, readChecked, sectorsFromFolders } from './input-files.js';
import { InputProblem } from './input-problem.js';
import { makeMapView } from './map-view.js';
import { buildOptionForm, readOptions } from './option-form.js';
import { importCommands } from './published-pairs.js';
import {
  appendMessages, clearMessages, clearResult, download, showNeeds, showProgress, showScripts,
  summarize,
} from './result-view.js';
import { needsPath, previewArguments, scriptOwner, summary, zipName } from './run-result.js';

const $ = (id) => document.getElementById(id);
const nextFrame = () => new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve, 0)));
const engine = makeEngine(self.TorvaneWorkerSource);
const state = {
  sectors: new Map(),  // name -> { name, origin, files: Map(relative path -> bytes) }
  // { sectors, described, command, scripts: [path, part] pairs, pictures: Map(path -> shown) }
  result: null,
  converting: false,
};
let mapView;

// ---- What the user gives ----

function showInputProblems(problems) {
  const box = $('input-message');
  box.textContent = problems.join('\n');
  box.hidden = problems.length === 0;
}

function addSectors(sectors) {
  for (const sector of sectors) {
    state.sectors.delete(sector.name);
    state.sectors.set(sector.name, sector);
  }
  renderSectors();
}

function renderSectors() {
  const list = $('sector-list');
  list.replaceChildren();
  for (const sector of state.sectors.values()) {
    const item = document.createElement('li');
    const label = document.createElement('span');
    label.innerHTML = '<code></code> <span class="origin"></span>';
    label.firstChild.textContent = sector.name;
    label.lastChild.textContent = `(${sector.origin}, ${sector.files.size} files)`;
    const remove = document.createElement('button');
    remove.type = 'button';
    // Its name holds what it shows.
    remove.innerHTML = '×<span class="visually-hidden"></span>';
    remove.lastChild.textContent = ' Remove ' + sector.name;
    remove.addEventListener('click', () => removeSector(sector.name));
    item.append(label, remove);
    list.append(item);
  }
  $('remove-all').hidden = state.sectors.size < 2;
  $('convert').disabled = state.sectors.size === 0 || state.converting;
  showCommand();
}

// The focus goes where the removed sector's button was: the next sector's,
// else the one before, else the list's heading.
function removeSector(name) {
  const index = [...state.sectors.keys()].indexOf(name);
  state.sectors.delete(name);
  renderSectors();
  const buttons = $('sector-list').querySelectorAll('button');
  (buttons[Math.min(index, buttons.length - 1)] || $('input-heading')).focus();
}

function removeAllSectors() {
  state.sectors.clear();
  renderSectors();
  $('input-heading').focus();
}

// Runs `work` on a user's input; whatever goes wrong is shown, and the page
// stays ready for the next try.
async function takeInput(work) {
  const problems = [];
  try {
    await work(problems);
  } catch (error) {
    problems.push(error instanceof InputProblem ? error.message
                                                : 'The page could not read that: ' + error.message);
  }
  showInputProblems(problems);
}

// The largest file the programs read, asked of them once.
let largestInputAsked = null;
function largestInput() {
  if (!largestInputAsked) {
    largestInputAsked = engine.folders([]).then(({ largestInput: limit }) => limit, (error) => {
      largestInputAsked = null;
      throw error;
    });
  }
  return largestInputAsked;
}

// Imports one sector's published files (`chosen`: name -> File) with
// torvane-import, as `command` (see importCommands) says.
async function importPublished({ sector, sectorFiles, files: names, args }, chosen) {
  const limit = await largestInput();
  const files = [];
  for (const name of names) files.push([name, await readChecked(chosen.get(name), name, limit)]);
  const run = await engine.run('torvane-import', args, { files });
  const messages = [commandText('torvane-import', args), run.output];
  appendMessages(...messages);
  const folder = sector + '/';
  const written = run.written.filter(([path]) => path.startsWith(folder))
      .map(([path, part]) => [path.slice(folder.length), part]);
  const from = sectorFiles.join(' or ');
  if (run.status !== 0 || written.length === 0) {
    throw new InputProblem(`${from} could not be imported: it is not a published sector ` +
        'file that torvane-import can read (see the messages).');
  }
  // Its warnings are shown again with each conversion of it.
  return { name: sector, origin: 'imported from ' + from, files: new Map(written), messages };
}

async function takeFolders(entries) {
  await takeInput(async (problems) => {
    const { sectors, problems: refused } = await sectorsFromFolders(entries, engine);
    addSectors(sectors);
    problems.push(...refused);
  });
}

async function takePublished(files) {
  await takeInput(async (problems) => {
    clearMessages();
    const chosen = new Map(files.map((file) => [file.name, file]));
    const { commands, leftOut } = importCommands(await engine.published([...chosen.keys()]));
    if (leftOut) problems.push(leftOut);
    for (const command of commands) {
      try {
        addSectors([await importPublished(command, chosen)]);
      } catch (error) {
        if (!(error instanceof InputProblem)) throw error;
        problems.push(error.message);
      }
    }
  });
}

function loadExample() {
  const example = self.TorvaneExample;
  const files = new Map();
  for (const [path, base64] of Object.entries(example.files)) {
    files.set(path, Uint8Array.from(atob(base64), (c) => c.charCodeAt(0)));
  }
  showInputProblems([]);
  addSectors([{ name: example.name, origin: 'the example', files }]);
}

function wireInput() {
  $('choose-folder').addEventListener('change', async (event) => {
    const entries = [...event.target.files].map((file) => ({
      path: file.webkitRelativePath || file.name, file }));
    event.target.value = '';
    await takeFolders(entries);
  });
  $('choose-files').addEventListener('change', async (event) => {
    const files = [...event.target.files];
    event.target.value = '';
    await takePublished(files);
  });
  $('load-example').addEventListener('click', loadExample);

  const overlay = $('drop-overlay');
  let depth = 0;
  window.addEventListener('dragenter', (event) => {
    event.preventDefault();
    depth += 1;
    overlay.hidden = false;
  });
  window.addEventListener('dragleave', () => {
    depth = Math.max(0, depth - 1);
    if (depth === 0) overlay.hidden = true;
  });
  window.addEventListener('dragover', (event) => event.preventDefault());
  window.addEventListener('drop', async (event) => {
    event.preventDefault();
    depth = 0;
    overlay.hidden = true;
    const folders = [];
    const files = [];
    const pending = [];
    for (const item of event.dataTransfer.items) {
      const entry = item.webkitGetAsEntry && item.webkitGetAsEntry();
      if (entry && entry.isDirectory) pending.push(entriesOf(entry, folders));
      else if (item.kind === 'file') files.push(item.getAsFile());
    }
    await takeInput(async () => { await Promise.all(pending); });
    if (folders.length) await takeFolders(folders);
    if (files.length) await takePublished(files);
  });
}

// ---- Converting ----

function converterArguments(options) {
  return [...optionArguments(options), ...state.sectors.keys()];
}

function showCommand() {
  const sectors = state.sectors.size ? [] : ['SECTOR'];
  $('command-line').textContent = commandText('torvane', [...converterArguments(readOptions()), ...sectors]);
  markStale();
}

// A result made by another command than the one the form shows now says so.
function markStale() {
  const stale = state.result !== null && state.result.command !== $('command-line').textContent;
  $('result-stale').hidden = !stale;
  $('result').classList.toggle('stale', stale);
}

// The summary line, and the sectors' line in plain words (null: none).
function showSummary(text, failed, sectorsText = null) {
  summarize(text, failed);
  $('result-sectors').textContent = sectorsText || '';
  $('result-sectors').hidden = !sectorsText;
}

function setConverting(on) {
  state.converting = on;
  $('convert').disabled = on || state.sectors.size === 0;
  // The focus stays on the control in play, without scrolling to it
  // (which would lay out the whole page there and then). When a run ends,
  // whatever ends it places the focus.
  const cancel = $('cancel');
  cancel.hidden = !on;
  if (on) cancel.focus({ preventScroll: true });
  showProgress(null);
}

async function convert() {
  const options = readOptions();
  const problem = outputDirectoryProblem(options.outputDir);
  if (problem) {
    showSummary(problem, true);
    $('result-summary').scrollIntoView({ block: 'nearest' });
    return;
  }
  const sectors = new Map(state.sectors);
  const names = [...sectors.keys()];
  const args = converterArguments(options);
  const files = [];
  for (const [name, sector] of sectors) {
    for (const [path, bytes] of sector.files) files.push([name + '/' + path, bytes]);
  }
  state.result = null;
  markStale();
  clearResult();
  mapView.clear();
  clearMessages();
  // An imported sector's warnings stay with it.
  for (const sector of sectors.values()) {
    if (sector.messages) appendMessages(...sector.messages);
  }
  setConverting(true);
  $('result').classList.add('converted');
  showSummary('Converting…', false);
  // The progress in view, wherever the result lies on the screen.
  $('result-summary').scrollIntoView({ block: 'nearest' });
  let run;
  try {
    run = await engine.run('torvane', args, {
      files, directories: options.outputDir === null ? [] : [options.outputDir],
      watchSectors: names, progress: showProgress,
      describe: { dirs: names, outputDir: options.outputDir || '' },
    });
  } catch (error) {
    const keepFocus = document.activeElement === $('cancel');
    setConverting(false);
    if (keepFocus) $('convert').focus({ preventScroll: true });
    showSummary(error instanceof Cancelled
      ? 'Cancelled: nothing was converted, and nothing is offered for download.'
      : 'The conversion stopped: ' + error.message, true);
    return;
  }
  setConverting(false);
  appendMessages(commandText('torvane', args), run.output);
  const result = { sectors, described: run.sectors, command: commandText('torvane', args),
                   scripts: run.written, pictures: new Map(), needs: null };
  state.result = result;
  markStale();
  const { text, failed, sectorsText } = summary(run.status, result.scripts.map(([path]) => path),
                                                run.sectors, run.sectorsWithErrors);
  showSummary(text, failed, sectorsText);
  // The focus at the result's start, and the result in view from there
  // down, where it lies low on the screen (as on a phone) or out of it.
  const heading = $('result-heading');
  heading.focus({ preventScroll: true });
  const { top } = heading.getBoundingClientRect();
  if (top < 0 || top > window.innerHeight / 3) heading.scrollIntoView({ block: 'start' });
  // A campaign's thousand scripts to choose from are shown a frame later,
  // so that the page draws the summary in between.
  await nextFrame();
  if (state.result !== result) return;
  showScripts(result.scripts, run.sectors);
  if (result.scripts.length === 0) return;
  await nextFrame();
  if (state.result !== result) return;
  // The drawing's needs first, then the picture: the worker, done reading
  // every script, leaves the processors to the page while it puts the
  // picture in.
  result.needs = engine.run('torvane-preview', ['--needs', ...result.scripts.map(([path]) => path)],
                            { files: result.scripts }).then((run) => run.output);
  try {
    const needs = await result.needs;
    if (state.result === result) showNeeds(needs);
  } catch (error) {
    if (!(error instanceof Cancelled)) summarize('The drawing\'s needs are unknown: ' + error.message, true);
  }
  await showPicture(result.scripts[0][0]);
}

// ---- Pictures and the zip ----

// The picture of one script, drawn once: { svg, problem }.
async function picture(result, path) {
  if (result.pictures.has(path)) return result.pictures.get(path);
  const [, script] = result.scripts.find(([scriptPath]) => scriptPath === path);
  const owner = scriptOwner(path, result.described);
  const files = [];
  let mapDir = null;
  if (owner) {
    const sector = result.sectors.get(owner.sector);
    for (const [file, bytes] of sector.files) files.push([owner.sector + '/' + file, bytes]);
    mapDir = result.described[owner.sector].mapFolder;
  }
  files.push([path, script]);
  const run = await engine.run('torvane-preview', previewArguments(path, owner, mapDir), { files });
  const drawn = run.status === 0 && run.written.find(([written]) => written === 'picture.svg');
  const shown = drawn ? { svg: await blobOf(drawn[1]).text(), problem: '' }
                      : { svg: null, problem: run.output };
  result.pictures.set(path, shown);
  return shown;
}

async function showPicture(path) {
  const result = state.result;
  let shown;
  try {
    shown = await picture(result, path);
  } catch (error) {
    shown = { svg: null, problem: error instanceof Cancelled ? 'cancelled' : error.message };
  }
  if (state.result !== result) return;
  $('picture-choice').value = path;
  await mapView.show(shown);
}

async function downloadZip() {
  const result = state.result;
  const button = $('download-zip');
  button.disabled = true;
  try {
    // The drawing's needs go with the scripts, for the machine that draws them.
    const needs = await (result.needs || Promise.resolve(null)).catch(() => null);
    const files = needs === null ? result.scripts
      : [...result.scripts, [needsPath(result.scripts[0][0]), new TextEncoder().encode(needs)]];
    const zipped = await engine.zip(files);
    if (state.result === result) download(zipped, zipName([...result.sectors.keys()]));
  } catch (error) {
    if (!(error instanceof Cancelled)) summarize('The zip could not be made: ' + error.message, true);
  } finally {
    button.disabled = false;
  }
}

document.addEventListener('DOMContentLoaded', () => {
  engine.start();
  buildOptionForm(showCommand);
  wireInput();
  mapView = makeMapView();
  $('picture-choice').addEventListener('change', (event) => showPicture(event.target.value));
  $('convert').addEventListener('click', convert);
  $('remove-all').addEventListener('click', removeAllSectors);
  $('cancel').addEventListener('click', () => engine.cancel());
  $('download-zip').addEventListener('click', downloadZip);
  renderSectors();
});
