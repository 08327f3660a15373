// How far a conversion has come, seen from the files it opens: each sector
// lies in a folder of its name, and the converter reads a sector's files
// before it writes that sector's scripts.

// Returns the function to call with each path opened (relative to the
// working directory). It calls `report({ sector, number, count })` when the
// run first opens a file of another of `sectorNames`: `number` sectors
// begun of `count`.
export function sectorProgress(sectorNames, report) {
  const sectors = new Set(sectorNames);
  const begun = new Set();
  let current = null;
  return (path) => {
    const slash = path.indexOf('/');
    const sector = slash > 0 ? path.slice(0, slash) : null;
    if (sector === current || !sectors.has(sector)) return;
    current = sector;
    begun.add(sector);
    report({ sector, number: begun.size, count: sectors.size });
  };
}
