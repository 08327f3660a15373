// The converter's command line from the page's options: every control is
// an option of torvane under its own name, and the page shows the command
// that does the same.

export const kSubsectorLetters = 'abcdefghijklmnop';
// The items a user can leave off the map: letter, what it draws.
export const kItems = [
  ['a', 'allegiance'], ['b', 'base symbols'], ['g', 'gas giants'], ['n', 'world names'],
  ['p', 'ports'], ['t', 'trade routes'], ['z', 'zones'],
];

// An argument as a command line shows it: quoted where it holds a space or
// a character a shell reads.
export function quoted(argument) {
  if (argument !== '' && !/[\s"'`$&|<>^%!;()*?\\]/.test(argument)) return argument;
  return '"' + argument.replace(/(["\\$`])/g, '\\$1') + '"';
}

export function commandText(program, args) {
  return [program, ...args].map(quoted).join(' ');
}

// The options as torvane reads them, before the sectors. `options` is
// { subsectors: letters ticked, hexNumbers: 'o', 'u', 'n' or 'a', date: text,
// itemsOff: letters, outputDir: a directory or null for beside the data }.
export function optionArguments({ subsectors, hexNumbers, date, itemsOff, outputDir }) {
  const args = [];
  const letters = [...kSubsectorLetters].filter((letter) => subsectors.includes(letter));
  if (letters.length === kSubsectorLetters.length) args.push('-s+');
  else if (letters.length > 0) args.push('-s' + letters.join(''));
  if (hexNumbers !== 'o') args.push('-x' + hexNumbers);
  if (date !== '') args.push('-y', date);
  for (const [letter] of kItems) if (itemsOff.includes(letter)) args.push(`-${letter}-`);
  if (outputDir !== null) args.push('-d', outputDir);
  return args;
}

// The -d directory as the user typed it, made a path of the page's working
// directory: "\" read as "/", no trailing separator.
export function outputDirectory(typed) {
  return typed.trim().replace(/\\/g, '/').replace(/\/+$/, '');
}

// Why `outputDir` cannot be used, or '' when it can: scripts go into the
// page's own working directory, so the path must stay inside it.
export function outputDirectoryProblem(outputDir) {
  if (outputDir === null) return '';
  if (outputDir === '' || outputDir.startsWith('/') || /^[a-z]:/i.test(outputDir) ||
      outputDir.split('/').includes('..')) {
    return 'Name the output directory by a relative path, such as scripts.';
  }
  return '';
}
