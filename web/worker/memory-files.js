// The files of one run, held in the module's in-memory file system: the
// page's inputs handed in before the run, the files it wrote taken out
// after. The one part of the page that knows that file system (emscripten's
// MEMFS today): the programs see a working directory holding the inputs.
//
// The files go in and come out as MEMFS's own nodes, not through its paths:
// looking up, opening and copying each of a campaign's thousand files that
// way costs more than converting them. A MEMFS node holds a directory's
// entries or a file's bytes (the first usedBytes of contents).

const kWorkDir = '/work';
const kFileMode = 0o100666;
const kDirectoryMode = 0o40777;

// The directory node at `path` (relative, "/" between names) below `root`,
// made where missing; `made` remembers the nodes by path.
function directoryNode(root, path, made) {
  let node = root;
  let sofar = '';
  for (const name of path.split('/')) {
    if (name === '' || name === '.' || name === '..') throw new Error(`not a file's path: ${path}`);
    sofar += '/' + name;
    let next = made.get(sofar);
    if (!next) {
      next = node.contents[name] || node.node_ops.mknod(node, name, kDirectoryMode, 0);
      made.set(sofar, next);
    }
    node = next;
  }
  return node;
}

// Every file under the directory `node`, by its path below it. The bytes
// are the file's own, not a copy: the instance ends with the run.
function filesUnder(fs, node, prefix, into) {
  for (const [name, child] of Object.entries(node.contents)) {
    if (fs.isDir(child.mode)) filesUnder(fs, child, prefix + name + '/', into);
    else into.push([prefix + name, child.contents ? child.contents.subarray(0, child.usedBytes)
                                                   : new Uint8Array(0)]);
  }
  return into;
}

// A working directory in `fs` (the module's FS) holding `files` ([path,
// bytes] pairs, paths relative to it) and the empty `directories`. The file
// system keeps the bytes themselves, which the caller hands over: no
// program writes to its inputs.
export function openWorkDir(fs, files, directories = []) {
  fs.mkdir(kWorkDir);
  fs.chdir(kWorkDir);
  const root = fs.lookupPath(kWorkDir).node;
  const made = new Map();
  const given = new Set();
  for (const [path, bytes] of files) {
    const slash = path.lastIndexOf('/');
    const dir = slash < 0 ? root : directoryNode(root, path.slice(0, slash), made);
    const name = path.slice(slash + 1);
    if (name === '' || name === '.' || name === '..' || name in dir.contents) {
      throw new Error(`not a new file's path: ${path}`);
    }
    const node = dir.node_ops.mknod(dir, name, kFileMode, 0);
    node.contents = bytes;
    node.usedBytes = bytes.length;
    given.add(path);
  }
  for (const dir of directories) directoryNode(root, dir, made);
  return {
    // Calls `seen(path)` with each path the program opens, relative to the
    // working directory.
    watchOpens(seen) {
      const open = fs.open;
      fs.open = (path, ...rest) => {
        if (typeof path === 'string') {
          seen(path.startsWith(kWorkDir + '/') ? path.slice(kWorkDir.length + 1) : path);
        }
        return open(path, ...rest);
      };
    },
    // The files the program wrote, [path, bytes] in path order.
    written() {
      return filesUnder(fs, root, '', []).filter(([path]) => !given.has(path))
          .sort(([a], [b]) => (a < b ? -1 : a > b ? 1 : 0));
    },
  };
}
