// The files of one run, held by the programs' own in-memory host inside the
// module: the page's inputs handed in before the run, the files it wrote
// taken out after. The one part of the page that knows that host's
// interface (the torvane_page_* functions of src/page/page_files.cc).

function addFile(module, path, bytes) {
  const buffer = module._torvane_page_buffer(bytes.length);
  module.HEAPU8.set(bytes, buffer);
  if (!module.ccall('torvane_page_add_file', 'number', ['string', 'number', 'number'],
                    [path, buffer, bytes.length])) {
    throw new Error(`not a new file's path: ${path}`);
  }
}

// Hands `files` ([path, bytes] pairs, paths relative to the programs'
// working directory) and the empty `directories` to `module`.
export function handIn(module, files, directories = []) {
  for (const [path, bytes] of files) addFile(module, path, bytes);
  for (const dir of directories) {
    if (!module.ccall('torvane_page_add_directory', 'number', ['string'], [dir])) {
      throw new Error(`not a folder's path: ${dir}`);
    }
  }
}

// Calls `seen(path)` with each path the programs open for reading.
export function watchOpens(module, seen) {
  module.onOpened = seen;
  module._torvane_page_watch_opens();
}

// The files the programs wrote, [path, bytes] in path order. The bytes are
// the module's own memory, not a copy: nothing runs in the module after
// the run, so nothing moves them.
export function takeOut(module) {
  const written = [];
  const count = module._torvane_page_written_count();
  for (let i = 0; i < count; i++) {
    const start = module._torvane_page_written_bytes(i);
    const size = module._torvane_page_written_size(i);
    written.push([module.UTF8ToString(module._torvane_page_written_path(i)),
                  module.HEAPU8.subarray(start, start + size)]);
  }
  return written;
}

// What the converter makes of the folder `dir` (see torvane_page_sector):
// { dataFile, mapFolder, scripts }.
export function sectorOf(module, dir, outputDir = '') {
  return JSON.parse(module.ccall('torvane_page_sector', 'string', ['string', 'string'],
                                 [dir, outputDir]));
}

// The sector directories torvane-import makes of the published files
// `names` (see torvane_page_published): { sectors: [{ directory,
// sectorFiles, metadataFiles }], loneMetadata }.
export function publishedSectors(module, names) {
  return JSON.parse(module.ccall('torvane_page_published', 'string', ['string'],
                                 [names.join('\n')]));
}

// The largest file the programs read, in bytes.
export const largestInput = (module) => module._torvane_page_largest_input();
