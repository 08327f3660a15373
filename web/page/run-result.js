// What a conversion's result says: which sector (and subsector) each script
// draws, the one-line summary, the names the downloads take, and the
// previewer's command for a picture.
import { kSubsectorLetters } from './command-line.js';

// The sector that a script at `path` belongs to, and the subsector letter of
// a subsector script ('' for the sector's own); null for neither. `sectors`
// holds, by each sector's name, where the converter writes its scripts
// (scripts: the sector's own, then subsectors A to P). A sector's own
// script wins over another's subsector ("lyraB" is sector lyraB's when
// there is one).
export function scriptOwner(path, sectors) {
  const entries = Object.entries(sectors);
  const own = entries.find(([, { scripts }]) => scripts[0] === path);
  if (own) return { sector: own[0], letter: '' };
  for (const [sector, { scripts }] of entries) {
    const index = scripts.indexOf(path, 1);
    if (index > 0) return { sector, letter: kSubsectorLetters[index - 1] };
  }
  return null;
}

// The summary of a run that wrote `scriptPaths` for `sectors` (as for
// scriptOwner) and exited with `status` (null when it stopped short): {
// text, failed }.
export function summary(status, scriptPaths, sectors) {
  const count = scriptPaths.length;
  let text = `${count} script${count === 1 ? '' : 's'} written`;
  const errors = status === null ? null : Math.max(0, -status);
  if (errors === null) text += '; the converter stopped short';
  else if (errors) text += `; ${errors} error${errors === 1 ? '' : 's'} (exit status ${status})`;
  else text += ', no errors';
  const missing = Object.keys(sectors).filter((sector) =>
    !scriptPaths.includes(sectors[sector].scripts[0]));
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
