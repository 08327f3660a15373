// The Torvane page: takes sector folders or published sector files, runs the
// compiled torvane, torvane-import and torvane-preview on them in an
// in-memory file system, and offers the scripts, the programs' messages and
// the pictures. It decides nothing about the formats: the programs do.
(function () {
  'use strict';

  // Real sector files and scripts are far under 1 MiB.
  const kMaxInputBytes = 16 * 1024 * 1024;
  const kSubsectorLetters = 'abcdefghijklmnop';
  const kItems = [
    ['a', 'allegiance'], ['b', 'base symbols'], ['g', 'gas giants'], ['n', 'world names'],
    ['p', 'ports'], ['t', 'trade routes'], ['z', 'zones'],
  ];
  const kWorkDir = '/work';

  const $ = (id) => document.getElementById(id);
  const state = {
    sectors: new Map(),  // name -> { name, origin, files: Map(relative path -> bytes) }
    result: null,        // { sectors, scripts: [{ path, bytes }], pictures: Map(path -> svg) }
    links: [],           // object URLs of the last result's downloads
  };

  // A problem with what the user gave: its text is shown as it stands.
  class InputProblem extends Error {}

  // ---- Running the compiled programs ----------------------------------

  function makeTree(fs, path) {
    let sofar = '';
    for (const part of path.split('/').filter(Boolean)) {
      sofar += '/' + part;
      if (!fs.analyzePath(sofar).exists) fs.mkdir(sofar);
    }
  }

  function writeTree(fs, root, files) {
    for (const [path, bytes] of files) {
      const full = root + '/' + path;
      makeTree(fs, full.slice(0, full.lastIndexOf('/')));
      fs.writeFile(full, bytes);
    }
  }

  // Every file under `dir`, by its path relative to `dir`.
  function readTree(fs, dir, prefix = '', into = new Map()) {
    for (const name of fs.readdir(dir)) {
      if (name === '.' || name === '..') continue;
      const full = dir + '/' + name;
      if (fs.isDir(fs.stat(full).mode)) {
        readTree(fs, full, prefix + name + '/', into);
      } else {
        into.set(prefix + name, fs.readFile(full));
      }
    }
    return into;
  }

  // Runs one program once, in a fresh instance whose working directory
  // holds `files`. Returns its exit status (null when it stopped short),
  // what it printed, in order, and its file system.
  async function runProgram(factory, args, files, directories = []) {
    const lines = [];
    const module = await factory({
      print: (text) => lines.push(text),
      printErr: (text) => lines.push(text),
      // The page goes on after main returns: an exit throws, and callMain
      // gives its status.
      quit: (status, toThrow) => { throw toThrow; },
    });
    module.FS.mkdir(kWorkDir);
    module.FS.chdir(kWorkDir);
    writeTree(module.FS, kWorkDir, files);
    for (const dir of directories) makeTree(module.FS, kWorkDir + '/' + dir);
    let status = null;
    try {
      status = module.callMain(args);
    } catch (error) {
      lines.push(`The program stopped: ${error && error.message ? error.message : error}`);
    }
    return { status, output: lines.length ? lines.join('\n') + '\n' : '', fs: module.FS };
  }

  // An argument as a command line shows it: quoted where it holds a space or
  // a character a shell reads.
  function quoted(argument) {
    if (argument !== '' && !/[\s"'`$&|<>^%!;()*?\\]/.test(argument)) return argument;
    return '"' + argument.replace(/(["\\$`])/g, '\\$1') + '"';
  }

  function commandText(program, args) {
    return [program, ...args].map(quoted).join(' ');
  }

  // ---- Reading what the user gives ------------------------------------

  function mebibytes(bytes) {
    return (bytes / (1024 * 1024)).toFixed(1) + ' MiB';
  }

  function bytesText(bytes) {
    return bytes.toLocaleString('en-US') + ' bytes';
  }

  async function readChecked(file, shownName) {
    if (file.size > kMaxInputBytes) {
      throw new InputProblem(`${shownName} is ${mebibytes(file.size)} (${bytesText(file.size)}): ` +
          'sector files and maps are far smaller, and the page reads no file over 16 MiB ' +
          `(${bytesText(kMaxInputBytes)}).`);
    }
    const bytes = new Uint8Array(await file.arrayBuffer());
    if (bytes.includes(0)) {
      throw new InputProblem(`${shownName} is a binary file, not sector data: ` +
          'choose the sector\'s folder, or a published sector file (text).');
    }
    return bytes;
  }

  const isDataFile = (name) => /\.dat$/i.test(name);
  const isMetadata = (name) => /\.xml$/i.test(name);
  const baseName = (name) => name.replace(/^.*\//, '').replace(/\.[^.]*$/, '');

  // Sectors from the files of chosen or dropped folders ({ path, file },
  // paths starting with the folder's name). A sector is a folder holding a
  // .dat file, other than a map folder (whose map files end in .DAT too);
  // the page keeps its .dat files and its map folder.
  async function sectorsFromFolders(entries) {
    const sectorDirs = new Set();
    for (const { path } of entries) {
      const slash = path.lastIndexOf('/');
      const dir = path.slice(0, Math.max(slash, 0));
      if (slash > 0 && isDataFile(path) && !/(^|\/)map$/i.test(dir)) sectorDirs.add(dir);
    }
    if (sectorDirs.size === 0) {
      const roots = [...new Set(entries.map(({ path }) => path.split('/')[0]))];
      const shown = roots.length ? roots.join(', ') : 'The folder';
      throw new InputProblem(`${shown}: this folder has no .dat file: choose the sector's folder, ` +
          'the one holding map/.');
    }
    const sectors = [];
    for (const dir of [...sectorDirs].sort()) {
      const files = new Map();
      for (const { path, file } of entries) {
        if (!path.startsWith(dir + '/')) continue;
        const relative = path.slice(dir.length + 1);
        const inMap = /^map\//i.test(relative);
        if (!inMap && (relative.includes('/') || !isDataFile(relative))) continue;
        files.set(relative, await readChecked(file, path));
      }
      sectors.push({ name: dir.slice(dir.lastIndexOf('/') + 1), origin: 'folder', files });
    }
    return sectors;
  }

  // Pairs each published sector file with its metadata: the .xml of the
  // same name, or the only .xml when one sector file was given.
  function pairPublished(files) {
    const metadata = files.filter((file) => isMetadata(file.name));
    const sectorFiles = files.filter((file) => !isMetadata(file.name));
    if (sectorFiles.length === 0) {
      throw new InputProblem(`${metadata.map((f) => f.name).join(', ')}: XML metadata alone is not ` +
          'a sector: choose the published sector file too (.tab, .sec or .txt).');
    }
    return sectorFiles.map((file) => {
      const sameName = metadata.find((m) => baseName(m.name).toLowerCase() ===
                                            baseName(file.name).toLowerCase());
      const only = sectorFiles.length === 1 && metadata.length === 1 ? metadata[0] : null;
      return { file, metadata: sameName || only };
    });
  }

  // Imports one published file as torvane-import does, into a sector named
  // after the file.
  async function importPublished({ file, metadata }) {
    // The files lie in the working directory, so that the messages name
    // them as the user knows them.
    let name = baseName(file.name) || 'sector';
    if (name === file.name || (metadata && name === metadata.name)) name += '-sector';
    const files = new Map([[file.name, await readChecked(file, file.name)]]);
    const args = [file.name];
    if (metadata) {
      files.set(metadata.name, await readChecked(metadata, metadata.name));
      args.push(metadata.name);
    }
    args.push(name);
    const run = await runProgram(window.createTorvaneImport, args, files);
    appendMessages(commandText('torvane-import', args), run.output);
    const written = run.fs.analyzePath(kWorkDir + '/' + name).exists
        ? readTree(run.fs, kWorkDir + '/' + name) : new Map();
    if (run.status !== 0 || written.size === 0) {
      throw new InputProblem(`${file.name} could not be imported: it is not a published sector ` +
          'file that torvane-import can read (see the messages).');
    }
    return { name, origin: 'imported from ' + file.name, files: written };
  }

  // The files of a dropped folder, recursively, by their paths.
  async function entriesOf(entry, into) {
    if (entry.isFile) {
      const file = await new Promise((resolve, reject) => entry.file(resolve, reject));
      into.push({ path: entry.fullPath.replace(/^\//, ''), file });
      return;
    }
    const reader = entry.createReader();
    for (;;) {
      const batch = await new Promise((resolve, reject) => reader.readEntries(resolve, reject));
      if (batch.length === 0) break;
      for (const child of batch) await entriesOf(child, into);
    }
  }

  // ---- The sector list ------------------------------------------------

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
      remove.textContent = '×';
      remove.setAttribute('aria-label', 'Remove ' + sector.name);
      remove.addEventListener('click', () => {
        state.sectors.delete(sector.name);
        renderSectors();
      });
      item.append(label, remove);
      list.append(item);
    }
    $('convert').disabled = state.sectors.size === 0;
    showCommand();
  }

  // Runs `work` on a user's input; whatever goes wrong is shown, and the
  // page stays ready for the next try.
  async function takeInput(work) {
    const problems = [];
    try {
      await work(problems);
    } catch (error) {
      problems.push(error instanceof InputProblem ? error.message
                                                  : 'The page could not read that: ' + error);
    }
    showInputProblems(problems);
  }

  async function takeFolders(entries) {
    await takeInput(async () => addSectors(await sectorsFromFolders(entries)));
  }

  async function takePublished(files) {
    await takeInput(async (problems) => {
      clearMessages();
      for (const pair of pairPublished(files)) {
        try {
          addSectors([await importPublished(pair)]);
        } catch (error) {
          if (!(error instanceof InputProblem)) throw error;
          problems.push(error.message);
        }
      }
    });
  }

  function loadExample() {
    const example = window.TorvaneExample;
    const files = new Map();
    for (const [path, base64] of Object.entries(example.files)) {
      files.set(path, Uint8Array.from(atob(base64), (c) => c.charCodeAt(0)));
    }
    showInputProblems([]);
    addSectors([{ name: example.name, origin: 'the example', files }]);
  }

  // ---- Options and the command line -----------------------------------

  function buildOptionControls() {
    const boxes = $('subsector-boxes');
    for (const letter of kSubsectorLetters) {
      const label = document.createElement('label');
      label.innerHTML = `<input type="checkbox" value="${letter}"> ${letter.toUpperCase()}`;
      label.title = 'Subsector ' + letter.toUpperCase();
      boxes.append(label);
    }
    const items = $('item-boxes');
    for (const [letter, name] of kItems) {
      const label = document.createElement('label');
      label.innerHTML = `<input type="checkbox" value="${letter}" checked> ${name} <code>-${letter}</code>`;
      items.append(label);
    }
    const setAll = (on) => {
      for (const box of boxes.querySelectorAll('input')) box.checked = on;
      showCommand();
    };
    $('subsectors-all').addEventListener('click', () => setAll(true));
    $('subsectors-none').addEventListener('click', () => setAll(false));
    $('options').addEventListener('input', showCommand);
    $('options').addEventListener('change', showCommand);
  }

  // The options as torvane reads them, before the sectors.
  function optionArguments() {
    const args = [];
    const letters = [...$('subsector-boxes').querySelectorAll('input:checked')].map((b) => b.value);
    if (letters.length === kSubsectorLetters.length) args.push('-s+');
    else if (letters.length > 0) args.push('-s' + letters.join(''));
    const hex = document.querySelector('input[name="hex-numbers"]:checked').value;
    if (hex !== 'o') args.push('-x' + hex);
    const date = $('date-text').value;
    if (date !== '') args.push('-y', date);
    for (const box of $('item-boxes').querySelectorAll('input')) {
      if (!box.checked) args.push(`-${box.value}-`);
    }
    const outputDir = outputDirectory();
    if (outputDir !== null) args.push('-d', outputDir);
    return args;
  }

  // The -d directory, or null for scripts beside the data files.
  function outputDirectory() {
    if (document.querySelector('input[name="output"]:checked').value !== 'dir') return null;
    return $('output-dir').value.trim().replace(/\\/g, '/').replace(/\/+$/, '');
  }

  function converterArguments() {
    return [...optionArguments(), ...state.sectors.keys()];
  }

  function showCommand() {
    const sectors = state.sectors.size ? [] : ['SECTOR'];
    $('command-line').textContent = commandText('torvane', [...converterArguments(), ...sectors]);
  }

  // ---- Converting -----------------------------------------------------

  function clearMessages() {
    $('messages').textContent = '';
    $('messages').hidden = true;
  }

  function appendMessages(command, output) {
    const box = $('messages');
    box.textContent += `> ${command}\n${output}`;
    box.hidden = false;
  }

  function summarize(text, failed) {
    const summary = $('result-summary');
    summary.textContent = text;
    summary.classList.toggle('failed', failed);
  }

  async function convert() {
    const outputDir = outputDirectory();
    if (outputDir !== null && (outputDir === '' || outputDir.startsWith('/') ||
                               outputDir.split('/').includes('..'))) {
      summarize('Name the output directory by a relative path, such as scripts.', true);
      return;
    }
    $('convert').disabled = true;
    summarize('Converting…', false);
    await new Promise((resolve) => setTimeout(resolve, 0));
    try {
      await convertSectors(outputDir);
    } catch (error) {
      summarize('The conversion stopped: ' + error, true);
    } finally {
      $('convert').disabled = state.sectors.size === 0;
    }
  }

  async function convertSectors(outputDir) {
    const args = converterArguments();
    const files = new Map();
    for (const sector of state.sectors.values()) {
      for (const [path, bytes] of sector.files) files.set(sector.name + '/' + path, bytes);
    }
    clearMessages();
    const run = await runProgram(window.createTorvane, args, files,
                                 outputDir === null ? [] : [outputDir]);
    appendMessages(commandText('torvane', args), run.output);
    const scripts = [];
    for (const [path, bytes] of readTree(run.fs, kWorkDir)) {
      if (!files.has(path) && /\.scr$/i.test(path)) scripts.push({ path, bytes });
    }
    scripts.sort((a, b) => (a.path < b.path ? -1 : 1));
    state.result = { sectors: new Map(state.sectors), scripts, pictures: new Map() };

    const missing = [...state.sectors.keys()].filter(
        (name) => !scripts.some((s) => baseName(s.path).toLowerCase() === name.toLowerCase()));
    const errors = run.status === null ? null : Math.max(0, -run.status);
    let text = `${scripts.length} script${scripts.length === 1 ? '' : 's'} written`;
    if (errors === null) text += '; the converter stopped short';
    else text += errors ? `; ${errors} error${errors === 1 ? '' : 's'} (exit status ${run.status})`
                        : ', no errors';
    if (missing.length) text += `. No sector script for ${missing.join(', ')}: see the messages`;
    summarize(text + '.', errors !== 0);
    await showResult();
  }

  // ---- The result: pictures, downloads, what the drawing needs --------

  // The sector a script belongs to, and the subsector letter of a
  // subsector script ('' for the sector's own).
  function scriptOwner(path) {
    const name = baseName(path);
    for (const sector of state.result.sectors.keys()) {
      if (name.toLowerCase() === sector.toLowerCase()) return { sector, letter: '' };
      if (name.length === sector.length + 1 &&
          name.slice(0, -1).toLowerCase() === sector.toLowerCase()) {
        return { sector, letter: name.slice(-1).toLowerCase() };
      }
    }
    return null;
  }

  // The sector's files under its name, with the map folder's real name.
  function sectorFiles(sectorName) {
    const sector = state.result.sectors.get(sectorName);
    const files = new Map();
    let mapDir = null;
    for (const [path, bytes] of sector.files) {
      files.set(sectorName + '/' + path, bytes);
      if (/^map\//i.test(path)) mapDir = sectorName + '/' + path.slice(0, 3);
    }
    return { files, mapDir };
  }

  async function picture(path) {
    if (state.result.pictures.has(path)) return state.result.pictures.get(path);
    const script = state.result.scripts.find((s) => s.path === path);
    const owner = scriptOwner(path);
    const args = [];
    let files = new Map();
    if (owner) {
      const sector = sectorFiles(owner.sector);
      files = sector.files;
      if (sector.mapDir) args.push('--worlds=' + sector.mapDir);
      if (owner.letter) args.push('--subsector=' + owner.letter);
    }
    files.set(path, script.bytes);
    args.push(path, 'picture.svg');
    const run = await runProgram(window.createTorvanePreview, args, files);
    const svg = run.status === 0 ? new TextDecoder().decode(run.fs.readFile(kWorkDir + '/picture.svg'))
                                 : null;
    const shown = { svg, problem: svg ? '' : run.output };
    state.result.pictures.set(path, shown);
    return shown;
  }

  async function showResult() {
    const { scripts } = state.result;
    for (const url of state.links) URL.revokeObjectURL(url);
    state.links = [];

    const choice = $('picture-choice');
    choice.replaceChildren();
    for (const { path } of scripts) {
      const owner = scriptOwner(path);
      const option = document.createElement('option');
      option.value = path;
      option.textContent = owner && owner.letter
          ? `${owner.sector}: subsector ${owner.letter.toUpperCase()} (${path})`
          : `${owner ? owner.sector : path}: the sector (${path})`;
      choice.append(option);
    }
    const any = scripts.length > 0;
    $('picture-tools').hidden = !any;
    $('picture').hidden = !any;
    $('downloads').hidden = !any;
    $('needs').hidden = !any;
    $('world-line').hidden = true;
    if (!any) return;

    const links = $('script-links');
    links.replaceChildren();
    for (const { path, bytes } of scripts) {
      const url = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
      state.links.push(url);
      const item = document.createElement('li');
      const link = document.createElement('a');
      link.href = url;
      link.download = path.replace(/^.*\//, '');
      link.textContent = path;
      item.append(link);
      links.append(item);
    }
    await showPicture(scripts[0].path);
    await showNeeds();
  }

  async function showNeeds() {
    const { scripts } = state.result;
    const files = new Map(scripts.map(({ path, bytes }) => [path, bytes]));
    const run = await runProgram(window.createTorvanePreview,
                                 ['--needs', ...scripts.map((s) => s.path)], files);
    const list = $('needs-list');
    list.replaceChildren();
    for (const line of run.output.split('\n')) {
      const colon = line.indexOf(':');
      if (colon < 0) continue;
      const term = document.createElement('dt');
      term.textContent = line.slice(0, colon);
      const names = document.createElement('dd');
      names.textContent = line.slice(colon + 1).trim() || '(none)';
      list.append(term, names);
    }
  }

  function downloadZip() {
    const entries = {};
    for (const { path, bytes } of state.result.scripts) entries[path] = bytes;
    const zipped = window.fflate.zipSync(entries, { level: 6 });
    const names = [...state.result.sectors.keys()];
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([zipped], { type: 'application/zip' }));
    link.download = (names.length === 1 ? names[0] : 'torvane') + '-scripts.zip';
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
  }

  // ---- The picture: zoom, pan, a world's line on hover or tap ---------

  const view = { svg: null, box: null, full: null, drag: null };

  async function showPicture(path) {
    const holder = $('picture');
    const shown = await picture(path);
    $('picture-choice').value = path;
    $('world-line').hidden = true;
    if (!shown.svg) {
      holder.textContent = 'No picture: ' + shown.problem;
      view.svg = null;
      return;
    }
    holder.innerHTML = shown.svg.replace(/^<\?xml[^>]*>\s*/, '');
    view.svg = holder.querySelector('svg');
    view.full = view.svg.getAttribute('viewBox').split(/[\s,]+/).map(Number);
    view.box = [...view.full];
    setBox();
  }

  function setBox() {
    if (view.svg) view.svg.setAttribute('viewBox', view.box.join(' '));
  }

  // Zooms by `factor` about a point of the map (the centre by default).
  function zoom(factor, point) {
    if (!view.svg) return;
    const [x, y, w, h] = view.box;
    const px = point ? point.x : x + w / 2;
    const py = point ? point.y : y + h / 2;
    const nw = Math.min(view.full[2] * 4, Math.max(view.full[2] / 40, w * factor));
    const scale = nw / w;
    view.box = [px - (px - x) * scale, py - (py - y) * scale, w * scale, h * scale];
    setBox();
  }

  function mapPoint(event) {
    const point = view.svg.createSVGPoint();
    point.x = event.clientX;
    point.y = event.clientY;
    return point.matrixTransform(view.svg.getScreenCTM().inverse());
  }

  function pan(dx, dy) {
    view.box[0] += dx;
    view.box[1] += dy;
    setBox();
  }

  function showWorld(target) {
    const world = target && target.closest ? target.closest('.world') : null;
    if (!world) return;
    const title = world.querySelector('title');
    const line = $('world-line');
    line.textContent = title ? title.textContent : '';
    line.hidden = false;
    for (const old of view.svg.querySelectorAll('.world.selected')) old.classList.remove('selected');
    world.classList.add('selected');
  }

  function wirePicture() {
    const holder = $('picture');
    holder.addEventListener('wheel', (event) => {
      if (!view.svg) return;
      event.preventDefault();
      zoom(event.deltaY < 0 ? 1 / 1.2 : 1.2, mapPoint(event));
    }, { passive: false });
    holder.addEventListener('pointerdown', (event) => {
      if (!view.svg) return;
      view.drag = { x: event.clientX, y: event.clientY, moved: false };
      holder.setPointerCapture(event.pointerId);
    });
    holder.addEventListener('pointermove', (event) => {
      if (!view.svg) return;
      if (!view.drag) {
        showWorld(event.target);
        return;
      }
      const scale = view.svg.getScreenCTM().a;
      const dx = event.clientX - view.drag.x;
      const dy = event.clientY - view.drag.y;
      if (Math.abs(dx) + Math.abs(dy) > 3) {
        view.drag.moved = true;
        holder.classList.add('dragging');
      }
      if (view.drag.moved) {
        pan(-dx / scale, -dy / scale);
        view.drag.x = event.clientX;
        view.drag.y = event.clientY;
      }
    });
    const endDrag = (event) => {
      if (view.drag && !view.drag.moved) {
        // A tap: the pointer capture hides what lies under it.
        holder.releasePointerCapture(event.pointerId);
        showWorld(document.elementFromPoint(event.clientX, event.clientY));
      }
      view.drag = null;
      holder.classList.remove('dragging');
    };
    holder.addEventListener('pointerup', endDrag);
    holder.addEventListener('pointercancel', () => { view.drag = null; });
    holder.addEventListener('keydown', (event) => {
      if (!view.svg) return;
      const step = view.box[2] / 10;
      const keys = {
        '+': () => zoom(1 / 1.2), '=': () => zoom(1 / 1.2), '-': () => zoom(1.2),
        '0': () => { view.box = [...view.full]; setBox(); },
        ArrowLeft: () => pan(-step, 0), ArrowRight: () => pan(step, 0),
        ArrowUp: () => pan(0, -step), ArrowDown: () => pan(0, step),
      };
      if (keys[event.key]) {
        event.preventDefault();
        keys[event.key]();
      }
    });
    $('zoom-in').addEventListener('click', () => zoom(1 / 1.5));
    $('zoom-out').addEventListener('click', () => zoom(1.5));
    $('zoom-fit').addEventListener('click', () => { view.box = [...view.full]; setBox(); });
    $('picture-choice').addEventListener('change', (event) => showPicture(event.target.value));
  }

  // ---- Input by button and by drop -----------------------------------

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

  document.addEventListener('DOMContentLoaded', () => {
    buildOptionControls();
    wireInput();
    wirePicture();
    $('convert').addEventListener('click', convert);
    $('download-zip').addEventListener('click', downloadZip);
    renderSectors();
  });
})();
