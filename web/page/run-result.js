// What a conversion's result says: which sector (and subsector) each script
// draws, the one-line summary, the names the downloads take, and the
// previewer's command for a picture.
import { kSubsectorLetters } from './command-line.js';
import { baseName } from './published-pairs.js';

// The sector among `sectorNames` that a script belongs to, and the subsector
// letter of a subsector script ('' for the sector's own); null for neither.
// A sector's own script wins over another's subsector ("lyraB" is sector
// lyraB's when there is one).
export function scriptOwner(path, sectorNames) {
  const name = baseName(path).toLowerCase();
  const own = sectorNames.find((sector) => sector.toLowerCase() === name);
  if (own !== undefined) return { sector: own, letter: '' };
  const letter = name.slice(-1);
  const sector = sectorNames.find((s) => s.toLowerCase() === name.slice(0, -1));
  return sector !== undefined && kSubsectorLetters.includes(letter) ? { sector, letter } : null;
}

// The summary of a run that wrote `scriptPaths` for `sectorNames` and
// exited with `status` (null when it stopped short): { text, failed }.
export function summary(status, scriptPaths, sectorNames) {
  const count = scriptPaths.length;
  let text = `${count} script${count === 1 ? '' : 's'} written`;
  const errors = status === null ? null : Math.max(0, -status);
  if (errors === null) text += '; the converter stopped short';
  else if (errors) text += `; ${errors} error${errors === 1 ? '' : 's'} (exit status ${status})`;
  else text += ', no errors';
  const missing = sectorNames.filter((sector) =>
    !scriptPaths.some((path) => baseName(path).toLowerCase() === sector.toLowerCase()));
  if (missing.length) text += `. No sector script for ${missing.join(', ')}: see the messages`;
  return { text: text + '.', failed: errors !== 0 };
}

// The zip of a run's scripts, each under the path the run wrote it at (as a
// command line run in the folder holding the sectors writes them), is named
// after its one sector, else after torvane.
export function zipName(sectorNames) {
  return (sectorNames.length === 1 ? sectorNames[0] : 'torvane') + '-scripts.zip';
}

// A script downloaded on its own takes its file's name.
export const downloadName = (path) => path.replace(/^.*\//, '');

// torvane-preview's arguments for the picture of the script at `path`, with
// the worlds of its sector (whose map folder is `mapDir`, or null) as
// targets: the sector's whole map, or one subsector's.
export function previewArguments(path, owner, mapDir) {
  const args = [];
  if (owner && mapDir) args.push('--worlds=' + mapDir);
  if (owner && owner.letter) args.push('--subsector=' + owner.letter);
  args.push(path, 'picture.svg');
  return args;
}

// The map folder of sector `name` whose files lie at `paths` (relative to
// the sector's folder), as it is spelled there; null when it has none.
export function mapFolder(name, paths) {
  const inMap = paths.find((path) => /^map\//i.test(path));
  return inMap === undefined ? null : name + '/' + inMap.slice(0, 3);
}
