// How far a conversion has come, seen from the files it opens: each sector
// lies in a folder of its name, and the converter reads a sector's files
// before it writes that sector's scripts.

// Returns the function to call with each path opened (relative to the
// working directory) and the number of lines the run has printed so far.
// It calls `report({ sector, number, count, printed })` when the run first
// opens a file of another of `sectorNames`: `number` sectors begun of
// `count`, `printed` lines printed before it.
export function sectorProgress(sectorNames, report) {
  const sectors = new Set(sectorNames);
  const begun = new Set();
  let current = null;
  return (path, printed = 0) => {
    const slash = path.indexOf('/');
    const sector = slash > 0 ? path.slice(0, slash) : null;
    if (sector === current || !sectors.has(sector)) return;
    current = sector;
    begun.add(sector);
    report({ sector, number: begun.size, count: sectors.size, printed });
  };
}

// The sectors among the `reports` of one run (as sectorProgress gave them,
// in order) that printed a line to the standard error while they were
// converted: `errorLines` holds those lines' indices.
export function sectorsWithErrors(reports, errorLines) {
  const troubled = new Set();
  reports.forEach(({ sector, printed }, i) => {
    const end = i + 1 < reports.length ? reports[i + 1].printed : Infinity;
    if (errorLines.some((line) => line >= printed && line < end)) troubled.add(sector);
  });
  return [...troubled];
}
