// The page's side of its worker (worker/worker-main.js): starts the worker
// from its code as text (a page opened from disk may load a worker only
// from a blob: address), sends it jobs and takes their answers. Cancel ends
// the worker with every job it had; the next job starts another.

export class Cancelled extends Error {}

// The Blob of one file that a run wrote.
export const blobOf = ({ blob, start, end }) => blob.slice(start, end);

// `source` is the worker's code.
export function makeEngine(source) {
  let worker = null;
  let address = null;
  let nextId = 1;
  const jobs = new Map();  // id -> { resolve, reject, progress }

  function stop(error) {
    if (worker) worker.terminate();
    if (address) URL.revokeObjectURL(address);
    worker = address = null;
    for (const job of jobs.values()) job.reject(error);
    jobs.clear();
  }

  function start() {
    if (worker) return;
    address = URL.createObjectURL(new Blob([source], { type: 'text/javascript' }));
    worker = new Worker(address);
    worker.onmessage = ({ data }) => {
      const job = jobs.get(data.id);
      if (!job) return;
      if ('progress' in data) {
        if (job.progress) job.progress(data.progress);
        return;
      }
      jobs.delete(data.id);
      if ('error' in data) job.reject(new Error(data.error));
      else job.resolve(data.result);
    };
    worker.onerror = (event) => {
      event.preventDefault();
      stop(new Error('the page\'s worker failed: ' + (event.message || 'no reason given')));
    };
  }

  function send(message, progress) {
    start();
    const id = nextId++;
    return new Promise((resolve, reject) => {
      jobs.set(id, { resolve, reject, progress });
      worker.postMessage({ id, ...message });
    });
  }

  return {
    // Starts the worker, so that its module is ready when the user is.
    start,
    // Runs `program` with `args` on `files` ([path, bytes] pairs: a
    // Uint8Array, a Blob or a part), after making `directories`; with
    // `watchSectors`, calls `progress` with { sector, number, count } as
    // the run begins each of them; with `describe` ({ dirs, outputDir }),
    // asks what the converter makes of each folder of `dirs`. Resolves to {
    // status, output, written: [path, part] pairs, sectors: dir -> {
    // dataFile, mapFolder, scripts }, times }: a part is { blob, start, end
    // }, the file's bytes in a Blob the run's files share (see blobOf).
    run(program, args, { files = [], directories = [], watchSectors, describe, progress } = {}) {
      return send({ job: 'run', program, args, files, directories, watchSectors, describe },
                  progress);
    },
    // Resolves to what the programs make of the files at `paths`: {
    // largestInput (bytes), sectors: [{ dir, dataFile, mapFolder }] }.
    folders(paths) {
      return send({ job: 'folders', paths });
    },
    // Resolves to the sector directories torvane-import makes of the
    // published files named `names`: { sectors: [{ directory, sectorFiles,
    // metadataFiles }], loneMetadata }.
    published(names) {
      return send({ job: 'published', names });
    },
    // Resolves to a zip (a Blob) of `files`, [path, bytes] pairs as for run.
    zip(files) {
      return send({ job: 'zip', files });
    },
    // Stops whatever runs: its jobs reject with Cancelled.
    cancel() {
      stop(new Cancelled('cancelled'));
    },
  };
}
