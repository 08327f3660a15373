// A world or a route of the imported sector fitted into one line of a map
// file: each field in torvane's fixed columns, and a route's offsets to the
// subsector it ends in.
#pragma once

#include <string>

#include "import/import_log.h"
#include "import/imported_sector.h"
#include "import/map_encoding.h"

namespace torvane {

// The world line in torvane's columns (trailing blanks trimmed), its texts
// in `encoding`.
std::string WorldLine(const ImportedWorld& world, CodeStyle codes, ImportLog& log,
                      MapEncoding encoding = MapEncoding::kWindows1252);

// The comment line that names the columns of the world lines.
std::string ColumnHeader();

// A route line "$SSSS EEEE dx dy K" and the subsector whose file holds it.
struct PlacedRoute {
  enum Fit { kPlaced, kOutside, kLeftOut } fit = kLeftOut;
  int subsector = -1;
  std::string line;
};
PlacedRoute PlaceRoute(const ImportedRoute& route, ImportLog& log);

}  // namespace torvane
