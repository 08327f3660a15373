// Reading what the user gives: chosen or dropped folders as sectors, and
// the checks every file passes before a program sees it.
import { InputProblem } from './input-problem.js';

const mebibytes = (bytes) => (bytes / (1024 * 1024)).toFixed(1) + ' MiB';
const bytesText = (bytes) => bytes.toLocaleString('en-US') + ' bytes';

// The bytes of `file` (a File or Blob), refused when larger than `limit`
// (the programs' largest input, from the engine) or binary.
export async function readChecked(file, shownName, limit) {
  if (file.size > limit) {
    throw new InputProblem(`${shownName} is ${mebibytes(file.size)} (${bytesText(file.size)}): ` +
        'sector files and maps are far smaller, and the page reads no file over ' +
        `${mebibytes(limit).replace('.0 ', ' ')} (${bytesText(limit)}).`);
  }
  const bytes = new Uint8Array(await file.arrayBuffer());
  if (bytes.includes(0)) {
    throw new InputProblem(`${shownName} is a binary file, not sector data: ` +
        'choose the sector\'s folder, or a published sector file (text).');
  }
  return bytes;
}

// The folders the user chose or dropped: the first names of the paths.
const chosenFolders = (paths) => [...new Set(paths.map((path) => path.split('/')[0]))];

function noSectorIn(folders) {
  const shown = folders.length ? folders.join(', ') : 'The folder';
  const example = folders.length ? `${folders[0]}/${folders[0]}.dat` : 'NAME/NAME.dat';
  return `${shown}: no sector here: a sector's folder holds a data file of its own name ` +
      `(such as ${example}) beside its map/ folder. Choose that folder.`;
}

// In plain words, which of the folders chosen along with sectors (`found`,
// as for sectorFolders) hold none; null when each holds one.
export function foldersWithoutSector(paths, found) {
  const without = chosenFolders(paths).filter((folder) => !found.some(({ dir }) =>
    dir === folder || dir.startsWith(folder + '/')));
  return without.length ? noSectorIn(without) : null;
}

// The sectors among the paths of chosen or dropped folders (each starting
// with its folder's name), as the programs found them (`found`: [{ dir,
// dataFile, mapFolder }], see the engine's folders()): { dir, name, files:
// [[relative path, path]] }, the files being those the converter reads,
// the data file and the map folder's.
export function sectorFolders(paths, found) {
  if (found.length === 0) throw new InputProblem(noSectorIn(chosenFolders(paths)));
  return found.map(({ dir, dataFile, mapFolder }) => {
    const files = [[dataFile.slice(dir.length + 1), dataFile]];
    if (mapFolder !== null) {
      for (const path of paths) {
        if (path.startsWith(mapFolder + '/')) files.push([path.slice(dir.length + 1), path]);
      }
    }
    return { dir, name: dir.slice(dir.lastIndexOf('/') + 1), files };
  });
}

// What stops a folder the converter takes for a sector from being one, in
// plain words; null when nothing does. `sector` is as sectorFolders gives
// it, `dataBytes` its data file's length.
export function folderProblem({ dir, name, files }, hasMapFolder, dataBytes) {
  const dataFile = files[0][0];
  if (dataBytes === 0) {
    return `${dir}: its data file ${dataFile} is empty, so it names no sector. ` +
        'Choose the folder again once Starfold has saved the sector.';
  }
  if (!hasMapFolder) {
    return `${dir}: ${dataFile} is here, but not the map/ folder with the subsector files ` +
        `(map/SUBA.DAT and so on), so every map of ${name} would be empty. ` +
        'Choose the sector\'s whole folder.';
  }
  return null;
}

// Sectors from folders' files ({ path, file }), as `engine` finds them: {
// sectors: [{ name, origin, files: Map (relative path -> bytes) }],
// problems: what kept a folder out, in plain words }.
export async function sectorsFromFolders(entries, engine) {
  const byPath = new Map(entries.map(({ path, file }) => [path, file]));
  const paths = entries.map(({ path }) => path);
  const { largestInput, sectors: found } = await engine.folders(paths);
  const sectors = [];
  const problems = [];
  const folders = sectorFolders(paths, found);
  const without = foldersWithoutSector(paths, found);
  if (without) problems.push(without);
  for (const [i, folder] of folders.entries()) {
    const read = new Map();
    for (const [relative, path] of folder.files) {
      read.set(relative, await readChecked(byPath.get(path), path, largestInput));
    }
    const problem = folderProblem(folder, found[i].mapFolder !== null,
                                  read.get(folder.files[0][0]).length);
    if (problem) problems.push(problem);
    else sectors.push({ name: folder.name, origin: 'folder', files: read });
  }
  return { sectors, problems };
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
