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
  return scriptOwners(sectors).get(path) || null;
}

// The owner of every script of `sectors` by its path, as scriptOwner gives
// it: a thousand scripts are looked up at once.
export function scriptOwners(sectors) {
  const owners = new Map();
  for (const [sector, { scripts }] of Object.entries(sectors)) {
    scripts.slice(1).forEach((path, i) => {
      if (!owners.has(path)) owners.set(path, { sector, letter: kSubsectorLetters[i] });
    });
  }
  // A sector's own script wins over any subsector's.
  for (const [sector, { scripts }] of Object.entries(sectors)) owners.set(scripts[0], { sector, letter: '' });
  return owners;
}

// Why a sector of a run did not convert cleanly, in plain words, from what
// the converter makes of it (`described`: { dataFile, mapFolder, scripts })
// and what the run did (`written`: a Set of the paths written); null when
// it did.
function sectorTrouble(described, written, printedErrors) {
  if (described.dataFile === null) return 'its data file is missing';
  if (described.mapFolder === null) return 'its map/ folder with the subsector files is missing';
  if (!written.has(described.scripts[0])) return 'no script was written for it';
  return printedErrors ? 'see its messages' : null;
}

// The summary of a run that wrote `scriptPaths` for `sectors` (as for
// scriptOwner), exited with `status` (null when it stopped short), and
// printed errors while converting the sectors `withErrors`: { text, failed,
// sectorsText }. The text counts scripts and errors; sectorsText, when the
// run failed, says which sectors converted cleanly and why the others did
// not (null when the run went wrong before any sector).
export function summary(status, scriptPaths, sectors, withErrors = []) {
  const count = scriptPaths.length;
  let text = `${count} script${count === 1 ? '' : 's'} written`;
  const errors = status === null ? null : Math.max(0, -status);
  // The exit status holds at most 255 errors.
  const many = errors >= 255 ? ' or more' : '';
  if (errors === null) text += '; the converter stopped short: see the messages';
  else if (errors) text += `; ${errors}${many} error${errors === 1 ? '' : 's'}: see the messages`;
  else text += ', no errors';
  const failed = errors !== 0;
  const names = Object.keys(sectors);
  const written = new Set(scriptPaths);
  const troubles = names.map((name) => [name, sectorTrouble(sectors[name], written,
                                                           withErrors.includes(name))])
      .filter(([, trouble]) => trouble !== null);
  let sectorsText = null;
  if (failed && names.length && (troubles.length || errors === null)) {
    const clean = names.length - troubles.length;
    sectorsText = `${clean} of ${names.length} sector${names.length === 1 ? '' : 's'} converted ` +
        'cleanly.' + troubles.map(([name, trouble]) => ` ${name} did not: ${trouble}.`).join('');
  }
  return { text: text + '.', failed, sectorsText };
}

// The zip of a run's scripts, each under the path the run wrote it at (as a
// command line run in the folder holding the sectors writes them), is named
// after its one sector, else after torvane.
export function zipName(sectorNames) {
  return (sectorNames.length === 1 ? sectorNames[0] : 'torvane') + '-scripts.zip';
}

// The drawing's needs (torvane-preview --needs) go in the zip as a text
// file beside the scripts, in the folder of the first.
export const needsPath = (scriptPath) => scriptPath.replace(/[^/]*$/, '') + 'drawing-needs.txt';

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
