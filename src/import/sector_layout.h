// Lays an imported sector out as the files of a torvane sector directory:
// the data file with the title and subsector index, and the sixteen map
// files with route lines and world lines in fixed columns. Nothing is
// written here; the texts are built whole in memory first.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "import/import_log.h"
#include "import/imported_sector.h"
#include "import/map_encoding.h"

namespace torvane {

// One file of the laid-out sector: where it goes and what it holds.
struct LaidOutFile {
  std::string path;  // relative to the sector directory: "<name>.dat", "map/SUBA.DAT"
  std::string text;
};

struct LayoutCounts {
  int world_lines_read = 0;  // lines of the sector file taken for world lines
  int worlds = 0;            // world lines written
  int changed = 0;           // of those, written with a value changed
  int skipped = 0;           // world lines reported and left out
  int routes = 0;
  int routes_outside = 0;          // wholly outside the sector, left out
  std::vector<int> written_lines;  // the source line of each world line written
};

// `name` names the sector directory; `source` says where the data came from
// (for the credit line of the data file).
std::vector<LaidOutFile> LayOutSector(const ImportedSector& sector, std::string_view name,
                                      std::string_view source, MapEncoding encoding,
                                      LayoutCounts& counts, ImportLog& log);

}  // namespace torvane
