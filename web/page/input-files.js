// Reading what the user gives: chosen or dropped folders as sectors, and
// the checks every file passes before a program sees it.
import { InputProblem } from './input-problem.js';

// Real sector files and scripts are far under 1 MiB.
export const kMaxInputBytes = 16 * 1024 * 1024;

const mebibytes = (bytes) => (bytes / (1024 * 1024)).toFixed(1) + ' MiB';
const bytesText = (bytes) => bytes.toLocaleString('en-US') + ' bytes';

// The bytes of `file` (a File or Blob), refused when too large or binary.
export async function readChecked(file, shownName) {
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

// The sectors among the paths of chosen or dropped folders (each starting
// with its folder's name): { dir, name, files: [[relative path, path]] }.
// A sector is a folder holding a .dat file, other than a map folder (whose
// map files end in .DAT too); it keeps its .dat files and its map folder.
export function sectorFolders(paths) {
  const dirs = new Set();
  for (const path of paths) {
    const slash = path.lastIndexOf('/');
    const dir = path.slice(0, Math.max(slash, 0));
    if (slash > 0 && isDataFile(path) && !/(^|\/)map$/i.test(dir)) dirs.add(dir);
  }
  if (dirs.size === 0) {
    const roots = [...new Set(paths.map((path) => path.split('/')[0]))];
    const shown = roots.length ? roots.join(', ') : 'The folder';
    throw new InputProblem(`${shown}: this folder has no .dat file: choose the sector's folder, ` +
        'the one holding map/.');
  }
  return [...dirs].sort().map((dir) => {
    const files = [];
    for (const path of paths) {
      if (!path.startsWith(dir + '/')) continue;
      const relative = path.slice(dir.length + 1);
      const inMap = /^map\//i.test(relative);
      if (inMap || (!relative.includes('/') && isDataFile(relative))) files.push([relative, path]);
    }
    return { dir, name: dir.slice(dir.lastIndexOf('/') + 1), files };
  });
}

// Sectors from folders' files ({ path, file }): { name, origin, files: Map
// (relative path -> bytes) }.
export async function sectorsFromFolders(entries) {
  const byPath = new Map(entries.map(({ path, file }) => [path, file]));
  const sectors = [];
  for (const { name, files } of sectorFolders(entries.map(({ path }) => path))) {
    const read = new Map();
    for (const [relative, path] of files) read.set(relative, await readChecked(byPath.get(path), path));
    sectors.push({ name, origin: 'folder', files: read });
  }
  return sectors;
}

// The files of a dropped folder, recursively, as { path, file }.
export async function entriesOf(entry, into) {
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
