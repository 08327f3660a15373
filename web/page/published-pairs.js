// Published sector files and their XML metadata, as the user chose them
// together: which metadata belongs to which sector file, and the
// torvane-import command that turns each pair into a sector directory.
import { InputProblem } from './input-problem.js';

const isMetadata = (name) => /\.xml$/i.test(name);
// A file's name without its folder and its extension.
export const baseName = (name) => name.replace(/^.*\//, '').replace(/\.[^.]*$/, '');

// Pairs each published sector file with its metadata: the .xml of the same
// name, else the only .xml when one sector file was given. `files` have a
// `name`; each pair is { file, metadata } (metadata may be null).
export function pairPublished(files) {
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
    return { file, metadata: sameName || only || null };
  });
}

// The sector directory a pair is imported into, named after the sector file
// (never the name of a file beside it), and torvane-import's arguments.
// The files lie in the working directory, so that the messages name them as
// the user knows them.
export function importCommand({ file, metadata }) {
  let sector = baseName(file.name) || 'sector';
  if (sector === file.name || (metadata && sector === metadata.name)) sector += '-sector';
  const args = metadata ? [file.name, metadata.name, sector] : [file.name, sector];
  return { sector, args };
}
