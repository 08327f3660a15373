// Published sector files and their XML metadata, as the user chose them
// together: the torvane-import command that turns each sector's files into
// a sector directory. Which files make which sector is torvane-import's
// own rule, asked of the programs (the engine's published()).
import { InputProblem } from './input-problem.js';

// The commands for the sectors `found` (as the engine's published() gives
// them): { commands: [{ sector, sectorFiles, files, args }], leftOut }. Each command
// names the files it reads and the directory `sector` it writes; the files
// lie in the working directory, so that the messages name them as the user
// knows them. A sector published in several formats is imported as
// torvane-import imports a folder, which takes the richest and names the
// others. leftOut is a plain-words line for metadata that no sector file
// takes, or null.
export function importCommands(found) {
  const names = (list) => list.join(', ');
  if (found.sectors.length === 0) {
    throw new InputProblem(`${names(found.loneMetadata)}: XML metadata alone is not a sector: ` +
        'choose the published sector file too (.tab, .sec or .txt).');
  }
  const commands = found.sectors.map(({ directory, sectorFiles, metadataFiles }) => {
    const files = [...sectorFiles, ...metadataFiles];
    const single = sectorFiles.length === 1 && metadataFiles.length <= 1;
    return { sector: directory, sectorFiles, files,
             args: single ? [...files, directory] : [...files, '.'] };
  });
  const leftOut = found.loneMetadata.length === 0 ? null :
    `${names(found.loneMetadata)}: no sector file of the same name was chosen, so this ` +
    'metadata is left out. Choose it together with its sector file.';
  return { commands, leftOut };
}
