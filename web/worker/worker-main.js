// The page's worker: runs the programs and makes the zip off the page's
// thread, so that the page answers while they work. The page sends jobs,
// { id, job: 'run' | 'folders' | 'published' | 'zip', ... }; each is
// answered with { id, result } or { id, error }, and a run that watches
// sectors sends { id, progress } as it begins each. It starts from text the page holds (a blob: worker can load
// nothing from a file: page), with these beside its own code: the zip
// library (self.fflate), the module's factory (self.createTorvanePrograms)
// and the module's bytes, deflated, in base64 (self.TorvaneModule).
import { makeFolderReader, makeProgramRunner, makePublishedReader } from './program-runner.js';
import { sectorProgress, sectorsWithErrors } from './sector-progress.js';

function moduleBytes(base64) {
  const text = atob(base64);
  const deflated = new Uint8Array(text.length);
  for (let i = 0; i < text.length; i++) deflated[i] = text.charCodeAt(i);
  return self.fflate.inflateSync(deflated);
}

const compiled = WebAssembly.compile(moduleBytes(self.TorvaneModule));
const runner = compiled.then((module) => makeProgramRunner(self.createTorvanePrograms, module));
const folderReader = compiled.then((module) => makeFolderReader(self.createTorvanePrograms, module));
const publishedReader =
    compiled.then((module) => makePublishedReader(self.createTorvanePrograms, module));

// Files come as [path, bytes] pairs, the bytes a Uint8Array, a Blob, or a
// part of a Blob ({ blob, start, end }, as runs give them back), each Blob
// read once.
async function asBytes(files) {
  const read = new Map();
  const whole = (blob) => {
    if (!read.has(blob)) read.set(blob, blob.arrayBuffer().then((buffer) => new Uint8Array(buffer)));
    return read.get(blob);
  };
  return Promise.all(files.map(async ([path, bytes]) => {
    if (bytes instanceof Uint8Array) return [path, bytes];
    if (bytes instanceof Blob) return [path, await whole(bytes)];
    return [path, (await whole(bytes.blob)).subarray(bytes.start, bytes.end)];
  }));
}

// Runs `program`. What it wrote goes back in one Blob, each file a part of
// it: a thousand Blobs of their own cost the page a tenth of a second to
// receive.
async function run(id, { program, args, files, directories, watchSectors, describe }) {
  const runProgram = await runner;
  const reports = [];
  const opened = watchSectors ? sectorProgress(watchSectors, (progress) => {
    reports.push(progress);
    self.postMessage({ id, progress });
  }) : undefined;
  const result = await runProgram(program, args,
                                  { files: await asBytes(files), directories, opened, describe });
  // The Blob copies the bytes out of the instance's memory, which the
  // next run may then have.
  const blob = new Blob(result.written.map(([, bytes]) => bytes));
  result.release();
  let start = 0;
  const written = result.written.map(([path, bytes]) => {
    const part = { blob, start, end: start + bytes.length };
    start = part.end;
    return [path, part];
  });
  return { status: result.status, output: result.output, written, sectors: result.sectors,
           sectorsWithErrors: sectorsWithErrors(reports, result.errorLines), times: result.times };
}

async function folders(id, { paths }) {
  return (await folderReader)(paths);
}

async function published(id, { names }) {
  return (await publishedReader)(names);
}

async function zip(id, { files }) {
  const entries = {};
  for (const [path, bytes] of await asBytes(files)) entries[path] = bytes;
  return new Blob([self.fflate.zipSync(entries, { level: 6 })], { type: 'application/zip' });
}

const jobs = { run, zip, folders, published };

self.onmessage = async ({ data }) => {
  const { id, job } = data;
  try {
    self.postMessage({ id, result: await jobs[job](id, data) });
  } catch (error) {
    self.postMessage({ id, error: String(error && error.message ? error.message : error) });
  }
};
